#include "support/ScriptedPrinterDialogs.h"

#include "platform/PrinterChoice.h"
#include "support/ScriptedMessages.h"

namespace {

// Applies a scripted pick to a choice; a value the printer does not offer is a script error.
bool pick(PrinterChoice& choice, const ScriptedPrinterDialogs::Setup& s)
{
    if (!s.printer.isEmpty() && !choice.setPrinterName(s.printer)) {
        reportScriptFailure(QStringLiteral("scripted printer not in the list: ") + s.printer);
        return false;
    }
    if (s.paper && !choice.setPaper(s.paper)) {
        reportScriptFailure(QStringLiteral("scripted paper %1 not offered").arg(s.paper));
        return false;
    }
    if (s.source && !choice.setSource(s.source)) {
        reportScriptFailure(QStringLiteral("scripted paper source %1 not offered").arg(s.source));
        return false;
    }
    if (s.orientation && !choice.setOrientation(s.orientation)) {
        reportScriptFailure(QStringLiteral("scripted orientation %1 not possible").arg(s.orientation));
        return false;
    }
    return true;
}

} // namespace

ScriptedPrinterDialogs::ScriptedPrinterDialogs() : m_previous(&PrinterDialogs::current())
{
    PrinterDialogs::setCurrent(this);
}

ScriptedPrinterDialogs::~ScriptedPrinterDialogs()
{
    if (&PrinterDialogs::current() == this)
        PrinterDialogs::setCurrent(m_previous);
    if (pendingAnswers() > 0)
        reportScriptFailure(QStringLiteral("%1 queued printer dialog answer(s) never used").arg(pendingAnswers()));
}

void ScriptedPrinterDialogs::answerPrinterSetup(const Setup& answer)
{
    m_setups.push_back(answer);
}

void ScriptedPrinterDialogs::answerPrint(const Print& answer)
{
    m_prints.push_back(answer);
}

bool ScriptedPrinterDialogs::printerSetup(QWidget*)
{
    m_requests.push_back({Kind::PrinterSetup, PrintRange()});
    if (m_setups.empty()) {
        reportScriptFailure(QStringLiteral("unexpected printer setup dialog"));
        return false;
    }
    const Setup answer = m_setups.front();
    m_setups.pop_front();
    if (!answer.ok)
        return false;
    PrinterChoice choice;
    if (choice.isEmpty() || !pick(choice, answer))
        return false;
    choice.apply();
    return true;
}

bool ScriptedPrinterDialogs::print(PrintRange& range, QWidget*)
{
    m_requests.push_back({Kind::Print, range});
    if (m_prints.empty()) {
        reportScriptFailure(QStringLiteral("unexpected print dialog"));
        return false;
    }
    const Print answer = m_prints.front();
    m_prints.pop_front();
    if (!answer.ok)
        return false;
    PrinterChoice choice;
    if (choice.isEmpty() || !pick(choice, answer.printer))
        return false;
    PrintRange chosen = range;
    chosen.allPages = answer.allPages || !range.pageRangeEnabled;
    if (!chosen.allPages) {
        if (answer.fromPage)
            chosen.fromPage = answer.fromPage;
        if (answer.toPage)
            chosen.toPage = answer.toPage;
        // The real dialog's spin boxes keep the numbers inside the limits.
        if (chosen.fromPage < range.minPage || chosen.fromPage > range.maxPage || chosen.toPage < range.minPage
            || chosen.toPage > range.maxPage) {
            reportScriptFailure(QStringLiteral("scripted page range %1-%2 outside %3-%4")
                                    .arg(chosen.fromPage)
                                    .arg(chosen.toPage)
                                    .arg(range.minPage)
                                    .arg(range.maxPage));
            return false;
        }
    }
    choice.apply();
    range = chosen;
    return true;
}
