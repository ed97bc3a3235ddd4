#include "layout/FieldGeometry.h"

#include "layout/CustomerBarcode.h"
#include "layout/LayoutUnits.h"

#include "platform/JapaneseFonts.h"
#include "platform/VerticalText.h"

#include <QFontMetricsF>

#include <algorithm>
#include <cmath>

namespace FieldGeometry {

int effectivePoints(int fontSize)
{
    return fontSize > 0 ? fontSize : 9;
}

QFont screenFont(const QString& face, int fontSize, bool bold, bool italic)
{
    return JapaneseFonts::font(face, JapaneseFonts::screenPixelSize(effectivePoints(fontSize)), bold, italic);
}

QFont screenFontAt(const QString& face, double points, bool bold, bool italic)
{
    return JapaneseFonts::font(face, std::round(points * 96.0 / 72.0), bold, italic);
}

int thickness(const QString& face, int fontSize, bool bold, bool italic, bool tate)
{
    const QFont font = screenFont(face, fontSize, bold, italic);
    qreal h;
    if (tate)
        h = VerticalText(font, QString(), JapaneseFonts::isVerticalFace(face)).columnWidth();
    else
        h = QFontMetricsF(font).height();
    return std::max(1, int(std::ceil(h - 1e-3)));
}

int thickness(const FieldStyle& s)
{
    return thickness(s.fontName, s.fontSize, s.bold, s.italic, s.tate);
}

bool postcardDigits(int field, const FieldStyle& style)
{
    return style.post && (field == 1 || field == 7);
}

bool printsBarcode(int field, const FieldStyle& style)
{
    return field == kBarcodeField && style.barcode;
}

bool fixedLength(int field, const FieldStyle& style)
{
    return style.post || printsBarcode(field, style);
}

FieldBox box(int field, const FieldStyle& s, bool postcard)
{
    FieldBox b;
    b.left = heldPosition(s.left);
    b.top = heldPosition(s.top);
    if (printsBarcode(field, s)) {
        // Whole pixels that hold the symbol, so the box never cuts a bar.
        const CustomerBarcode::Size size = CustomerBarcode::size(s.fontSize);
        const int length = int(std::ceil(size.length() * LayoutUnits::kPixelsPerTenth));
        const int thick = int(std::ceil(size.height() * LayoutUnits::kPixelsPerTenth));
        b.width = s.tate ? thick : length;
        b.height = s.tate ? length : thick;
        return b;
    }
    if (postcard && postcardDigits(field, s)) {
        if (field == 1)
            return FieldBox { kPostalLeft, kPostalTop, kPostalWidth, kPostalHeight };
        b.width = kSenderPostalWidth;
        b.height = kSenderPostalHeight;
        return b;
    }
    const int length = std::clamp(s.width, 0, kMaxExtent);
    const int thick = std::min(thickness(s), kMaxExtent);
    b.width = s.tate ? thick : length;
    b.height = s.tate ? length : thick;
    return b;
}

} // namespace FieldGeometry
