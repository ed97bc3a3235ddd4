// The drawing operations of a page, checked against what they record and, where the
// geometry matters on paper, against where the ink lands when the page is replayed.

#include "PreviewTestSupport.h"

#include "preview/PageCanvas.h"
#include "preview/PageMath.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QRawFont>
#include <gtest/gtest.h>

using namespace previewtest;

namespace {

constexpr int kCardW = 1000; // postcard, 0.1 mm
constexpr int kCardH = 1480;

struct Page {
    PageRecording rec;
    PageCanvas canvas { &rec, kCardW, kCardH };
};

QPointF centreOf(const QRectF& r) { return r.center(); }

} // namespace

// ---- rounding and fonts ------------------------------------------------------------------------

TEST(PageMath, RoundingRules)
{
    struct Case { double x; int away; int even; };
    const Case cases[] = {
        { 0.5, 1, 0 }, { 1.5, 2, 2 }, { 2.5, 3, 2 }, { -0.5, -1, 0 }, { -2.5, -3, -2 },
        { 2.4999, 2, 2 }, { -3.6, -4, -4 }, { 7.0, 7, 7 },
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PageMath::HalfAway(c.x), c.away) << c.x;
        EXPECT_EQ(PageMath::HalfEven(c.x), c.even) << c.x;
    }
}

TEST(PageCanvasFont, HeightIsMinusHalfAwayOfPointsTimes254Over72)
{
    struct Case { double points; int height; };
    // 54 pt is 190.5 units exactly: ties go away from zero (an even rule would give 190).
    const Case cases[] = { { 10.5, -37 }, { 9, -32 }, { 12, -42 }, { 8, -28 }, { 14, -49 },
                           { 18, -64 }, { 54, -191 }, { 6.3, -22 } };
    for (const Case& c : cases) {
        Page p;
        p.canvas.SetFontName(QStringLiteral("ＭＳ 明朝"));
        p.canvas.SetFontSize(c.points);
        EXPECT_EQ(p.canvas.font().height, c.height) << c.points;
        // The text is drawn at that character height.
        p.canvas.TextOut(100, 100, QStringLiteral("東"));
        ASSERT_EQ(textOps(p.rec).size(), 1);
        EXPECT_EQ(textOps(p.rec)[0]->qfont.pixelSize(), -c.height) << c.points;
    }
}

TEST(PageCanvasFont, FreshCanvasIsTenAndAHalfPoints)
{
    Page p;
    EXPECT_EQ(p.canvas.font().height, -37);
    EXPECT_FALSE(p.canvas.font().bold);
}

TEST(PageCanvasFont, StyleFlagsAndFaceAreRecordedWithTheText)
{
    Page p;
    p.canvas.SetFontName(QStringLiteral("ＭＳ ゴシック"));
    p.canvas.SetFontStyle(FontStyle::fsBold | FontStyle::fsUnderline);
    p.canvas.TextOut(0, 0, QStringLiteral("様"));
    p.canvas.SetFontStyle(FontStyle::fsItalic | FontStyle::fsStrikeOut);
    p.canvas.TextOut(0, 0, QStringLiteral("殿"));
    const auto ops = textOps(p.rec);
    ASSERT_EQ(ops.size(), 2);
    EXPECT_EQ(ops[0]->font.name, QStringLiteral("ＭＳ ゴシック"));
    EXPECT_TRUE(ops[0]->font.bold && ops[0]->font.underline && !ops[0]->font.italic);
    EXPECT_TRUE(ops[0]->qfont.bold() && ops[0]->qfont.underline());
    EXPECT_TRUE(ops[1]->font.italic && ops[1]->font.strikeOut && !ops[1]->font.bold);
    EXPECT_TRUE(ops[1]->qfont.italic() && ops[1]->qfont.strikeOut());
}

TEST(PageCanvasFont, JapaneseFaceNamesDrawJapanese)
{
    // A Windows face name must reach a font that has kanji, or the card prints empty boxes.
    for (const QString& face : { QStringLiteral("ＭＳ 明朝"), QStringLiteral("@ＭＳ 明朝"),
                                 QStringLiteral("ＭＳ Ｐゴシック") }) {
        Page p;
        p.canvas.SetFontName(face);
        p.canvas.SetFontSize(20);
        p.canvas.TextOut(100, 100, QStringLiteral("東京都"));
        const auto ops = textOps(p.rec);
        ASSERT_EQ(ops.size(), 1);
        const QRawFont raw = QRawFont::fromFont(ops[0]->qfont);
        EXPECT_TRUE(raw.supportsCharacter(QChar(0x6771))) << face.toStdString() << " -> "
                                                            << ops[0]->qfont.family().toStdString();
    }
}

