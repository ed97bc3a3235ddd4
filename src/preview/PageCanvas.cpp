#include "preview/PageCanvas.h"

#include "platform/JapaneseFonts.h"
#include "platform/VerticalText.h"
#include "preview/PageMath.h"
#include "preview/PictureFile.h"

#include <QFontMetricsF>
#include <QHash>
#include <QRawFont>
#include <QTextBoundaryFinder>

#include <cmath>
#include <memory>

using namespace PageMath;

namespace {

const QString kDefaultFace = QStringLiteral("ＭＳ Ｐゴシック");

// Bearings are read at a large size: small sizes give whole-pixel glyph boxes.
constexpr qreal kReferencePixels = 1000.0;

} // namespace

// A resolved font with what the operations measure, kept across pages: the same few fonts
// and many of the same texts come back on every card.
struct PageFontData {
    explicit PageFontData(const QFont& f) : font(f), metrics(f) { }
    QFont font;
    QFontMetricsF metrics;
    QRawFont reference;
    qreal referenceScale = 1; // page units per reference pixel
    mutable QHash<QString, qreal> widths;
    mutable QHash<QString, QPair<qreal, qreal>> abc;
    mutable qreal columnWidth = -1; // of a vertical text, once known

    qreal width(const QString& text) const
    {
        auto it = widths.constFind(text);
        if (it != widths.constEnd())
            return *it;
        if (widths.size() > 4096)
            widths.clear();
        const qreal w = metrics.horizontalAdvance(text);
        widths.insert(text, w);
        return w;
    }
};

namespace {
using FontData = PageFontData;

QString fontKey(const PageFont& f)
{
    return f.name + QLatin1Char('\x1f') + QString::number(f.height) + QLatin1Char(f.bold ? 'b' : '-')
        + QLatin1Char(f.italic ? 'i' : '-') + QLatin1Char(f.underline ? 'u' : '-')
        + QLatin1Char(f.strikeOut ? 's' : '-');
}

QFont makeFont(const QString& face, qreal em, bool bold, bool italic)
{
    QFont f = JapaneseFonts::font(face, em, bold, italic);
    // Sizes are page units whatever device the page is replayed on.
    f.setPixelSize(qMax(1, qRound(em)));
    return f;
}

std::shared_ptr<FontData> fontData(const PageFont& pf)
{
    static QHash<QString, std::shared_ptr<FontData>> cache;
    const QString key = fontKey(pf);
    auto it = cache.constFind(key);
    if (it != cache.constEnd())
        return *it;

    qreal em = 37;
    if (pf.height < 0) {
        em = -pf.height;
    } else if (pf.height > 0) {
        // A positive height is the cell height (ascent + descent).
        const QFontMetricsF big(makeFont(pf.name, kReferencePixels, pf.bold, pf.italic));
        const qreal cell = big.ascent() + big.descent();
        em = cell > 0 ? pf.height * kReferencePixels / cell : pf.height;
    }
    QFont f = makeFont(pf.name, em, pf.bold, pf.italic);
    f.setUnderline(pf.underline);
    f.setStrikeOut(pf.strikeOut);
    auto data = std::make_shared<FontData>(f);
    QFont big = f;
    big.setPixelSize(int(kReferencePixels));
    data->reference = QRawFont::fromFont(big);
    data->referenceScale = qreal(f.pixelSize()) / kReferencePixels;
    if (cache.size() > 256)
        cache.clear();
    cache.insert(key, data);
    return data;
}

// A and C widths of a character: how far its ink reaches left of its origin and right of
// its advance (negative when it does).
bool abcWidths(const FontData& fd, const QString& ch, qreal* a, qreal* c)
{
    if (ch.isEmpty() || !fd.reference.isValid())
        return false;
    auto cached = fd.abc.constFind(ch);
    if (cached != fd.abc.constEnd()) {
        *a = cached->first;
        *c = cached->second;
        return true;
    }
    if (fd.abc.size() > 4096)
        fd.abc.clear();
    const QVector<quint32> glyphs = fd.reference.glyphIndexesForString(ch);
    if (glyphs.isEmpty())
        return false;
    const QRectF box = fd.reference.boundingRect(glyphs.first());
    const QVector<QPointF> adv = fd.reference.advancesForGlyphIndexes(glyphs.mid(0, 1));
    const qreal advance = adv.isEmpty() ? 0 : adv.first().x();
    if (box.isEmpty()) {
        *a = 0;
        *c = 0;
    } else {
        *a = box.left() * fd.referenceScale;
        *c = (advance - box.right()) * fd.referenceScale;
    }
    fd.abc.insert(ch, qMakePair(*a, *c));
    return true;
}

Qt::PenStyle qtPenStyle(PenStyle s)
{
    switch (s) {
    case PenStyle::psDash: return Qt::DashLine;
    case PenStyle::psDot: return Qt::DotLine;
    case PenStyle::psDashDot: return Qt::DashDotLine;
    case PenStyle::psDashDotDot: return Qt::DashDotDotLine;
    case PenStyle::psClear: return Qt::NoPen;
    case PenStyle::psSolid:
    case PenStyle::psInsideFrame: break;
    }
    return Qt::SolidLine;
}

} // namespace

