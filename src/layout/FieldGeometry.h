#pragma once
// Where a layout field's box really lies, in layout pixels: its stored position and length
// plus the thickness that its font gives it. The text boxes on screen and the snapshot that
// a print run draws from both take their boxes from here, so that screen and paper agree to
// the pixel.

#include "app/AppSettings.h"

#include <QFont>
#include <QString>

// A box in layout pixels (0.37795 pixel per 0.1 mm) from the card's or label's top-left corner.
struct FieldBox {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    bool operator==(const FieldBox& o) const
    {
        return left == o.left && top == o.top && width == o.width && height == o.height;
    }
    bool operator!=(const FieldBox& o) const { return !(*this == o); }
};

namespace FieldGeometry {

// The postcard at real size, in layout pixels.
constexpr int kCardWidth = 378, kCardHeight = 559;

// The postcard's fixed postal-code digit boxes: field 1 always lies over the card's printed
// boxes; field 7 in the sender postal box layout keeps its place and takes this size.
constexpr int kPostalLeft = 167, kPostalTop = 45, kPostalWidth = 185, kPostalHeight = 33;
constexpr int kSenderPostalWidth = 110, kSenderPostalHeight = 26;

// Widget sizes are kept within 0 .. this (as QWidget does), and positions within -this .. this,
// so that a position plus a length never leaves an int (a hand-edited settings file can hold
// any number).
constexpr int kMaxExtent = 16777215;
inline int heldPosition(int value)
{
    return value < -kMaxExtent ? -kMaxExtent : (value > kMaxExtent ? kMaxExtent : value);
}

// A stored font size as it is drawn: 0 or less counts as 9 points (as the editor shows it).
int effectivePoints(int fontSize);

// The font a field draws with on the 96-dpi layout screen, sized in screen pixels.
QFont screenFont(const QString& face, int fontSize, bool bold, bool italic);
// The same for a size in points that need not be whole (a field shrunk to fit).
QFont screenFontAt(const QString& face, double points, bool bold, bool italic);

// The thickness of a box: the text height of its font (a horizontal box's height), or the
// column width of its vertical text (a vertical box's width). Never below 1; never rounded
// down, so the last pixel row of the glyphs stays inside the box.
int thickness(const QString& face, int fontSize, bool bold, bool italic, bool tate);
int thickness(const FieldStyle& style);

// True when the postcard form draws field `field` of this style as postal-code digits.
bool postcardDigits(int field, const FieldStyle& style);

// The customer-barcode column's field, the only one with the barcode option.
constexpr int kBarcodeField = 6;

// True when field `field` of this style prints as a customer barcode (field 6 with the
// option on).
bool printsBarcode(int field, const FieldStyle& style);

// True when the user does not change the box's length: postal digits (the postal flag, on
// either form) and a barcode symbol, whose size follows from its font size.
bool fixedLength(int field, const FieldStyle& style);

// The box of field `field` as a layout form shows it once the style is applied: stored
// position, the length along the writing direction, the thickness from the font. On the
// postcard, digit boxes take their fixed place and size. Negative lengths count as 0;
// positions are held as heldPosition() holds them. A barcode field's box is the symbol's: as
// long and as thick as the bars at its size.
FieldBox box(int field, const FieldStyle& style, bool postcard);

} // namespace FieldGeometry