// ---- colours and pens ----------------------------------------------------------------------

TEST(PageMath, ColoursAreBlueInTheHighByte)
{
    struct Case { int bgr; QColor rgb; };
    const Case cases[] = { { 0x0000FF, QColor(255, 0, 0) }, { 0xFF0000, QColor(0, 0, 255) },
                           { 0x00FF00, QColor(0, 255, 0) }, { 0xAAAAFF, QColor(255, 170, 170) },
                           { 0x008000, QColor(0, 128, 0) }, { 0xC0C0C0, QColor(192, 192, 192) } };
    for (const Case& c : cases) {
        EXPECT_EQ(PageMath::colorFromBGR(c.bgr), c.rgb) << std::hex << c.bgr;
        EXPECT_EQ(PageMath::bgrFromColor(c.rgb), c.bgr);
    }
}

TEST(PageCanvasShapes, FrameRectIsAClosedOutlineWithTheCurrentPen)
{
    Page p;
    p.canvas.SetPenColor(0x008000);
    p.canvas.SetPenWidth(3);
    p.canvas.SetPenStyle(PenStyle::psDash);
    p.canvas.FrameRect(10, 90, 20, 70);   // X1, X2, Y1, Y2
    p.canvas.SetPenStyle(PenStyle::psSolid);
    p.canvas.SetPenWidth(0);
    p.canvas.Line(5, 25, 7, 9);           // X1, X2, Y1, Y2
    const auto polys = p.rec.ofKind(PageOp::Kind::Polyline);
    ASSERT_EQ(polys.size(), 1);
    const QPolygonF expected({ QPointF(10, 20), QPointF(90, 20), QPointF(90, 70), QPointF(10, 70), QPointF(10, 20) });
    EXPECT_EQ(polys[0]->points, expected);
    EXPECT_EQ(polys[0]->pen.color(), QColor(0, 128, 0));
    EXPECT_EQ(polys[0]->pen.widthF(), 3);
    EXPECT_EQ(polys[0]->pen.style(), Qt::DashLine);

    const auto lines = p.rec.ofKind(PageOp::Kind::Line);
    ASSERT_EQ(lines.size(), 1);
    EXPECT_EQ(lines[0]->points[0], QPointF(5, 7));
    EXPECT_EQ(lines[0]->points[1], QPointF(25, 9));
    EXPECT_TRUE(lines[0]->pen.isCosmetic()) << "width 0 is one device pixel";
}

TEST(PageCanvasShapes, NothingIsFilledByFrameRect)
{
    Page p;
    p.canvas.SetPenWidth(4);
    p.canvas.FrameRect(100, 300, 100, 300);
    const QImage img = renderAtUnitScale(p.rec);
    EXPECT_EQ(img.pixel(200, 200), qRgb(255, 255, 255));
    EXPECT_LT(qRed(img.pixel(100, 200)), 60);
}

// ---- texts ---------------------------------------------------------------------------------------

TEST(PageCanvasText, RectangleTextsAlignTheirCell)
{
    // left, right, top, bottom of a field box in 0.1 mm
    const int L = 100, R = 700, T = 200, B = 320;
    struct Case { const char* name; int op; };
    const Case cases[] = { { "TextLeft", 0 }, { "TextCenter", 1 }, { "TextMiddle", 2 }, { "TextRight", 3 } };
    const QString text = QStringLiteral("東京都港区1-2-3");
    for (const Case& c : cases) {
        Page p;
        p.canvas.SetFontName(QStringLiteral("ＭＳ 明朝"));
        p.canvas.SetFontSize(12);
        switch (c.op) {
        case 0: p.canvas.TextLeft(L, R, T, B, text); break;
        case 1: p.canvas.TextCenter(L, R, T, B, text); break;
        case 2: p.canvas.TextMiddle(L, R, T, B, text); break;
        case 3: p.canvas.TextRight(L, R, T, B, text); break;
        }
        const auto ops = textOps(p.rec);
        ASSERT_EQ(ops.size(), 1) << c.name;
        const QRectF cell = ops[0]->rect;
        EXPECT_NEAR(cell.width(), p.canvas.textWidth(text), 1e-6) << c.name;
        switch (c.op) {
        case 0:
            EXPECT_DOUBLE_EQ(cell.left(), L) << c.name; // a kanji has no overhang
            EXPECT_DOUBLE_EQ(cell.top(), T);
            break;
        case 1:
            EXPECT_NEAR(cell.center().x(), (L + R) / 2.0, 1e-6) << c.name;
            EXPECT_DOUBLE_EQ(cell.top(), T);
            break;
        case 2:
            EXPECT_NEAR(cell.center().x(), (L + R) / 2.0, 1e-6) << c.name;
            EXPECT_NEAR(cell.center().y(), (T + B) / 2.0, 1e-6) << c.name;
            break;
        case 3:
            EXPECT_NEAR(cell.right(), R, 1e-6) << c.name;
            EXPECT_DOUBLE_EQ(cell.top(), T);
            break;
        }
    }
}