PageCanvas::PageCanvas(PageRecording* target, int pageWidth, int pageHeight) : m_rec(target)
{
    m_font.name = kDefaultFace;
    m_font.height = fontHeightForPoints(10.5);
    if (m_rec)
        m_rec->reset(pageWidth, pageHeight);
}

const PageFontData& PageCanvas::fd() const
{
    if (!m_fd || m_fdFont != m_font) {
        m_fd = fontData(m_font);
        m_fdFont = m_font;
    }
    return *m_fd;
}

// ---- font, pen, brush ----------------------------------------------------------------

void PageCanvas::SetFontSize(double points) { m_font.height = fontHeightForPoints(points); }
void PageCanvas::SetFontName(const QString& name) { m_font.name = name; }

void PageCanvas::SetFontStyle(int flags)
{
    m_font.bold = flags & FontStyle::fsBold;
    m_font.italic = flags & FontStyle::fsItalic;
    m_font.underline = flags & FontStyle::fsUnderline;
    m_font.strikeOut = flags & FontStyle::fsStrikeOut;
}

void PageCanvas::SetFontColor(int bgr) { m_font.color = colorFromBGR(bgr); }
void PageCanvas::SetFont(const PageFont& font) { m_font = font; }
QFont PageCanvas::resolvedFont() const { return fd().font; }

void PageCanvas::SetPenColor(int bgr) { m_penColor = colorFromBGR(bgr); }
void PageCanvas::SetPenStyle(PenStyle style) { m_penStyle = style; }
void PageCanvas::SetPenWidth(int width) { m_penWidth = qMax(0, width); }
void PageCanvas::SetBrushColor(int bgr) { m_brushColor = colorFromBGR(bgr); }
void PageCanvas::SetBrushClear(bool clear) { m_brushClear = clear; }

QPen PageCanvas::pen() const
{
    // Width 0 is one device pixel (a cosmetic pen); wider pens have round ends and joins.
    QPen p(m_penColor, m_penWidth, qtPenStyle(m_penStyle), Qt::RoundCap, Qt::RoundJoin);
    if (m_penWidth == 0)
        p.setCosmetic(true);
    return p;
}

// ---- measuring ---------------------------------------------------------------------------

qreal PageCanvas::textWidth(const QString& text) const
{
    return fd().width(text);
}

qreal PageCanvas::textHeight() const
{
    const QFontMetricsF& m = fd().metrics;
    return m.ascent() + m.descent();
}

qreal PageCanvas::ascent() const { return fd().metrics.ascent(); }

