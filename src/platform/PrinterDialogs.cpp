#include "platform/PrinterDialogs.h"

namespace {

class NoPrinterDialogs final : public PrinterDialogs {
public:
    bool printerSetup(QWidget*) override { return false; }
    bool print(PrintRange&, QWidget*) override { return false; }
};

PrinterDialogs* g_current = nullptr;

} // namespace

PrinterDialogs& PrinterDialogs::current()
{
    static NoPrinterDialogs fallback;
    return g_current ? *g_current : fallback;
}

void PrinterDialogs::setCurrent(PrinterDialogs* dialogs)
{
    g_current = dialogs;
}
