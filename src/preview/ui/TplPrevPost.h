#pragma once
// The program's one preview window, "plPrevPost": created hidden at start-up and found by
// the preview engines of both print forms through that name.

#include "preview/ui/TplPrevForm.h"

class TplPrevPost : public TplPrevForm {
    Q_OBJECT
public:
    explicit TplPrevPost(QWidget* parent = nullptr);
};
