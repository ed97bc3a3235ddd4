#pragma once
// Where tovalin-print talks to its user: messages on standard error, and the progress of a
// long run ("page n of m") when standard error is a terminal. Tests install a console of
// their own and read what was said.

#include "platform/Messages.h"

#include <QString>
#include <QStringList>

class CliConsole {
public:
    virtual ~CliConsole() = default;
    // One message; a two-line message (CR LF between) becomes two lines.
    virtual void error(const QString& text);
    // True when standard error is a terminal: only then is progress shown.
    virtual bool terminal() const;
    // Page `page` of `pages` is done; redrawn on one line.
    virtual void progress(int page, int pages);
    // Ends the progress line.
    virtual void endProgress();

protected:
    bool m_progressShown = false;
};

// The engine and the settings code tell their failures through Messages; in the batch
// printer they go to the console, and every question is declined.
class ConsoleMessages final : public Messages {
public:
    explicit ConsoleMessages(CliConsole& console) : m_console(console) { }
    void warning(const QString& text, const QString&) override { m_console.error(text); }
    void information(const QString& text, const QString&) override { m_console.error(text); }
    void exclamation(const QString& text, const QString&) override { m_console.error(text); }
    bool askYesNo(const QString& text, const QString&) override
    {
        m_console.error(text);
        return false;
    }
    Answer askYesNoCancel(const QString& text, const QString&) override
    {
        m_console.error(text);
        return Answer::Cancel;
    }

private:
    CliConsole& m_console;
};