TEST(PageCanvasText, TextWiderThanItsBoxIsCutAtTheBoxSides)
{
    Page p;
    p.canvas.SetFontName(QStringLiteral("ＭＳ 明朝"));
    p.canvas.SetFontSize(20);
    p.canvas.TextLeft(100, 250, 100, 180, QStringLiteral("東京都千代田区千代田"));
    const QImage img = renderAtUnitScale(p.rec);
    const QRect ink = inkBox(img, QRect(0, 0, kCardW, 400));
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_GE(ink.left(), 100);
    EXPECT_LE(ink.right(), 250);
}

TEST(PageCanvasText, TextOutCenterCentresOnThePoint)
{
    Page p;
    p.canvas.SetFontName(QStringLiteral("ＭＳ ゴシック"));
    p.canvas.SetFontSize(10);
    p.canvas.TextOutCenter(500, 300, QStringLiteral("8"));
    const auto ops = textOps(p.rec);
    ASSERT_EQ(ops.size(), 1);
    // X − Ceil(width / 2), Y − Ceil(height of "Hg" / 2)
    EXPECT_DOUBLE_EQ(ops[0]->origin.x(), 500 - std::ceil(p.canvas.textWidth(QStringLiteral("8")) / 2));
    EXPECT_DOUBLE_EQ(ops[0]->origin.y(), 300 - std::ceil(p.canvas.textHeight() / 2));
    EXPECT_NEAR(ops[0]->rect.center().x(), 500, 1.0);
    EXPECT_NEAR(ops[0]->rect.center().y(), 300, 1.0);
}

TEST(PageCanvasText, OverhangsKeepTheInkInsideTheGivenEdges)
{
    // DejaVu Serif's "j" reaches left of its origin and its italic "f" right of its advance.
    struct Case { const char* text; bool italic; int op; bool expectShift; };
    const Case cases[] = {
        { "jump", false, 0, true },   // TextOut, first character with negative A width
        { "jump", false, 1, true },   // TextLeft
        { "Hello", false, 0, false }, // no negative A width: not shifted
        { "Hello", false, 1, false },
        { "leaf", true, 2, true },    // TextRight, last character with negative C width
        { "Hello", false, 2, false },
    };
    for (const Case& c : cases) {
        Page p;
        p.canvas.SetFontName(QStringLiteral("DejaVu Serif"));
        p.canvas.SetFontSize(36);
        p.canvas.SetFontStyle(c.italic ? FontStyle::fsItalic : 0);
        const QString text = QString::fromLatin1(c.text);
        const int X = 200, R = 800, Y = 300;
        if (c.op == 0)
            p.canvas.TextOut(X, Y, text);
        else if (c.op == 1)
            p.canvas.TextLeft(X, R, Y, Y + 200, text);
        else
            p.canvas.TextRight(X, R, Y, Y + 200, text);
        const auto ops = textOps(p.rec);
        ASSERT_EQ(ops.size(), 1);
        const QImage img = renderAtUnitScale(p.rec);
        const QRect ink = inkBox(img, QRect(0, 0, kCardW, 700));
        ASSERT_FALSE(ink.isEmpty()) << c.text;
        if (c.op == 2) {
            const int ov = p.canvas.rightOverhang(text);
            EXPECT_EQ(ov > 0, c.expectShift) << c.text << " overhang " << ov;
            EXPECT_NEAR(ops[0]->rect.right(), R - ov, 1e-6) << c.text;
            EXPECT_LE(ink.right(), R) << c.text << ": ink must not pass the right edge";
        } else {
            const int ov = p.canvas.leftOverhang(text);
            EXPECT_EQ(ov > 0, c.expectShift) << c.text << " overhang " << ov;
            EXPECT_DOUBLE_EQ(ops[0]->origin.x(), X + ov) << c.text;
            EXPECT_GE(ink.left(), X - 1) << c.text << ": ink must not start left of X";
            if (c.expectShift) {
                EXPECT_LE(ink.left(), X + 2) << c.text << ": and it starts right there";
            }
        }
    }
}

