#include "layout/LayoutUnits.h"

#include <cmath>

namespace LayoutUnits {

int pixelsToTenths(int pixels)
{
    return int(std::trunc(pixels / kPixelsPerTenth + 0.5));
}

int tenthsToPixels(int tenths)
{
    return int(std::trunc(tenths * kPixelsPerTenth + 0.5));
}

QString millimetres(int tenths)
{
    // Integer arithmetic: tenths are exact, no binary rounding on the way.
    const long long value = tenths;
    const long long magnitude = value < 0 ? -value : value;
    QString whole = QString::number(magnitude / 10);
    for (qsizetype i = whole.size() - 3; i > 0; i -= 3)
        whole.insert(i, QLatin1Char(','));
    QString out = whole + QLatin1Char('.') + QString::number(magnitude % 10);
    if (value < 0)
        out.prepend(QLatin1Char('-'));
    return out;
}

} // namespace LayoutUnits
