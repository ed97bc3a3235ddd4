#pragma once
// Colour values as the settings and the controls carry them: $BBGGRR (red in the low
// byte, blue in the high byte), or a system colour (high bit set, low byte the system
// colour index) that follows the application's palette, or clNone / clDefault.

#include <QColor>
#include <QPalette>

using TColor = quint32;

// System colours (resolved through a QPalette, see WinColor::toQColor).
constexpr TColor clSystemColor = 0x80000000u;
constexpr TColor clScrollBar = clSystemColor | 0;
constexpr TColor clBackground = clSystemColor | 1;
constexpr TColor clActiveCaption = clSystemColor | 2;
constexpr TColor clInactiveCaption = clSystemColor | 3;
constexpr TColor clMenu = clSystemColor | 4;
constexpr TColor clWindow = clSystemColor | 5;
constexpr TColor clWindowFrame = clSystemColor | 6;
constexpr TColor clMenuText = clSystemColor | 7;
constexpr TColor clWindowText = clSystemColor | 8;
constexpr TColor clCaptionText = clSystemColor | 9;
constexpr TColor clActiveBorder = clSystemColor | 10;
constexpr TColor clInactiveBorder = clSystemColor | 11;
constexpr TColor clAppWorkSpace = clSystemColor | 12;
constexpr TColor clHighlight = clSystemColor | 13;
constexpr TColor clHighlightText = clSystemColor | 14;
constexpr TColor clBtnFace = clSystemColor | 15;
constexpr TColor clBtnShadow = clSystemColor | 16;
constexpr TColor clGrayText = clSystemColor | 17;
constexpr TColor clBtnText = clSystemColor | 18;
constexpr TColor clInactiveCaptionText = clSystemColor | 19;
constexpr TColor clBtnHighlight = clSystemColor | 20;
constexpr TColor cl3DDkShadow = clSystemColor | 21;
constexpr TColor cl3DLight = clSystemColor | 22;
constexpr TColor clInfoText = clSystemColor | 23;
constexpr TColor clInfoBk = clSystemColor | 24;

// "No colour" (nothing is drawn) and "the control's default".
constexpr TColor clNone = 0x1FFFFFFFu;
constexpr TColor clDefault = 0x20000000u;

// Plain colours, $BBGGRR.
constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clWhite = 0xFFFFFF;

namespace WinColor {

// $BBGGRR from its three channels.
constexpr TColor rgb(int red, int green, int blue)
{
    return TColor(red & 0xFF) | (TColor(green & 0xFF) << 8) | (TColor(blue & 0xFF) << 16);
}

inline bool isSystem(TColor color) { return (color & clSystemColor) != 0; }
inline bool isNone(TColor color) { return color == clNone; }

// The palette role a system colour stands for (QPalette::NoRole for other values).
// clBtnFace -> Button, clBtnHighlight -> Light, clBtnShadow -> Dark, clWindowFrame and
// cl3DDkShadow -> Shadow, clHighlight -> Highlight, clHighlightText -> HighlightedText,
// clBtnText -> ButtonText, clWindowText -> WindowText, clWindow -> Base, ...
QPalette::ColorRole paletteRole(TColor color);

// The colour a value stands for: $BBGGRR directly, a system colour from the palette's
// active group (clGrayText from its disabled text). clNone and clDefault give an invalid
// QColor; so does an out-of-range value.
QColor toQColor(TColor color, const QPalette& palette);
// The same through the application's palette.
QColor toQColor(TColor color);

// The $BBGGRR value of a QColor (alpha dropped).
TColor fromQColor(const QColor& color);

} // namespace WinColor
