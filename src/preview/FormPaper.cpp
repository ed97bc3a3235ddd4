#include "preview/FormPaper.h"

#include "platform/DevMode.h"
#include "platform/PrinterDriver.h"
#include "platform/SystemPrinter.h"
#include "preview/TplSetPrinter.h"

#include <cmath>

namespace {

struct Sheet {
    double width;  // mm, portrait
    double height;
};

Sheet sheetOf(FormPaper paper)
{
    return paper == FormPaper::Postcard ? Sheet { 100, 148 } : Sheet { 210, 297 };
}

bool fits(double widthMm, double heightMm, FormPaper paper)
{
    const Sheet s = sheetOf(paper);
    return std::abs(widthMm - s.width) <= 1.0 && std::abs(heightMm - s.height) <= 1.0;
}

// Millimetres with one decimal, as the forms' paper read-outs show them.
QString millimetres(int deviceUnits, int dpi)
{
    return QString::number(std::trunc(double(deviceUnits) * 254.0 / dpi + 0.5) / 10.0, 'f', 1);
}

} // namespace

namespace FormPapers {

int find(const PrinterDriver& driver, FormPaper paper)
{
    for (const DriverPaper& p : driver.papers()) {
        if (fits(p.widthPt * 25.4 / 72.0, p.heightPt * 25.4 / 72.0, paper))
            return p.dmPaper;
    }
    return 0;
}

bool matches(const DeviceValues& v, FormPaper paper)
{
    if (v.logPixelsX <= 0 || v.logPixelsY <= 0)
        return false;
    return fits(v.physicalWidth * 25.4 / v.logPixelsX, v.physicalHeight * 25.4 / v.logPixelsY, paper);
}

bool choose(TplSetPrinter& printer, FormPaper paper)
{
    SystemPrinter& sp = SystemPrinter::instance();
    const int number = find(sp.driver(), paper);
    if (number == 0)
        return false;
    DevMode mode = sp.devMode();
    mode.setPaperSize(number);
    mode.setOrientation(DevMode::OrientationPortrait);
    sp.setDevMode(mode);
    printer.ReadFromPrinter(false);
    return true;
}

QString name(FormPaper paper)
{
    return paper == FormPaper::Postcard ? QStringLiteral("ハガキ") : QStringLiteral("A4");
}

QString mismatch(const TplSetPrinter& printer, FormPaper paper)
{
    const DeviceValues& v = printer.deviceValues();
    if (v.logPixelsX <= 0 || matches(v, paper))
        return QString();
    const QString size = QStringLiteral("%1 × %2 mm").arg(millimetres(v.physicalWidth, v.logPixelsX),
                                                        millimetres(v.physicalHeight, v.logPixelsY));
    const QString used = printer.PaperName().isEmpty() ? QStringLiteral("用紙（%1）").arg(size)
                                                      : QStringLiteral("用紙「%1」（%2）").arg(printer.PaperName(), size);
    const Sheet s = sheetOf(paper);
    return QStringLiteral("%1は%2（%3 × %4 mm）ではありません。").arg(used, name(paper)).arg(s.width).arg(s.height);
}

} // namespace FormPapers