TEST(PageCanvasText, OverhangIsHalfEvenOfTheNegativeBearing)
{
    Page p;
    p.canvas.SetFontName(QStringLiteral("DejaVu Serif"));
    p.canvas.SetFontSize(36);
    QFont f = p.canvas.resolvedFont();
    f.setPixelSize(1000);
    const QRawFont raw = QRawFont::fromFont(f);
    const QVector<quint32> g = raw.glyphIndexesForString(QStringLiteral("j"));
    ASSERT_FALSE(g.isEmpty());
    const double a = raw.boundingRect(g[0]).left() * p.canvas.resolvedFont().pixelSize() / 1000.0;
    ASSERT_LT(a, 0);
    EXPECT_EQ(p.canvas.leftOverhang(QStringLiteral("jam")), -PageMath::HalfEven(a));
    EXPECT_EQ(p.canvas.leftOverhang(QString()), 0);
}

TEST(PageCanvasText, TextSpacedPutsOneCharacterPerCell)
{
    struct Case {
        const char* label;
        int x1, x2, count;
        QString text;
        QVector<int> centres; // x of each character's centre
    };
    const Case cases[] = {
        // the sender postal boxes of a postcard: 4 mm cells
        { "three in three", 0, 120, 3, QStringLiteral("123"), { 20, 60, 100 } },
        { "four in four", 130, 290, 4, QStringLiteral("4567"), { 150, 190, 230, 270 } },
        // a short text fills the rightmost cells
        { "two in four", 130, 290, 4, QStringLiteral("45"), { 230, 270 } },
        // a longer text continues past X2 at the same pitch
        { "five in three", 0, 120, 3, QStringLiteral("12345"), { 20, 60, 100, 140, 180 } },
        // a double-byte character takes one cell, not two
        { "full-width", 0, 120, 3, QStringLiteral("１２３"), { 20, 60, 100 } },
        { "mixed", 0, 160, 4, QStringLiteral("〒12"), { 60, 100, 140 } },
        // Cell := HalfEven(|X2 − X1| / Count), Half := HalfAway(Cell / 2)
        { "tie to even", 0, 90, 4, QStringLiteral("1234"), { 11, 33, 55, 77 } },
        { "tie to even up", 0, 150, 4, QStringLiteral("1234"), { 19, 57, 95, 133 } },
        { "reversed edges", 120, 0, 3, QStringLiteral("123"), { 140, 180, 220 } },
    };
    for (const Case& c : cases) {
        Page p;
        p.canvas.SetFontName(QStringLiteral("ＭＳ 明朝"));
        p.canvas.SetFontSize(9);
        p.canvas.TextSpaced(c.x1, c.x2, 1000, 1065, c.count, c.text);
        const auto ops = textOps(p.rec);
        ASSERT_EQ(ops.size(), c.centres.size()) << c.label;
        const qreal h = p.canvas.textHeight();
        for (int i = 0; i < ops.size(); ++i) {
            const qreal w = p.canvas.textWidth(ops[i]->text);
            EXPECT_DOUBLE_EQ(ops[i]->origin.x(), c.centres[i] - std::ceil(w / 2)) << c.label << " char " << i;
            // Yc := HalfAway((1000 + 1065) / 2) = 1033
            EXPECT_DOUBLE_EQ(ops[i]->origin.y(), 1033 - std::ceil(h / 2)) << c.label;
        }
        EXPECT_EQ(p.rec.texts().join(QString()), c.text) << c.label;
    }
}

TEST(PageCanvasText, TextSpacedWithoutCellsDrawsNothing)
{
    Page p;
    p.canvas.TextSpaced(0, 120, 0, 65, 0, QStringLiteral("123"));
    p.canvas.TextSpaced(0, 120, 0, 65, -2, QStringLiteral("123"));
    EXPECT_TRUE(p.rec.isEmpty());
}

