#include "layout/LayoutComposer.h"

#include "layout/FieldTexts.h"
#include "layout/FieldTypesetting.h"
#include "layout/LayoutUnits.h"
#include "preview/PageCanvas.h"
#include "preview/PageMath.h"
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

NameBlockSetting setNameBlock(PageCanvas& canvas, int field, const FieldStyle& style, const PrintRect& r,
                              const NameBlockTexts& names)
{
    // Every name and honorific as the field sets its text (kanji numerals, hyphens).
    NameBlockTexts shown = names;
    auto display = [&](NameBlockTexts::Name& n) {
        n.text = FieldTypesetting::displayText(field, style, n.text, TextTarget::Print);
        n.honorific = FieldTypesetting::displayText(field, style, n.honorific, TextTarget::Print);
    };
    display(shown.name1);
    for (NameBlockTexts::Name& j : shown.joints)
        display(j);

    NameBlockSetting set;
    set.tateChuYoko = FieldTypesetting::tateChuYoko(field, style);
    const PageFont savedFont = canvas.font();
    const bool savedTcy = canvas.tateChuYoko();
    canvas.SetFontStyle(fontStyleFlags(style));
    canvas.SetFontName(style.fontName);
    canvas.SetTateChuYoko(set.tateChuYoko);
    auto lengthOf = [&](const QString& text) -> qreal {
        return style.tate ? canvas.verticalLength(text) : canvas.textWidth(text);
    };
    auto thickness = [&](double points) -> qreal {
        canvas.SetFontSize(points);
        return style.tate ? canvas.verticalColumnWidth() : canvas.textHeight();
    };
    const double full = printPoints(style);
    // The block centres on name 1's own column (line), as the field would set it alone.
    const NameBlock::Frame frame { QRectF(r.left, r.top, r.width, r.height), style.tate, style.alignment,
                                   thickness(full) };
    auto blockAt = [&](double points) {
        const qreal pitch = thickness(points);
        return NameBlock::place(shown, frame, pitch, lengthOf);
    };
    const FieldTypesetting::FittedSize fitted =
        FieldTypesetting::fitSize(full, style.tate ? r.height : r.width, style.fit && FieldTypesetting::takesOptions(field),
                                  [&](double points) { return blockAt(points).extent; });
    set.points = fitted.points;
    set.layout = blockAt(set.points);
    set.overflows = fitted.overflows;
    canvas.SetFont(savedFont);
    canvas.SetTateChuYoko(savedTcy);
    return set;
}

void drawNameBlock(PageCanvas& canvas, const FieldStyle& style, const PrintRect& r, const NameBlockSetting& set)
{
    const PageFont savedFont = canvas.font();
    const bool savedTcy = canvas.tateChuYoko();
    canvas.SetFontSize(set.points);
    canvas.SetTateChuYoko(set.tateChuYoko);
    const int bottom = r.top + r.height;
    const int right = r.left + r.width;
    for (const NameBlock::Piece& p : set.layout.pieces) {
        const int x = PageMath::HalfAway(p.at.x());
        const int y = PageMath::HalfAway(p.at.y());
        if (style.tate)
            canvas.TextVTop(x, y, bottom, p.text);
        else
            canvas.TextLeft(x, right, y, y + PageMath::HalfAway(set.layout.pitch), p.text);
    }
    canvas.SetFont(savedFont);
    canvas.SetTateChuYoko(savedTcy);
}

QPoint afterBlock(const SnapshotField& name1, const SnapshotField& name2, const NameBlock::Layout& block)
{
    const int by = PageMath::HalfAway(block.after);
    if (by == 0)
        return QPoint();
    const FieldBox& a = name1.box;
    const FieldBox& b = name2.box;
    if (name1.style.tate)
        return 2 * b.left + b.width < 2 * a.left + a.width ? QPoint(-by, 0) : QPoint();
    return 2 * b.top + b.height > 2 * a.top + a.height ? QPoint(0, by) : QPoint();
}

RecordNames recordNames(const LayoutSnapshot& s, int record)
{
    return { FieldTexts::recipientNames(s.columnsOf(record), s.honorific, s.visibility()),
             FieldTexts::senderNames(s.sender) };
}

void drawFields(TplPrev& engine, const LayoutSnapshot& s, const FieldTextArray& texts, const RecordNames& names,
                int originX, int originY, int first, int skip)
{
    QPoint moved[kFieldCount + 1]; // where a name 2 goes after its block
    for (int n = first; n <= kFieldCount; ++n) {
        const SnapshotField& f = s.field(n);
        if (n == skip || !f.visible())
            continue;
        const NameBlockTexts* block = names.block(n);
        PageCanvas* canvas = engine.Canvas();
        if (block && canvas) {
            setFontStyleSizeName(engine, f.style);
            const PrintRect r = printRect(f.box, originX, originY);
            const NameBlockSetting set = setNameBlock(*canvas, n, f.style, r, *block);
            drawNameBlock(*canvas, f.style, r, set);
            moved[n + 1] = afterBlock(f, s.field(n + 1), set.layout);
            continue;
        }
        drawField(engine, n, f, originX + moved[n].x(), originY + moved[n].y(), texts[n - 1]);
    }
}

} // namespace LayoutComposer
