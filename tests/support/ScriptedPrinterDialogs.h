#pragma once
// The printer dialogs of a test: answers come from a queue and are applied to the system
// printer as a user's choice would be.

#include "platform/PrinterDialogs.h"

#include <QString>
#include <QVector>
#include <deque>

// Dialogs for tests: answers from a queue, applied to the system printer the way the real
// dialogs apply a user's choice; records every request and reports a dialog nobody
// scripted. Installs itself for its lifetime.
class ScriptedPrinterDialogs final : public PrinterDialogs {
public:
    // What the user picks; empty or 0 keeps what the dialog proposed.
    struct Setup {
        bool ok = true;
        QString printer;
        int paper = 0;        // DMPAPER number
        int source = 0;       // DMBIN number
        int orientation = 0;  // 1 portrait, 2 landscape
    };
    struct Print {
        bool ok = true;
        Setup printer;        // printer and, through its properties, paper, tray, orientation
        bool allPages = true;
        int fromPage = 0;     // 0: as proposed
        int toPage = 0;
    };
    enum class Kind { PrinterSetup, Print };
    struct Request {
        Kind kind;
        PrintRange range;     // as proposed (print dialog only)
    };

    ScriptedPrinterDialogs();
    ~ScriptedPrinterDialogs() override;
    ScriptedPrinterDialogs(const ScriptedPrinterDialogs&) = delete;
    ScriptedPrinterDialogs& operator=(const ScriptedPrinterDialogs&) = delete;

    void answerPrinterSetup(const Setup& answer);
    void answerPrint(const Print& answer);

    const QVector<Request>& requests() const { return m_requests; }
    int pendingAnswers() const { return int(m_setups.size() + m_prints.size()); }

    bool printerSetup(QWidget* owner) override;
    bool print(PrintRange& range, QWidget* owner) override;

private:
    PrinterDialogs* m_previous = nullptr;
    QVector<Request> m_requests;
    std::deque<Setup> m_setups;
    std::deque<Print> m_prints;
};