TEST(PageCanvasText, VerticalTextReferencePoints)
{
    const int X = 600, T = 200, B = 1200;
    const QString text = QStringLiteral("東京都港区芝公園四丁目");
    for (const QString& face : { QStringLiteral("@ＭＳ 明朝"), QStringLiteral("ＭＳ 明朝") }) {
        for (int where = 0; where < 3; ++where) {
            Page p;
            p.canvas.SetFontName(face);
            p.canvas.SetFontSize(16);
            if (where == 0)
                p.canvas.TextVTop(X, T, B, text);
            else if (where == 1)
                p.canvas.TextVCenter(X, T, B, text);
            else
                p.canvas.TextVBottom(X, T, B, text);
            const auto ops = p.rec.ofKind(PageOp::Kind::VerticalText);
            ASSERT_EQ(ops.size(), 1);
            const PageOp& op = *ops[0];
            const std::string label = face.toStdString() + " where " + std::to_string(where);
            EXPECT_EQ(op.upright, face.startsWith(QLatin1Char('@'))) << label;
            EXPECT_DOUBLE_EQ(op.origin.x(), X) << label;
            EXPECT_NEAR(op.columnWidth, p.canvas.textHeight(), 0.01) << label;
            ASSERT_GT(op.length, 0) << label;
            if (where == 0)
                EXPECT_DOUBLE_EQ(op.origin.y(), T) << label;
            else if (where == 1)
                EXPECT_DOUBLE_EQ(op.origin.y(), T + std::trunc((B - T - op.length) / 2)) << label;
            else
                EXPECT_NEAR(op.origin.y() + op.length, B, 1e-6) << label;
            EXPECT_TRUE(op.clip.isEmpty()) << label << ": a column that fits needs no clip";

            // On paper the characters stay in the column and run downwards.
            const QImage img = renderAtUnitScale(p.rec);
            const QRect ink = inkBox(img, img.rect());
            ASSERT_FALSE(ink.isEmpty()) << label;
            EXPECT_GE(ink.left(), X - 1) << label;
            EXPECT_LE(ink.right(), X + op.columnWidth + 1) << label;
            EXPECT_GE(ink.top(), op.origin.y() - 1) << label;
            EXPECT_LE(ink.bottom(), op.origin.y() + op.length + 1) << label;
            EXPECT_GT(ink.height(), 5 * ink.width()) << label << ": a column, not a line";
        }
    }
}

TEST(PageCanvasText, VerticalTextLongerThanItsColumnIsCutAtBottom)
{
    for (const QString& face : { QStringLiteral("@ＭＳ 明朝"), QStringLiteral("ＭＳ 明朝") }) {
        Page p;
        p.canvas.SetFontName(face);
        p.canvas.SetFontSize(20);
        p.canvas.TextVTop(500, 200, 600, QStringLiteral("北海道札幌市中央区北一条西二丁目"));
        const auto ops = p.rec.ofKind(PageOp::Kind::VerticalText);
        ASSERT_EQ(ops.size(), 1);
        // Clipped to X .. X + text height, Top .. Bottom.
        EXPECT_EQ(ops[0]->clip, QRectF(500, 200, ops[0]->columnWidth, 400));
        const QImage img = renderAtUnitScale(p.rec);
        const QRect ink = inkBox(img, img.rect());
        ASSERT_FALSE(ink.isEmpty());
        EXPECT_LE(ink.bottom(), 600);
        EXPECT_GE(ink.bottom(), 560) << "the column is filled down to Bottom";
    }
}

TEST(PageCanvasText, TextOutRotatedTurnsCounterClockwise)
{
    // 90 degrees: the text runs upwards from the reference point; 270: downwards.
    struct Case { double angle; bool up; };
    for (const Case c : { Case { 90, true }, Case { 270, false } }) {
        Page p;
        p.canvas.SetFontName(QStringLiteral("ＭＳ ゴシック"));
        p.canvas.SetFontSize(20);
        p.canvas.TextOutRotated(500, 700, c.angle, 100, QStringLiteral("ABCDEF"));
        const auto ops = textOps(p.rec);
        ASSERT_EQ(ops.size(), 1);
        EXPECT_EQ(ops[0]->angle, c.angle);
        const QImage img = renderAtUnitScale(p.rec);
        const QRect ink = inkBox(img, img.rect());
        ASSERT_FALSE(ink.isEmpty());
        EXPECT_GT(ink.height(), 3 * ink.width());
        if (c.up) {
            EXPECT_LE(ink.bottom(), 702);
            EXPECT_GE(ink.left(), 498); // glyph tops face left, so the cell lies right of X
        } else {
            EXPECT_GE(ink.top(), 698);
            EXPECT_LE(ink.right(), 502); // glyph tops face right
        }
    }
}

