#include "platform/VerticalText.h"

#include <QFontDatabase>
#include <QGlyphRun>
#include <QHash>
#include <QMutex>
#include <QMutexLocker>
#include <QPainter>
#include <QTextLayout>
#include <QTransform>

#include <hb-ot.h>
#include <hb.h>
#include <unicode/uchar.h>

#include <algorithm>
#include <vector>

namespace {

// ---------------------------------------------------------------------------------------------
// HarfBuzz faces over the font tables Qt already has open, one per font file and style.

struct FaceData {
    hb_face_t* face = nullptr;
    hb_font_t* font = nullptr; // scale = units per em: shaping results are in font units
    qreal upem = 1000;
    qreal ascender = 0;        // horizontal ascender, font units
    QHash<char32_t, bool> vertical; // code point -> the vert feature gives it another glyph
};

hb_blob_t* referenceTable(hb_face_t*, hb_tag_t tag, void* userData)
{
    const auto* raw = static_cast<const QRawFont*>(userData);
    char name[5] = {0};
    hb_tag_to_string(tag, name);
    auto* data = new QByteArray(raw->fontTable(name));
    if (data->isEmpty()) {
        delete data;
        return nullptr;
    }
    return hb_blob_create(data->constData(), unsigned(data->size()), HB_MEMORY_MODE_READONLY, data,
                          [](void* p) { delete static_cast<QByteArray*>(p); });
}

const hb_feature_t* verticalFeatures()
{
    static hb_feature_t features[2];
    static bool init = [] {
        hb_feature_from_string("vert", -1, &features[0]);
        hb_feature_from_string("vrt2", -1, &features[1]);
        return true;
    }();
    (void)init;
    return features;
}

class FaceCache {
public:
    static FaceCache& instance()
    {
        // Never destroyed: the faces hold Qt's font tables, which are gone by the time
        // static objects are destroyed at exit.
        static FaceCache* cache = new FaceCache;
        return *cache;
    }

    QMutex mutex;

    // Caller holds the mutex.
    FaceData* face(const QRawFont& raw)
    {
        const QString key = raw.familyName() + QLatin1Char('\n') + raw.styleName();
        auto it = faces_.constFind(key);
        if (it != faces_.constEnd())
            return *it;
        auto* data = new FaceData;
        auto* tables = new QRawFont(raw);
        data->face = hb_face_create_for_tables(referenceTable, tables,
                                               [](void* p) { delete static_cast<QRawFont*>(p); });
        const unsigned upem = hb_face_get_upem(data->face);
        data->upem = upem > 0 ? upem : 1000;
        data->font = hb_font_create(data->face);
        hb_font_set_scale(data->font, int(data->upem), int(data->upem));
        hb_font_extents_t extents{};
        if (hb_font_get_h_extents(data->font, &extents))
            data->ascender = extents.ascender;
        else
            data->ascender = data->upem * 0.88;
        faces_.insert(key, data);
        return data;
    }

    // Caller holds the mutex. A buffer reset for a new run.
    hb_buffer_t* buffer()
    {
        if (!buffer_)
            buffer_ = hb_buffer_create();
        hb_buffer_reset(buffer_);
        return buffer_;
    }

