#pragma once
// The postcard as the postcard form shows it at real size (378 x 559 layout pixels): white,
// with the seven printed postal-code boxes and their hyphen in red, the picture of a postage
// stamp where the stamp goes (screen decoration only, never printed) and, when a printer is
// known, the silver outline of its printable area.

#include "layout/FieldGeometry.h"

#include <QImage>
#include <QRect>

struct DeviceValues;

namespace CardPicture {

constexpr int kWidth = FieldGeometry::kCardWidth;
constexpr int kHeight = FieldGeometry::kCardHeight;
// Left edges of the seven postal-code boxes; each is 21 pixels wide, from y 45 to y 75.
constexpr int kBoxLefts[7] = {167, 194, 221, 250, 276, 302, 328};
constexpr int kBoxWidth = 21;
constexpr int kBoxTop = 45;
constexpr int kBoxBottom = 75;
// Where the stamp picture "PostStamp" lies, and its size.
constexpr int kStampLeft = 24;
constexpr int kStampTop = 24;
constexpr int kStampWidth = 76;
constexpr int kStampHeight = 90;

// The postage stamp picture: a perforated border and a red 〒-shaped mark on blue.
QImage postStamp();

// The card without the printable area.
QImage background();

// The printable area of a printer in layout pixels of the card: each device value v becomes
// Trunc(v x 254 / LOGPIXELSX x 0.37795 + 0.5) (LOGPIXELSX for vertical values too). An empty
// rectangle when the resolution is unknown.
QRect printableArea(const DeviceValues& device);

// Draws the closed silver outline of `area` onto a card picture.
void drawPrintableArea(QImage& card, const QRect& area);

} // namespace CardPicture