// Vertical layouts by font, 縦中横 setting and text: a field measured for its fit is drawn
// from the same layout, and texts that come back on every card are laid out once. One
// bounded cache for all fonts, so that many fitted sizes cannot make it grow.
std::shared_ptr<const VerticalText> PageCanvas::verticalLayout(const QString& text) const
{
    static QHash<QString, std::shared_ptr<const VerticalText>> cache;
    const PageFontData& f = fd();
    const bool upright = JapaneseFonts::isVerticalFace(m_font.name);
    const bool tcy = m_tateChuYoko && upright;
    const QString key = fontKey(m_font) + (tcy ? QLatin1String("\x1e" "1") : QLatin1String("\x1e" "0")) + text;
    auto it = cache.constFind(key);
    if (it != cache.constEnd())
        return *it;
    if (cache.size() >= 1024)
        cache.clear();
    VerticalText::Options options;
    options.tateChuYoko = tcy;
    auto layout = std::make_shared<const VerticalText>(f.font, text, upright, options);
    cache.insert(key, layout);
    return layout;
}

qreal PageCanvas::verticalColumnWidth() const
{
    const PageFontData& f = fd();
    if (f.columnWidth < 0)
        f.columnWidth = VerticalText(f.font, QString(), JapaneseFonts::isVerticalFace(m_font.name)).columnWidth();
    return f.columnWidth;
}

qreal PageCanvas::verticalLength(const QString& text) const
{
    return text.isEmpty() ? 0 : verticalLayout(text)->length();
}

qreal PageCanvas::averageCharWidth() const { return fd().metrics.averageCharWidth(); }

int PageCanvas::leftOverhang(const QString& text) const
{
    const QStringList chars = characters(text);
    if (chars.isEmpty())
        return 0;
    qreal a = 0, c = 0;
    if (!abcWidths(fd(), chars.first(), &a, &c))
        return 0;
    return a < 0 ? -HalfEven(a) : 0;
}

int PageCanvas::rightOverhang(const QString& text) const
{
    const QStringList chars = characters(text);
    if (chars.isEmpty())
        return 0;
    qreal a = 0, c = 0;
    if (!abcWidths(fd(), chars.last(), &a, &c))
        return 0;
    return c < 0 ? -HalfEven(c) : 0;
}

QStringList PageCanvas::characters(const QString& text)
{
    QStringList result;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    qsizetype start = 0;
    while (finder.toNextBoundary() != -1) {
        const qsizetype end = finder.position();
        if (end > start)
            result << text.mid(start, end - start);
        start = end;
    }
    return result;
}

QString PageCanvas::postalDigits(const QString& text)
{
    QString digits;
    for (const QChar ch : text) {
        const char16_t u = ch.unicode();
        if (u >= u'0' && u <= u'9')
            digits += ch;
        else if (u >= 0xFF10 && u <= 0xFF19) // full-width digits
            digits += QChar(char16_t(u'0' + (u - 0xFF10)));
    }
    return digits;
}

// ---- recording helpers ---------------------------------------------------------------------

PageOp PageCanvas::baseOp(PageOp::Kind kind) const
{
    PageOp op;
    op.kind = kind;
    op.paper = m_paper;
    op.clipToPrintable = m_clipToPrintable && !m_paper;
    return op;
}