    // Caller holds the mutex.
    bool hasVerticalAlternate(FaceData* f, char32_t cp, hb_codepoint_t nominal)
    {
        auto it = f->vertical.constFind(cp);
        if (it != f->vertical.constEnd())
            return *it;
        hb_buffer_t* b = buffer();
        hb_buffer_add_codepoints(b, reinterpret_cast<const hb_codepoint_t*>(&cp), 1, 0, 1);
        hb_buffer_set_direction(b, HB_DIRECTION_TTB);
        hb_buffer_set_script(b, HB_SCRIPT_HAN);
        hb_buffer_set_language(b, hb_language_from_string("ja", -1));
        hb_shape(f->font, b, verticalFeatures(), 2);
        unsigned count = 0;
        const hb_glyph_info_t* info = hb_buffer_get_glyph_infos(b, &count);
        const bool alt = count == 1 && info[0].codepoint != nominal;
        f->vertical.insert(cp, alt);
        return alt;
    }

private:
    QHash<QString, FaceData*> faces_; // kept for the life of the program
    hb_buffer_t* buffer_ = nullptr;
};

// ---------------------------------------------------------------------------------------------
// Characters

char32_t codePointAt(const QString& s, int i, int* length)
{
    const QChar c = s.at(i);
    if (c.isHighSurrogate() && i + 1 < s.size() && s.at(i + 1).isLowSurrogate()) {
        *length = 2;
        return QChar::surrogateToUcs4(c, s.at(i + 1));
    }
    *length = 1;
    return c.unicode();
}

// Marks, variation selectors and joiners stay with the character before them.
bool extendsPrevious(char32_t cp)
{
    switch (u_charType(UChar32(cp))) {
    case U_NON_SPACING_MARK:
    case U_ENCLOSING_MARK:
    case U_COMBINING_SPACING_MARK:
    case U_FORMAT_CHAR:
        return true;
    default:
        return u_hasBinaryProperty(UChar32(cp), UCHAR_VARIATION_SELECTOR);
    }
}

// Vertical_Orientation U and Tu stand upright; R and Tr are turned unless the face has a
// vertical alternate (then the alternate stands upright).
bool uprightByDefault(char32_t cp)
{
    const int vo = u_getIntPropertyValue(UChar32(cp), UCHAR_VERTICAL_ORIENTATION);
    return vo == U_VO_UPRIGHT || vo == U_VO_TRANSFORMED_UPRIGHT;
}

// Controls, and the object replacement character (a placeholder for an embedded object, left
// in text pasted from documents), stand for nothing a column can draw. Qt measures the latter
// as an inline object of width -1, which made a turned column's length negative.
bool takesNoSpace(QChar c)
{
    return c.category() == QChar::Other_Control || c == QChar(QChar::ObjectReplacementCharacter);
}

QString withoutControls(const QString& text)
{
    if (std::none_of(text.begin(), text.end(), takesNoSpace))
        return text;
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        if (!takesNoSpace(c))
            out.append(c);
    }
    return out;
}

struct Segment {
    int begin = 0;
    int end = 0;
    bool sideways = false;
    bool fallback = false;
    bool tateChuYoko = false;
};

bool isAsciiLetter(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z');
}

// ASCII or full-width digit.
bool isDigit(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'0' && u <= u'9') || (u >= 0xFF10 && u <= 0xFF19);
}

bool isBang(QChar c)
{
    return c == QLatin1Char('!') || c.unicode() == 0xFF01;
}

bool isBangOrQuestion(QChar c)
{
    return isBang(c) || c == QLatin1Char('?') || c.unicode() == 0xFF1F;
}

// The half-width form of a full-width digit, "！" or "？"; anything else as it is.
QChar halfWidth(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 0xFF01 && u <= 0xFF5E) ? QChar(char16_t(u - 0xFF01 + u'!')) : c;
}

// 縦中横: marks where a pair starts (pairs[i]) and turns the digits of runs that stand
// upright into their full-width forms. Digits next to a half-width Latin letter belong to
// the word and stay as they are.
void markTateChuYoko(QString& text, std::vector<bool>& pairs)
{
    const int n = int(text.size());
    pairs.assign(size_t(n), false);
    int i = 0;
    while (i < n) {
        const QChar c = text.at(i);
        if (isDigit(c)) {
            int end = i;
            while (end < n && isDigit(text.at(end)))
                ++end;
            const bool inWord = (i > 0 && isAsciiLetter(text.at(i - 1))) || (end < n && isAsciiLetter(text.at(end)));
            if (!inWord) {
                if (end - i == 2) {
                    pairs[size_t(i)] = true;
                } else {
                    for (int k = i; k < end; ++k) {
                        const char16_t u = text.at(k).unicode();
                        if (u <= u'9')
                            text[k] = QChar(char16_t(u - u'0' + 0xFF10));
                    }
                }
            }
            i = end;
            continue;
        }
        if (isBangOrQuestion(c)) {
            int end = i;
            while (end < n && isBangOrQuestion(text.at(end)))
                ++end;
            if (end - i == 2 && isBang(c))
                pairs[size_t(i)] = true;
            i = end;
            continue;
        }
        ++i;
    }
}

} // namespace

