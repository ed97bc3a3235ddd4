#pragma once
// Every message box and question of the program goes through this interface, so
// that tests can script the answers and read what was asked. The desktop program
// installs a QMessageBox implementation; tests their scripted double
// (tests/support/ScriptedMessages.h).

#include <QString>

class Messages {
public:
    enum class Answer { Ok, Yes, No, Cancel };

    virtual ~Messages() = default;

    // Warning icon, one OK button.
    virtual void warning(const QString& text, const QString& caption = QString()) = 0;
    // Information icon, one OK button.
    virtual void information(const QString& text, const QString& caption = QString()) = 0;
    // Exclamation icon, one OK button (the preview components' messages).
    virtual void exclamation(const QString& text, const QString& caption = QString()) = 0;
    // Information icon, Yes and No. True for Yes.
    virtual bool askYesNo(const QString& text, const QString& caption = QString()) = 0;
    // Information icon, Yes, No and Cancel.
    virtual Answer askYesNoCancel(const QString& text, const QString& caption = QString()) = 0;

    // The instance in use; never null (a default is created on first use).
    static Messages& current();
    // Installs an instance (not owned); nullptr restores the default.
    static void setCurrent(Messages* messages);

    // A two-line message: the lines joined by CR LF.
    static QString twoLines(const QString& first, const QString& second)
    {
        return first + QStringLiteral("\r\n") + second;
    }
};
