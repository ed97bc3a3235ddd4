#pragma once
// Layout pixels (the real-size on-screen card: 0.37795 pixel per 0.1 mm, 96 per inch) and
// tenths of a millimetre (the printed page). Conversions add 0.5 and cut toward zero.

#include <QString>

namespace LayoutUnits {

constexpr double kPixelsPerTenth = 0.37795;

// Trunc(p / 0.37795 + 0.5)
int pixelsToTenths(int pixels);
// Trunc(t * 0.37795 + 0.5)
int tenthsToPixels(int tenths);
// A read-out in millimetres: tenths / 10 with the format "#,0.0" ("12.5", "1,234.5", "-0.3").
QString millimetres(int tenths);

} // namespace LayoutUnits