// ---------------------------------------------------------------------------------------------

struct VerticalText::Impl {
    QFont font;
    QRawFont raw;
    QString text;
    VerticalText::Options options;
    std::vector<bool> pairs; // 縦中横: a pair starts here
    qreal ascent = 0;
    qreal descent = 0;
    qreal length = 0;

    struct Piece {
        QGlyphRun run;
        bool sideways = false;
        bool across = false; // 縦中横: horizontal glyphs, squeezed by hscale
        qreal hscale = 1;
        QPointF origin; // column coordinates of the run's origin (its baseline start when sideways or across)
    };
    std::vector<Piece> pieces;
    QList<VerticalText::Run> runs;

    // Upright glyphs of the main face, collected into one glyph run.
    QList<quint32> uprightGlyphs;
    QList<QPointF> uprightPositions;

    void layout(bool upright);
    std::vector<Segment> segments(FaceCache& cache, FaceData* face, bool upright) const;
    void shapeUpright(FaceCache& cache, FaceData* face, const Segment& seg);
    void shapeSideways(FaceCache& cache, FaceData* face, const Segment& seg);
    void shapeAcross(FaceCache& cache, FaceData* face, const Segment& seg);
    qreal shapeLeftToRight(FaceCache& cache, FaceData* face, const QString& s, int begin, int end,
                           QList<quint32>* glyphs, QList<QPointF>* positions) const;
    void fallbackSideways(const Segment& seg);
    void fallbackUpright(const Segment& seg, FaceData* face);
    void addRun(const Segment& seg, qreal start, QList<quint32> glyphs)
    {
        VerticalText::Run r;
        r.text = text.mid(seg.begin, seg.end - seg.begin);
        r.sideways = seg.sideways;
        r.fallback = seg.fallback;
        r.tateChuYoko = seg.tateChuYoko;
        r.start = start;
        r.advance = length - start;
        r.glyphs = std::move(glyphs);
        runs.append(std::move(r));
    }
};

std::vector<Segment> VerticalText::Impl::segments(FaceCache& cache, FaceData* face, bool upright) const
{
    std::vector<Segment> out;
    const int n = int(text.size());
    int i = 0;
    while (i < n) {
        if (upright && face && size_t(i + 1) < pairs.size() && pairs[size_t(i)]) {
            hb_codepoint_t g1 = 0, g2 = 0;
            if (hb_font_get_nominal_glyph(face->font, halfWidth(text.at(i)).unicode(), &g1)
                && hb_font_get_nominal_glyph(face->font, halfWidth(text.at(i + 1)).unicode(), &g2)) {
                out.push_back(Segment{i, i + 2, false, false, true});
                i += 2;
                continue;
            }
        }
        int len = 1;
        const char32_t cp = codePointAt(text, i, &len);
        Segment s{i, i + len, false, false};
        if (!(extendsPrevious(cp) && !out.empty() && !out.back().tateChuYoko)) {
            hb_codepoint_t glyph = 0;
            const bool supported = face && hb_font_get_nominal_glyph(face->font, cp, &glyph);
            s.fallback = !supported;
            if (!upright)
                s.sideways = true;
            else if (supported && cache.hasVerticalAlternate(face, cp, glyph))
                s.sideways = false;
            else
                s.sideways = !uprightByDefault(cp);
        } else {
            s.sideways = out.back().sideways;
            s.fallback = out.back().fallback;
        }
        if (!out.empty() && !out.back().tateChuYoko && out.back().sideways == s.sideways
            && out.back().fallback == s.fallback && out.back().end == s.begin)
            out.back().end = s.end;
        else
            out.push_back(s);
        i += len;
    }
    // A turned line in a face that lacks some character: let Qt lay out the whole line with
    // its own font fallback, so the line stays one run.
    if (!upright && out.size() > 1) {
        Segment all{0, n, true, true};
        out.assign(1, all);
    }
    return out;
}

