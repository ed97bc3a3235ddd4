#include "layout/LayoutComposer.h"

#include "layout/FieldTexts.h"
#include "layout/FieldTypesetting.h"
#include "layout/LayoutUnits.h"
#include "preview/PageCanvas.h"
#include "preview/TplPrev.h"

namespace LayoutComposer {

namespace {
int T(int pixels)
{
    return LayoutUnits::pixelsToTenths(pixels);
}
constexpr int kStretch = 1;
} // namespace

PrintRect printRect(const FieldBox& box, int originX, int originY)
{
    PrintRect r;
    r.top = T(box.top) + originY;
    r.left = T(box.left) + originX;
    r.height = T(box.height) + 1;
    r.width = T(box.width) + 1;
    return r;
}

void drawStamp(TplPrev& engine, const ImageBox& stamp, int originX, int originY)
{
    if (stamp.path.trimmed().isEmpty())
        return;
    const int left = T(stamp.left) + originX;
    const int top = T(stamp.top) + originY;
    engine.DrawImage(left, left + T(stamp.width), top, top + T(stamp.height), kStretch, stamp.path);
}

int fontStyleFlags(const FieldStyle& style)
{
    return (style.bold ? FontStyle::fsBold : 0) | (style.italic ? FontStyle::fsItalic : 0);
}

int printPoints(const FieldStyle& style)
{
    return FieldGeometry::effectivePoints(style.fontSize);
}

void setFontSizeNameStyle(TplPrev& engine, const FieldStyle& style)
{
    engine.SetFontSize(printPoints(style));
    engine.SetFontName(style.fontName);
    engine.SetFontStyle(fontStyleFlags(style));
}

void setFontStyleSizeName(TplPrev& engine, const FieldStyle& style)
{
    engine.SetFontStyle(fontStyleFlags(style));
    engine.SetFontSize(printPoints(style));
    engine.SetFontName(style.fontName);
}

void drawFieldText(TplPrev& engine, int field, const FieldStyle& style, const PrintRect& r, const QString& text)
{
    PageCanvas* canvas = engine.Canvas();
    if (!canvas)
        return;
    const FieldTypesetting::Setting set = FieldTypesetting::settle(
        *canvas, field, style, style.tate ? r.height : r.width, text, TextTarget::Print, false);
    if (set.points != printPoints(style))
        engine.SetFontSize(set.points);
    engine.SetTateChuYoko(set.tateChuYoko);
    if (style.tate) {
        const int left = r.left + set.across;
        const int bottom = r.top + r.height;
        switch (style.alignment) {
        case 1:
            engine.TextVCenter(left, r.top, bottom, set.text);
            break;
        case 2:
            engine.TextVBottom(left, r.top, bottom, set.text);
            break;
        default:
            engine.TextVTop(left, r.top, bottom, set.text);
            break;
        }
        return;
    }
    const int right = r.left + r.width;
    const int top = r.top + set.across;
    const int bottom = r.top + r.height;
    switch (style.alignment) {
    case 1:
        engine.TextCenter(r.left, right, top, bottom, set.text);
        break;
    case 2:
        engine.TextRight(r.left, right, top, bottom, set.text);
        break;
    default:
        engine.TextLeft(r.left, right, top, bottom, set.text);
        break;
    }
}

QRectF barcodeRect(const SnapshotField& f, int originX, int originY)
{
    const CustomerBarcode::Size size = CustomerBarcode::size(f.style.fontSize);
    const double left = T(f.box.left) + originX;
    const double top = T(f.box.top) + originY;
    if (f.style.tate)
        return QRectF(left + (T(f.box.width) - size.height()) / 2, top, size.height(), size.length());
    return QRectF(left, top + (T(f.box.height) - size.height()) / 2, size.length(), size.height());
}

QVector<QRectF> barRects(const FieldStyle& style, const QRectF& r, const CustomerBarcode::Symbol& symbol)
{
    const CustomerBarcode::Size size = CustomerBarcode::size(style.fontSize);
    QVector<QRectF> bars;
    bars.reserve(symbol.bars.size());
    for (int i = 0; i < symbol.bars.size(); ++i) {
        const CustomerBarcode::Bar bar = symbol.bars[i];
        const double along = i * size.pitch;
        const double from = size.barTop(bar);
        const double length = size.barLength(bar);
        if (style.tate) {
            // Turned clockwise: the symbol's top edge is the rectangle's right edge.
            const double y = r.top() + along;
            bars << QRectF(QPointF(r.right() - from - length, y), QPointF(r.right() - from, y + size.barWidth));
        } else {
            const double x = r.left() + along;
            bars << QRectF(QPointF(x, r.top() + from), QPointF(x + size.barWidth, r.top() + from + length));
        }
    }
    return bars;
}

void drawBarcode(TplPrev& engine, const FieldStyle& style, const QRectF& r, const CustomerBarcode::Symbol& symbol)
{
    engine.SetBrushColor(0);
    for (const QRectF& bar : barRects(style, r, symbol))
        engine.FillRect(bar.left(), bar.right(), bar.top(), bar.bottom());
}

void drawField(TplPrev& engine, int field, const SnapshotField& f, int originX, int originY, const QString& text)
{
    setFontStyleSizeName(engine, f.style);
    if (FieldGeometry::printsBarcode(field, f.style)) {
        const CustomerBarcode::Symbol symbol = CustomerBarcode::encode(text);
        if (symbol.isValid())
            drawBarcode(engine, f.style, barcodeRect(f, originX, originY), symbol);
        return;
    }
    drawFieldText(engine, field, f.style, printRect(f.box, originX, originY), text);
}

} // namespace LayoutComposer
