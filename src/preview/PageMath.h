#pragma once
// Rounding rules and colour values of the page drawing operations.

#include <QColor>
#include <cmath>

namespace PageMath {

// Nearest integer, ties away from zero.
inline int HalfAway(double x)
{
    return x >= 0 ? int(std::trunc(x + 0.5)) : int(std::trunc(x - 0.5));
}

// Nearest integer, ties to even.
inline int HalfEven(double x)
{
    return int(std::nearbyint(x)); // the default floating-point rounding mode is to-nearest-even
}

inline int Trunc(double x) { return int(std::trunc(x)); }
inline int Ceil(double x) { return int(std::ceil(x)); }

// Font height in 0.1 mm for a size in points: the negative value is the character (em) height.
inline int fontHeightForPoints(double points)
{
    return -HalfAway(points * 254.0 / 72.0);
}

// Colour values are written $BBGGRR (blue in the high byte). The system colours the page
// drawing uses are the negative "system colour" values of the stored layouts.
constexpr int clBlack = 0x000000;
constexpr int clWhite = 0xFFFFFF;
constexpr int clBtnFace = int(0xFF00000F);

inline QColor colorFromBGR(int value)
{
    if (value == clBtnFace)
        return QColor(240, 240, 240);
    const unsigned v = unsigned(value);
    return QColor(int(v & 0xFF), int((v >> 8) & 0xFF), int((v >> 16) & 0xFF));
}

inline int bgrFromColor(const QColor& c)
{
    return c.red() | (c.green() << 8) | (c.blue() << 16);
}

} // namespace PageMath