void VerticalText::Impl::shapeUpright(FaceCache& cache, FaceData* face, const Segment& seg)
{
    hb_buffer_t* b = cache.buffer();
    hb_buffer_add_utf16(b, reinterpret_cast<const uint16_t*>(text.utf16()), int(text.size()), unsigned(seg.begin),
                        seg.end - seg.begin);
    hb_buffer_guess_segment_properties(b);
    hb_buffer_set_direction(b, HB_DIRECTION_TTB);
    hb_buffer_set_language(b, hb_language_from_string("ja", -1));
    hb_shape(face->font, b, verticalFeatures(), 2);

    unsigned count = 0;
    const hb_glyph_info_t* info = hb_buffer_get_glyph_infos(b, &count);
    const hb_glyph_position_t* pos = hb_buffer_get_glyph_positions(b, &count);
    const qreal scale = raw.pixelSize() / face->upem;
    const qreal centre = (ascent + descent) / 2;
    const qreal start = length;
    QList<quint32> glyphs;
    glyphs.reserve(count);
    // HarfBuzz is y-up: the glyph sits at pen + (x_offset, -y_offset); the pen moves down by -y_advance.
    qreal pen = length;
    for (unsigned k = 0; k < count; ++k) {
        uprightGlyphs.append(info[k].codepoint);
        uprightPositions.append(QPointF(centre + pos[k].x_offset * scale, pen - pos[k].y_offset * scale));
        glyphs.append(info[k].codepoint);
        pen -= pos[k].y_advance * scale;
    }
    length = pen;
    addRun(seg, start, std::move(glyphs));
}

// Glyphs of text[begin, end) shaped left to right, positioned from 0 along the baseline;
// returns the advance of the whole run.
qreal VerticalText::Impl::shapeLeftToRight(FaceCache& cache, FaceData* face, const QString& s, int begin, int end,
                                           QList<quint32>* glyphs, QList<QPointF>* positions) const
{
    hb_buffer_t* b = cache.buffer();
    hb_buffer_add_utf16(b, reinterpret_cast<const uint16_t*>(s.utf16()), int(s.size()), unsigned(begin), end - begin);
    hb_buffer_guess_segment_properties(b);
    hb_buffer_set_direction(b, HB_DIRECTION_LTR);
    hb_shape(face->font, b, nullptr, 0);

    unsigned count = 0;
    const hb_glyph_info_t* info = hb_buffer_get_glyph_infos(b, &count);
    const hb_glyph_position_t* pos = hb_buffer_get_glyph_positions(b, &count);
    const qreal scale = raw.pixelSize() / face->upem;
    glyphs->reserve(count);
    positions->reserve(count);
    qreal pen = 0;
    for (unsigned k = 0; k < count; ++k) {
        glyphs->append(info[k].codepoint);
        positions->append(QPointF(pen + pos[k].x_offset * scale, -pos[k].y_offset * scale));
        pen += pos[k].x_advance * scale;
    }
    return pen;
}

void VerticalText::Impl::shapeSideways(FaceCache& cache, FaceData* face, const Segment& seg)
{
    QList<quint32> glyphs;
    QList<QPointF> positions;
    const qreal pen = shapeLeftToRight(cache, face, text, seg.begin, seg.end, &glyphs, &positions);
    Piece piece;
    piece.sideways = true;
    piece.origin = QPointF(descent, length);
    piece.run.setRawFont(raw);
    piece.run.setGlyphIndexes(glyphs);
    piece.run.setPositions(positions);
    pieces.push_back(std::move(piece));
    const qreal start = length;
    length += pen;
    addRun(seg, start, std::move(glyphs));
}

