#pragma once
// The printer setup dialog and the print dialog, behind one small interface: the desktop
// program installs QtPrinterDialogs (src/platform/ui), tests their scripted double
// (tests/support/ScriptedPrinterDialogs.h).
// Both dialogs work on the system printer object: OK makes the chosen printer and its
// settings the system printer's current ones; Cancel changes nothing.

#include <QString>

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