TEST(PageCanvasText, TextOutRotatedWidthPercentNarrowsTheGlyphs)
{
    Page p;
    p.canvas.SetFontName(QStringLiteral("ＭＳ ゴシック"));
    p.canvas.SetFontSize(20);
    p.canvas.TextOutRotated(100, 100, 0, 100, QStringLiteral("東京"));
    p.canvas.TextOutRotated(100, 400, 0, 50, QStringLiteral("東京"));
    const QImage img = renderAtUnitScale(p.rec);
    const QRect full = inkBox(img, QRect(0, 0, kCardW, 300));
    const QRect half = inkBox(img, QRect(0, 300, kCardW, 300));
    ASSERT_FALSE(full.isEmpty());
    ASSERT_FALSE(half.isEmpty());
    EXPECT_NEAR(half.width(), full.width() / 2.0, 3);
    EXPECT_NEAR(half.height(), full.height(), 2);
}

TEST(PageCanvasText, EmptyTextsRecordNothing)
{
    Page p;
    p.canvas.TextOut(0, 0, QString());
    p.canvas.TextLeft(0, 100, 0, 100, QString());
    p.canvas.TextVTop(0, 0, 100, QString());
    p.canvas.TextSpaced(0, 120, 0, 65, 3, QString());
    EXPECT_TRUE(p.rec.isEmpty());
}

// ---- postal code -------------------------------------------------------------------------------

namespace {

struct PostalCase {
    const char* label;
    QString text;
    QString boxes; // digit per box, space for an empty box
};

const PostalCase kPostalCases[] = {
    { "plain", QStringLiteral("1234567"), QStringLiteral("1234567") },
    { "mark and hyphen", QStringLiteral("〒123-4567"), QStringLiteral("1234567") },
    { "full-width", QStringLiteral("１２３－４５６７"), QStringLiteral("1234567") },
    { "five digits", QStringLiteral("123-45"), QStringLiteral("12345  ") },
    { "two digits", QStringLiteral("12"), QStringLiteral("12     ") },
    { "too many", QStringLiteral("123456789"), QStringLiteral("1234567") },
    { "none", QStringLiteral("〒"), QStringLiteral("       ") },
};

QRect portraitBox(int k, int x0, int y0)
{
    const int x = x0 + (k < 3 ? 70 * k : 216 + 70 * (k - 3));
    return QRect(x, y0, 60, 85);
}

} // namespace

TEST(PageCanvasPostalCode, PortraitBoxesOnAPostcard)
{
    struct Offsets { int x, y, shift; };
    for (const Offsets o : { Offsets { 0, 0, 0 }, Offsets { 15, -3, 0 }, Offsets { -20, 8, 5 } }) {
        Page p;
        PostalCodePage page { kCardW, kCardH, false, false };
        p.canvas.DrawPostalCode(QStringLiteral("1234567"), o.x, o.y, false, o.shift, 255, page);
        const int x0 = o.x + kCardW - 552, y0 = o.y + o.shift + 120;
        const auto frames = p.rec.ofKind(PageOp::Kind::Polyline);
        ASSERT_EQ(frames.size(), 7);
        for (int k = 0; k < 7; ++k) {
            const QRect box = portraitBox(k, x0, y0);
            EXPECT_EQ(frames[k]->points.boundingRect(), QRectF(box.x(), box.y(), 60, 85)) << "box " << k;
            EXPECT_EQ(frames[k]->pen.color(), QColor(255, 170, 170));
            EXPECT_EQ(frames[k]->pen.widthF(), k < 3 ? 5 : 2) << "box " << k;
        }
        const auto lines = p.rec.ofKind(PageOp::Kind::Line);
        ASSERT_EQ(lines.size(), 1);
        EXPECT_EQ(lines[0]->points[0], QPointF(x0 + 200, y0 + 40));
        EXPECT_EQ(lines[0]->points[1], QPointF(x0 + 214, y0 + 40));
        EXPECT_EQ(lines[0]->pen.widthF(), 5);
    }
    // On a 100 mm card the first box's left edge is 44.8 mm from the left, its top 12 mm down.
    Page p;
    p.canvas.DrawPostalCode(QStringLiteral("1"), 0, 0, false, 0, 255, { kCardW, kCardH, false, false });
    EXPECT_EQ(p.rec.ofKind(PageOp::Kind::Polyline)[0]->points[0], QPointF(448, 120));
}