// 縦中横: the pair's half-width glyphs side by side, squeezed to one em when wider, their ink
// centred across the column (a "1" or a "!" has much room on one side of its advance), on the
// baseline an upright character of this step has.
void VerticalText::Impl::shapeAcross(FaceCache& cache, FaceData* face, const Segment& seg)
{
    QString pair;
    for (int k = seg.begin; k < seg.end; ++k)
        pair += halfWidth(text.at(k));
    QList<quint32> glyphs;
    QList<QPointF> positions;
    const qreal pen = shapeLeftToRight(cache, face, pair, 0, int(pair.size()), &glyphs, &positions);
    const qreal scale = raw.pixelSize() / face->upem;
    const qreal em = raw.pixelSize();
    const qreal column = ascent + descent;
    const qreal room = qMin(em, column);
    qreal inkLeft = 0, inkRight = pen;
    bool anyInk = false;
    for (int k = 0; k < glyphs.size(); ++k) {
        const QRectF box = raw.boundingRect(glyphs[k]);
        if (box.isEmpty())
            continue;
        const qreal l = positions[k].x() + box.left(), r = positions[k].x() + box.right();
        inkLeft = anyInk ? qMin(inkLeft, l) : l;
        inkRight = anyInk ? qMax(inkRight, r) : r;
        anyInk = true;
    }
    Piece piece;
    piece.across = true;
    piece.hscale = pen > room && pen > 0 ? room / pen : 1;
    const qreal inkCentre = (inkLeft + inkRight) / 2 * piece.hscale;
    piece.origin = QPointF(column / 2 - inkCentre, length + face->ascender * scale);
    piece.run.setRawFont(raw);
    piece.run.setGlyphIndexes(glyphs);
    piece.run.setPositions(positions);
    pieces.push_back(std::move(piece));
    const qreal start = length;
    length += em;
    addRun(seg, start, std::move(glyphs));
}

// Characters the main face lacks: Qt's text layout finds a face that has them.
void VerticalText::Impl::fallbackSideways(const Segment& seg)
{
    QTextLayout layout(text.mid(seg.begin, seg.end - seg.begin), font);
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    if (line.isValid())
        line.setLineWidth(1e6);
    layout.endLayout();
    const qreal start = length;
    QList<quint32> all;
    if (line.isValid()) {
        const qreal baseline = line.ascent();
        for (QGlyphRun run : layout.glyphRuns()) {
            QList<QPointF> positions = run.positions();
            for (QPointF& p : positions)
                p.ry() -= baseline;
            run.setPositions(positions);
            all.append(run.glyphIndexes());
            Piece piece;
            piece.sideways = true;
            piece.origin = QPointF(descent, start);
            piece.run = run;
            pieces.push_back(std::move(piece));
        }
        length += line.horizontalAdvance();
    }
    addRun(seg, start, std::move(all));
}

void VerticalText::Impl::fallbackUpright(const Segment& seg, FaceData* face)
{
    const qreal em = raw.isValid() ? raw.pixelSize() : font.pixelSize() > 0 ? font.pixelSize() : ascent + descent;
    const qreal baselineOffset = face ? face->ascender * raw.pixelSize() / face->upem : ascent;
    const qreal centre = (ascent + descent) / 2;
    const qreal start = length;
    QList<quint32> all;
    int i = seg.begin;
    while (i < seg.end) {
        int len = 1;
        codePointAt(text, i, &len);
        while (i + len < seg.end) { // keep marks with their base
            int l2 = 1;
            const char32_t next = codePointAt(text, i + len, &l2);
            if (!extendsPrevious(next))
                break;
            len += l2;
        }
        QTextLayout layout(text.mid(i, len), font);
        layout.beginLayout();
        QTextLine line = layout.createLine();
        layout.endLayout();
        if (line.isValid()) {
            const qreal width = line.horizontalAdvance();
            for (QGlyphRun run : layout.glyphRuns()) {
                QList<QPointF> positions = run.positions();
                for (QPointF& p : positions)
                    p += QPointF(centre - width / 2, length + baselineOffset - line.ascent());
                run.setPositions(positions);
                all.append(run.glyphIndexes());
                Piece piece;
                piece.run = run;
                pieces.push_back(std::move(piece));
            }
        }
        length += em;
        i += len;
    }
    addRun(seg, start, std::move(all));
}