void PageCanvas::recordText(qreal x, qreal y, const QString& text, const QRectF& clip, qreal angle,
                            qreal widthScale)
{
    if (!m_rec || text.isEmpty())
        return;
    const FontData& fd = this->fd();
    PageOp op = baseOp(PageOp::Kind::Text);
    op.text = text;
    op.font = m_font;
    op.qfont = fd.font;
    op.origin = QPointF(x, y);
    op.ascent = fd.metrics.ascent();
    op.angle = angle;
    op.widthScale = widthScale;
    op.rect = QRectF(x, y, fd.width(text) * widthScale,
                     fd.metrics.ascent() + fd.metrics.descent());
    // A clip that would cut nothing is left out: every clip costs a graphics state on replay.
    // The ink may reach past the cell by the overhangs, so they count as well.
    const qreal slack = 0.5 * fd.font.pixelSize(); // more than any glyph reaches past its cell
    const bool wellInside = clip.isValid() && op.rect.left() - slack >= clip.left()
        && op.rect.right() + slack <= clip.right() && op.rect.top() >= clip.top()
        && op.rect.bottom() <= clip.bottom();
    if (clip.isValid() && !wellInside) {
        qreal a = 0, c = 0;
        const QStringList chars = characters(text);
        const FontData& f = this->fd();
        qreal left = op.rect.left(), right = op.rect.right();
        if (abcWidths(f, chars.first(), &a, &c) && a < 0)
            left += a;
        if (abcWidths(f, chars.last(), &a, &c) && c < 0)
            right -= c;
        if (left < clip.left() || right > clip.right() || op.rect.top() < clip.top()
            || op.rect.bottom() > clip.bottom())
            op.clip = clip;
    }
    m_rec->append(std::move(op));
}

// ---- shapes --------------------------------------------------------------------------------

void PageCanvas::Line(int x1, int x2, int y1, int y2)
{
    if (!m_rec)
        return;
    PageOp op = baseOp(PageOp::Kind::Line);
    op.points = QPolygonF({ QPointF(x1, y1), QPointF(x2, y2) });
    op.pen = pen();
    m_rec->append(std::move(op));
}

void PageCanvas::FrameRect(int x1, int x2, int y1, int y2)
{
    if (!m_rec)
        return;
    PageOp op = baseOp(PageOp::Kind::Polyline);
    op.points = QPolygonF({ QPointF(x1, y1), QPointF(x2, y1), QPointF(x2, y2), QPointF(x1, y2),
                            QPointF(x1, y1) });
    op.pen = pen();
    m_rec->append(std::move(op));
}

void PageCanvas::FillRect(qreal x1, qreal y1, qreal x2, qreal y2)
{
    if (!m_rec || m_brushClear)
        return;
    PageOp op = baseOp(PageOp::Kind::FillRect);
    op.rect = QRectF(QPointF(x1, y1), QPointF(x2, y2)).normalized();
    op.brush = QBrush(m_brushColor);
    m_rec->append(std::move(op));
}

void PageCanvas::Ellipse(int x1, int y1, int x2, int y2)
{
    if (!m_rec)
        return;
    PageOp op = baseOp(PageOp::Kind::Ellipse);
    op.rect = QRectF(QPointF(x1, y1), QPointF(x2, y2)).normalized();
    op.pen = pen();
    op.brush = m_brushClear ? QBrush(Qt::NoBrush) : QBrush(m_brushColor);
    m_rec->append(std::move(op));
}

// ---- texts -----------------------------------------------------------------------------------

void PageCanvas::TextOut(int x, int y, const QString& text)
{
    recordText(x + leftOverhang(text), y, text, QRectF());
}

void PageCanvas::TextOutCenter(int x, int y, const QString& text)
{
    recordText(x - Ceil(textWidth(text) / 2), y - Ceil(textHeight() / 2), text, QRectF());
}

namespace {
// The rectangle texts are clipped to their box across the writing direction only as far as
// the box goes: the text cell itself is never cut at top or bottom.
QRectF boxClip(qreal left, qreal right, qreal top, qreal bottom, qreal cellTop, qreal cellHeight)
{
    const qreal t = qMin(top, cellTop);
    const qreal b = qMax(bottom, cellTop + cellHeight);
    if (right <= left)
        return QRectF(left, t, 0.0001, b - t); // nothing of the text shows, as in a zero-width box
    return QRectF(left, t, right - left, b - t);
}
} // namespace

