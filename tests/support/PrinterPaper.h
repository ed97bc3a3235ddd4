#pragma once
// Puts a paper and orientation in force for a printer component: the system printer's
// device mode takes them and the component reads them back, as after the printer dialog.
// Header only, so that the benchmarks can use it too.

#include "platform/DevMode.h"
#include "platform/SystemPrinter.h"
#include "preview/TplSetPrinter.h"

namespace printerpaper {

inline void usePaper(TplSetPrinter& printer, int dmPaper, int orientation = DevMode::OrientationPortrait)
{
    SystemPrinter& sp = SystemPrinter::instance();
    DevMode mode = sp.devMode();
    mode.setPaperSize(dmPaper);
    mode.setOrientation(orientation);
    sp.setDevMode(mode);
    printer.ReadFromPrinter(false);
}

} // namespace printerpaper