void VerticalText::Impl::layout(bool upright)
{
    raw = QRawFont::fromFont(font, upright ? QFontDatabase::Japanese : QFontDatabase::Any);
    if (!raw.isValid())
        raw = QRawFont::fromFont(font);
    if (raw.isValid()) {
        ascent = raw.ascent();
        descent = raw.descent();
    } else {
        const QFontMetricsF fm(font);
        ascent = fm.ascent();
        descent = fm.descent();
    }
    if (text.isEmpty())
        return;

    FaceCache& cache = FaceCache::instance();
    QMutexLocker lock(&cache.mutex);
    FaceData* face = raw.isValid() ? cache.face(raw) : nullptr;
    for (const Segment& seg : segments(cache, face, upright)) {
        if (seg.tateChuYoko) {
            shapeAcross(cache, face, seg);
        } else if (seg.fallback) {
            if (seg.sideways)
                fallbackSideways(seg);
            else
                fallbackUpright(seg, face);
        } else if (seg.sideways) {
            shapeSideways(cache, face, seg);
        } else {
            shapeUpright(cache, face, seg);
        }
    }
    if (!uprightGlyphs.isEmpty()) {
        Piece piece;
        piece.run.setRawFont(raw);
        piece.run.setGlyphIndexes(uprightGlyphs);
        piece.run.setPositions(uprightPositions);
        pieces.push_back(std::move(piece));
    }
}

VerticalText::VerticalText(const QFont& font, const QString& text, bool upright)
    : VerticalText(font, text, upright, Options())
{
}

VerticalText::VerticalText(const QFont& font, const QString& text, bool upright, Options options)
    : d(std::make_unique<Impl>())
{
    d->font = font;
    d->text = withoutControls(text);
    d->options = options;
    if (options.tateChuYoko && upright)
        markTateChuYoko(d->text, d->pairs);
    d->layout(upright);
}

VerticalText::~VerticalText() = default;
VerticalText::VerticalText(VerticalText&&) noexcept = default;
VerticalText& VerticalText::operator=(VerticalText&&) noexcept = default;

qreal VerticalText::columnWidth() const
{
    return d ? d->ascent + d->descent : 0;
}

qreal VerticalText::length() const
{
    return d ? d->length : 0;
}

void VerticalText::draw(QPainter* painter, qreal left, qreal top) const
{
    if (!d || !painter || d->pieces.empty())
        return;
    const QTransform base = painter->worldTransform();
    bool turned = false;
    for (const Impl::Piece& piece : d->pieces) {
        if (piece.across) {
            QTransform t = base;
            t.translate(left + piece.origin.x(), top + piece.origin.y());
            t.scale(piece.hscale, 1);
            painter->setWorldTransform(t);
            turned = true;
            painter->drawGlyphRun(QPointF(0, 0), piece.run);
            continue;
        }
        if (!piece.sideways) {
            if (turned) {
                painter->setWorldTransform(base);
                turned = false;
            }
            painter->drawGlyphRun(QPointF(left, top) + piece.origin, piece.run);
            continue;
        }
        QTransform t = base;
        t.translate(left + piece.origin.x(), top + piece.origin.y());
        t.rotate(90);
        painter->setWorldTransform(t);
        turned = true;
        painter->drawGlyphRun(QPointF(0, 0), piece.run);
    }
    if (turned)
        painter->setWorldTransform(base);
}

QList<VerticalText::Run> VerticalText::runs() const
{
    return d ? d->runs : QList<Run>();
}

QRawFont VerticalText::rawFont() const
{
    return d ? d->raw : QRawFont();
}
