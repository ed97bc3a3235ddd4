#pragma once
// Messages shown as QMessageBox: warnings and information with one OK button,
// questions with Yes/No or Yes/No/Cancel and the information icon. The box is owned by
// the active window and titled with the caption, or the application title "Tovalin".

#include "platform/Messages.h"

class QWidget;

class MessageBoxMessages final : public Messages {
public:
    void warning(const QString& text, const QString& caption = QString()) override;
    void information(const QString& text, const QString& caption = QString()) override;
    void exclamation(const QString& text, const QString& caption = QString()) override;
    bool askYesNo(const QString& text, const QString& caption = QString()) override;
    Answer askYesNoCancel(const QString& text, const QString& caption = QString()) override;
};