TEST(PageCanvasPostalCode, PortraitDigitsAreCentredInTheirBoxes)
{
    for (const PostalCase& c : kPostalCases) {
        Page p;
        p.canvas.SetFontName(QStringLiteral("ＭＳ 明朝"));
        p.canvas.SetFontSize(16);
        p.canvas.DrawPostalCode(c.text, 0, 0, false, 0, 255, { kCardW, kCardH, false, false });
        const int x0 = kCardW - 552, y0 = 120;
        const auto ops = textOps(p.rec);
        EXPECT_EQ(ops.size(), c.boxes.trimmed().size()) << c.label;
        const QImage img = renderAtUnitScale(p.rec);
        int op = 0;
        for (int k = 0; k < 7; ++k) {
            const QRect box = portraitBox(k, x0, y0);
            const QRect ink = inkBox(img, box.adjusted(-20, -20, 20, 20));
            if (c.boxes[k] == QLatin1Char(' ')) {
                EXPECT_TRUE(ink.isEmpty()) << c.label << ": box " << k << " must stay empty";
                continue;
            }
            ASSERT_LT(op, ops.size()) << c.label;
            EXPECT_EQ(ops[op]->text, QString(c.boxes[k])) << c.label << " box " << k;
            // The digit's cell is centred in the box.
            EXPECT_NEAR(centreOf(ops[op]->rect).x(), box.x() + 30, 0.5) << c.label << " box " << k;
            EXPECT_NEAR(centreOf(ops[op]->rect).y(), box.y() + 42.5, 0.5) << c.label << " box " << k;
            // And its ink is inside the box, about in the middle.
            ASSERT_FALSE(ink.isEmpty()) << c.label << " box " << k;
            EXPECT_TRUE(QRect(box).contains(ink)) << c.label << " box " << k;
            EXPECT_NEAR(ink.center().x(), box.x() + 30, 6) << c.label << " box " << k;
            EXPECT_NEAR(ink.center().y(), box.y() + 42.5, 8) << c.label << " box " << k;
            ++op;
        }
    }
}

TEST(PageCanvasPostalCode, DigitsUseTheFontCurrentOnEntry)
{
    Page p;
    p.canvas.SetFontName(QStringLiteral("ＭＳ ゴシック"));
    p.canvas.SetFontSize(14);
    p.canvas.SetFontStyle(FontStyle::fsBold);
    p.canvas.SetPenColor(0x00FF00);
    p.canvas.SetPenWidth(7);
    p.canvas.DrawPostalCode(QStringLiteral("1000001"), 0, 0, false, 0, 255, { kCardW, kCardH, false, false });
    for (const PageOp* op : textOps(p.rec)) {
        EXPECT_EQ(op->font.name, QStringLiteral("ＭＳ ゴシック"));
        EXPECT_EQ(op->font.height, -49);
        EXPECT_TRUE(op->font.bold);
    }
    // The caller's pen is back afterwards.
    EXPECT_EQ(p.canvas.penColor(), QColor(0, 255, 0));
    EXPECT_EQ(p.canvas.penWidth(), 7);
}

TEST(PageCanvasPostalCode, PrintingDrawsOnlyTheDigitsUnlessForced)
{
    struct Case { bool printing; bool force; int frames; QColor colour; };
    const Case cases[] = { { false, false, 7, QColor(255, 170, 170) },
                           { true, false, 0, QColor() },
                           { true, true, 7, QColor(255, 0, 0) },
                           { false, true, 7, QColor(255, 0, 0) } };
    for (const Case& c : cases) {
        Page p;
        p.canvas.DrawPostalCode(QStringLiteral("1234567"), 0, 0, c.force, 0, 0x0000FF,
                                { kCardW, kCardH, false, c.printing });
        const auto frames = p.rec.ofKind(PageOp::Kind::Polyline);
        EXPECT_EQ(frames.size(), c.frames) << c.printing << c.force;
        EXPECT_EQ(p.rec.ofKind(PageOp::Kind::Line).size(), c.frames ? 1 : 0);
        if (!frames.isEmpty()) {
            EXPECT_EQ(frames[0]->pen.color(), c.colour);
        }
        EXPECT_EQ(textOps(p.rec).size(), 7);
    }
}

