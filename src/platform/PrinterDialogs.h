#pragma once
// The printer setup dialog and the print dialog, behind one small interface: the desktop
// program installs QtPrinterDialogs (src/platform/ui), tests install ScriptedPrinterDialogs.
// Both dialogs work on the system printer object: OK makes the chosen printer and its
// settings the system printer's current ones; Cancel changes nothing.

#include <QString>
#include <QVector>
#include <deque>

class QWidget;

// Page range of the print dialog. The caller fills in the proposal and the limits; on OK
// the dialog leaves the user's choice in it.
struct PrintRange {
    bool allPages = true;         // "all" chosen (otherwise fromPage..toPage)
    int fromPage = 1;
    int toPage = 1;
    int minPage = 1;
    int maxPage = 1;
    bool pageRangeEnabled = true; // whether the range choice is offered at all
};

class PrinterDialogs {
public:
    virtual ~PrinterDialogs() = default;

    // Printer, paper, tray and orientation. True on OK.
    virtual bool printerSetup(QWidget* owner) = 0;
    // Printer (with its setup) and page range. True on OK.
    virtual bool print(PrintRange& range, QWidget* owner) = 0;

    // The instance in use; never null. Without an installed one every dialog reports
    // "cancelled" (there is nobody to ask).
    static PrinterDialogs& current();
    // Installs an instance (not owned); nullptr restores the default.
    static void setCurrent(PrinterDialogs* dialogs);
};

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
