#include "platform/Messages.h"

#include <cstdio>

namespace {

// Used where no interactive implementation is installed (the batch printer, early
// start-up): messages go to standard error and every question is declined.
class StderrMessages final : public Messages {
public:
    void warning(const QString& text, const QString&) override { print(text); }
    void information(const QString& text, const QString&) override { print(text); }
    void exclamation(const QString& text, const QString&) override { print(text); }
    bool askYesNo(const QString& text, const QString&) override
    {
        print(text);
        return false;
    }
    Answer askYesNoCancel(const QString& text, const QString&) override
    {
        print(text);
        return Answer::Cancel;
    }

private:
    static void print(const QString& text)
    {
        QString oneLine = text;
        oneLine.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        std::fprintf(stderr, "%s\n", oneLine.toLocal8Bit().constData());
    }
};

Messages* g_current = nullptr;

} // namespace

Messages& Messages::current()
{
    static StderrMessages fallback;
    return g_current ? *g_current : fallback;
}

void Messages::setCurrent(Messages* messages)
{
    g_current = messages;
}