TEST(PageCanvasPostalCode, LandscapeBoxesAndDigits)
{
    // A card fed the long way: 148 x 100 mm.
    const int W = 1480, H = 1000;
    for (const PostalCase& c : kPostalCases) {
        PageRecording rec;
        PageCanvas canvas(&rec, W, H);
        canvas.SetFontName(QStringLiteral("ＭＳ 明朝"));
        canvas.SetFontSize(16);
        canvas.DrawPostalCode(c.text, 0, 0, false, 0, 255, { W, H, true, false });
        const int x0 = W - 205, y0 = H - 552;

        const auto frames = rec.ofKind(PageOp::Kind::Polyline);
        ASSERT_EQ(frames.size(), 7) << c.label;
        QVector<QRect> boxes;
        for (int k = 0; k < 7; ++k) {
            const int y = y0 + (k < 3 ? 70 * k : 216 + 70 * (k - 3));
            boxes << QRect(x0, y, 85, 60);
            EXPECT_EQ(frames[k]->points.boundingRect(), QRectF(x0, y, 85, 60)) << c.label << " box " << k;
        }
        const auto lines = rec.ofKind(PageOp::Kind::Line);
        ASSERT_EQ(lines.size(), 1);
        EXPECT_EQ(lines[0]->points[0], QPointF(x0 + 40, y0 + 200));
        EXPECT_EQ(lines[0]->points[1], QPointF(x0 + 40, y0 + 215));

        const auto ops = textOps(rec);
        EXPECT_EQ(ops.size(), c.boxes.trimmed().size()) << c.label;
        const qreal w = canvas.textWidth(QStringLiteral("0"));
        const qreal h = canvas.textHeight();
        const int dx = int(std::trunc(42.5 + h / 2)), dy = int(std::trunc(30 - w / 2));
        const QImage img = renderAtUnitScale(rec);
        int op = 0;
        for (int k = 0; k < 7; ++k) {
            const QRect box = boxes[k];
            const QRect ink = inkBox(img, box.adjusted(-20, -20, 20, 20));
            if (c.boxes[k] == QLatin1Char(' ')) {
                EXPECT_TRUE(ink.isEmpty()) << c.label << ": box " << k;
                continue;
            }
            ASSERT_LT(op, ops.size());
            EXPECT_EQ(ops[op]->angle, 270);
            EXPECT_EQ(ops[op]->origin, QPointF(x0 + dx + 3, box.y() + dy)) << c.label << " box " << k;
            // Turned 270 degrees, the cell spans x from origin − h to origin and y from origin
            // downwards by the digit's width: centred in the box, 0.3 mm to the right.
            const QPointF centre(ops[op]->origin.x() - h / 2, ops[op]->origin.y() + ops[op]->rect.width() / 2);
            EXPECT_NEAR(centre.x(), box.x() + 42.5 + 3, 1.0) << c.label << " box " << k;
            EXPECT_NEAR(centre.y(), box.y() + 30, 1.0) << c.label << " box " << k;
            ASSERT_FALSE(ink.isEmpty()) << c.label << " box " << k;
            EXPECT_TRUE(box.contains(ink)) << c.label << " box " << k;
            EXPECT_GT(ink.width(), ink.height()) << c.label << ": the digit lies on its side";
            ++op;
        }
    }
}

// ---- pictures and replay -------------------------------------------------------------------------

TEST(PageRecordingReplay, StretchesTheFrameIntoTheTarget)
{
    Page p;
    p.canvas.SetBrushColor(0x000000);
    p.canvas.FillRect(100, 200, 300, 400);
    QImage img(500, 740, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter painter(&img);
    p.rec.replay(&painter, QRectF(0, 0, 500, 740));
    painter.end();
    const QRect ink = inkBox(img, img.rect());
    EXPECT_EQ(ink, QRect(QPoint(50, 100), QPoint(149, 199)));
}

TEST(PageRecordingReplay, PrintableClipAppliesOnlyToClippedOperations)
{
    Page p;
    p.rec.setPrintableClip(QRectF(50, 50, 900, 1380));
    p.canvas.setPaintingPaper(true);
    p.canvas.SetBrushColor(0x000000);
    p.canvas.FillRect(0, 0, 20, 20); // paper: never clipped
    p.canvas.setPaintingPaper(false);
    p.canvas.setClipToPrintable(true);
    p.canvas.FillRect(0, 500, 100, 600); // half outside the printable area
    const QImage img = renderAtUnitScale(p.rec);
    EXPECT_EQ(qRed(img.pixel(10, 10)), 0);
    EXPECT_EQ(qRed(img.pixel(20, 550)), 255);
    EXPECT_EQ(qRed(img.pixel(70, 550)), 0);
}