void PageCanvas::TextLeft(int left, int right, int top, int bottom, const QString& text)
{
    const qreal l = left + leftOverhang(text);
    recordText(l, top, text, boxClip(left, right, top, bottom, top, textHeight()));
}

void PageCanvas::TextCenter(int left, int right, int top, int bottom, const QString& text)
{
    const qreal x = left + (right - left - textWidth(text)) / 2;
    recordText(x, top, text, boxClip(left, right, top, bottom, top, textHeight()));
}

void PageCanvas::TextMiddle(int left, int right, int top, int bottom, const QString& text)
{
    const qreal h = textHeight();
    const qreal x = left + (right - left - textWidth(text)) / 2;
    const qreal y = top + (bottom - top - h) / 2;
    recordText(x, y, text, boxClip(left, right, top, bottom, y, h));
}

void PageCanvas::TextRight(int left, int right, int top, int bottom, const QString& text)
{
    const qreal r = right - rightOverhang(text);
    const qreal x = r - textWidth(text);
    recordText(x, top, text, boxClip(left, right, top, bottom, top, textHeight()));
}

void PageCanvas::recordVertical(int x, int top, int bottom, const QString& text, int where)
{
    if (!m_rec || text.isEmpty())
        return;
    const FontData& fd = this->fd();
    const bool upright = JapaneseFonts::isVerticalFace(m_font.name);
    std::shared_ptr<const VerticalText> layout = verticalLayout(text);
    const qreal cy = layout->columnWidth();
    const qreal cx = layout->length();
    qreal y = top;
    if (where == 1)
        y = top + std::trunc((bottom - top - cx) / 2);
    else if (where == 2)
        y = bottom - cx;

    PageOp op = baseOp(PageOp::Kind::VerticalText);
    op.text = text;
    op.font = m_font;
    op.qfont = fd.font;
    op.origin = QPointF(x, y);
    op.columnWidth = cy;
    op.length = cx;
    op.upright = upright;
    op.rect = QRectF(x, y, cy, cx);
    // Only a column that runs past Bottom (or starts above Top) needs its clip.
    if (y < top || y + cx > bottom)
        op.clip = QRectF(x, top, cy, qMax(0, bottom - top));
    op.vertical = std::move(layout);
    m_rec->append(std::move(op));
}

void PageCanvas::TextVTop(int x, int top, int bottom, const QString& text) { recordVertical(x, top, bottom, text, 0); }
void PageCanvas::TextVCenter(int x, int top, int bottom, const QString& text) { recordVertical(x, top, bottom, text, 1); }
void PageCanvas::TextVBottom(int x, int top, int bottom, const QString& text) { recordVertical(x, top, bottom, text, 2); }

void PageCanvas::TextSpaced(int x1, int x2, int y1, int y2, int count, const QString& text)
{
    if (count <= 0)
        return;
    const int cell = HalfEven(std::abs(x2 - x1) / double(count));
    const int half = HalfAway(cell / 2.0);
    const int yc = HalfAway((y1 + y2) / 2.0);
    const QStringList chars = characters(text);
    const int len = chars.size();
    for (int i = 0; i < len; ++i) {
        const int slot = len > count ? i : i + count - len;
        TextOutCenter(x1 + half + cell * slot, yc, chars[i]);
    }
}

void PageCanvas::TextOutRotated(int x, int y, double angle, double widthPercent, const QString& text)
{
    const qreal scale = widthPercent > 0 ? widthPercent / 100.0 : 1.0;
    recordText(x, y, text, QRectF(), angle, scale);
}

// ---- postal code -----------------------------------------------------------------------------

