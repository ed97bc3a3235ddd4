#pragma once
// The common dialogs as QFileDialog.

#include "platform/CommonDialogs.h"

class QtCommonDialogs final : public CommonDialogs {
public:
    QString openFile(const OpenFileRequest& request, QWidget* owner) override;
    QString openPicture(const OpenFileRequest& request, QWidget* owner) override;
};