void PageCanvas::DrawPostalCode(const QString& text, int offsetX, int offsetY, bool force, int shift,
                                int frameColor, const PostalCodePage& page)
{
    const PageFont savedFont = m_font;
    const QColor savedColor = m_penColor;
    const PenStyle savedStyle = m_penStyle;
    const int savedWidth = m_penWidth;

    SetPenColor(force ? frameColor : 0xAAAAFF);
    SetPenStyle(PenStyle::psSolid);
    SetPenWidth(5);

    int x0, y0;
    if (!page.landscape) {
        x0 = offsetX + page.pageWidth - 552;
        y0 = offsetY + shift + 120;
    } else {
        x0 = offsetX + shift + page.pageWidth - 205;
        y0 = offsetY + page.pageHeight - 552;
    }

    if (!page.printing || force) {
        if (!page.landscape) {
            for (int k = 0; k < 3; ++k)
                FrameRect(x0 + 70 * k, x0 + 70 * k + 60, y0, y0 + 85);
            Line(x0 + 200, x0 + 214, y0 + 40, y0 + 40);
            SetPenWidth(2);
            for (int k = 0; k < 4; ++k)
                FrameRect(x0 + 216 + 70 * k, x0 + 216 + 70 * k + 60, y0, y0 + 85);
        } else {
            for (int k = 0; k < 3; ++k)
                FrameRect(x0, x0 + 85, y0 + 70 * k, y0 + 70 * k + 60);
            Line(x0 + 40, x0 + 40, y0 + 200, y0 + 215);
            SetPenWidth(2);
            for (int k = 0; k < 4; ++k)
                FrameRect(x0, x0 + 85, y0 + 216 + 70 * k, y0 + 216 + 70 * k + 60);
        }
    }

    m_font = savedFont;
    const QString digits = postalDigits(text);
    const QString group1 = digits.left(3);
    const QString group2 = digits.mid(3, 4);
    if (!page.landscape) {
        for (int k = 0; k < group1.size(); ++k)
            TextMiddle(x0 + 70 * k, x0 + 70 * k + 60, y0, y0 + 85, group1.mid(k, 1));
        for (int k = 0; k < group2.size(); ++k)
            TextMiddle(x0 + 216 + 70 * k, x0 + 216 + 70 * k + 60, y0, y0 + 85, group2.mid(k, 1));
    } else {
        const qreal w = textWidth(QStringLiteral("0"));
        const qreal h = textHeight();
        const int dx = Trunc(85 / 2.0 + h / 2);
        const int dy = Trunc(60 / 2.0 - w / 2);
        for (int k = 0; k < group1.size(); ++k)
            TextOutRotated(x0 + dx + 3, y0 + dy + 70 * k, 270, 100, group1.mid(k, 1));
        for (int k = 0; k < group2.size(); ++k)
            TextOutRotated(x0 + dx + 3, y0 + 216 + dy + 70 * k, 270, 100, group2.mid(k, 1));
    }

    // The pen is put back too: the boxes are this operation's own business.
    m_penColor = savedColor;
    m_penStyle = savedStyle;
    m_penWidth = savedWidth;
}

// ---- pictures -----------------------------------------------------------------------------------

void PageCanvas::DrawPicture(int x1, int x2, int y1, int y2, int mode, const PictureFile& picture)
{
    if (!m_rec || picture.isNull())
        return;
    QRectF target = QRectF(QPointF(x1, y1), QPointF(x2, y2)).normalized();
    if (target.isEmpty())
        return;
    if (mode != 1) {
        const QSizeF natural = picture.naturalSize();
        if (natural.width() > 0 && natural.height() > 0) {
            const QSizeF fitted = natural.scaled(target.size(), Qt::KeepAspectRatio);
            target = QRectF(target.center().x() - fitted.width() / 2,
                            target.center().y() - fitted.height() / 2, fitted.width(), fitted.height());
        }
    }
    PageOp op = baseOp(picture.svg() ? PageOp::Kind::Svg : PageOp::Kind::Image);
    op.rect = target;
    op.image = picture.image();
    op.svg = picture.svg();
    op.fileName = picture.fileName();
    m_rec->append(std::move(op));
}
