#include "platform/JapaneseFonts.h"
#include "platform/VerticalText.h"

#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>

#include <hb-ot.h>
#include <hb.h>

#include <gtest/gtest.h>

namespace {

const QString kGothic = QStringLiteral("@ＭＳ ゴシック");

QFont gothic(qreal px)
{
    return JapaneseFonts::font(kGothic, px, false, false);
}

// Bounding box of every pixel that is not white.
QRect inkBox(const QImage& img)
{
    int x0 = img.width(), y0 = img.height(), x1 = -1, y1 = -1;
    for (int y = 0; y < img.height(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            if (qGray(line[x]) < 160) {
                x0 = std::min(x0, x);
                x1 = std::max(x1, x);
                y0 = std::min(y0, y);
                y1 = std::max(y1, y);
            }
        }
    }
    return x1 < 0 ? QRect() : QRect(QPoint(x0, y0), QPoint(x1, y1));
}

QImage render(const VerticalText& vt, QSize size, QPointF at, qreal scale = 1)
{
    QImage img(size, QImage::Format_ARGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.scale(scale, scale);
    p.setPen(Qt::black);
    vt.draw(&p, at.x(), at.y());
    return img;
}

// What the face's own vert feature does to `glyph`, read from its GSUB lookups (independent
// of shaping): whether a vert lookup substitutes it, and every glyph those lookups can put out.
struct VertLookup {
    bool substitutes = false;
    QSet<quint32> outputs;
};

VertLookup vertLookup(const QRawFont& raw, quint32 glyph)
{
    struct Tables {
        QRawFont raw;
    } tables{raw};
    hb_face_t* face = hb_face_create_for_tables(
        [](hb_face_t*, hb_tag_t tag, void* ud) -> hb_blob_t* {
            char name[5] = {0};
            hb_tag_to_string(tag, name);
            auto* data = new QByteArray(static_cast<Tables*>(ud)->raw.fontTable(name));
            return hb_blob_create(data->constData(), unsigned(data->size()), HB_MEMORY_MODE_READONLY, data,
                                  [](void* p) { delete static_cast<QByteArray*>(p); });
        },
        &tables, nullptr);
    VertLookup result;
    const hb_tag_t vert = HB_TAG('v', 'e', 'r', 't');
    unsigned featureCount = hb_ot_layout_table_get_feature_tags(face, HB_OT_TAG_GSUB, 0, nullptr, nullptr);
    std::vector<hb_tag_t> tags(featureCount);
    hb_ot_layout_table_get_feature_tags(face, HB_OT_TAG_GSUB, 0, &featureCount, tags.data());
    for (unsigned f = 0; f < featureCount; ++f) {
        if (tags[f] != vert)
            continue;
        unsigned lookupCount = 16;
        unsigned lookups[16];
        hb_ot_layout_feature_get_lookups(face, HB_OT_TAG_GSUB, f, 0, &lookupCount, lookups);
        for (unsigned l = 0; l < lookupCount; ++l) {
            const hb_codepoint_t g = glyph;
            if (!hb_ot_layout_lookup_would_substitute(face, lookups[l], &g, 1, true))
                continue;
            result.substitutes = true;
            hb_set_t* out = hb_set_create();
            hb_ot_layout_lookup_collect_glyphs(face, HB_OT_TAG_GSUB, lookups[l], nullptr, nullptr, nullptr, out);
            hb_codepoint_t c = HB_SET_VALUE_INVALID;
            while (hb_set_next(out, &c))
                result.outputs.insert(c);
            hb_set_destroy(out);
        }
    }
    hb_face_destroy(face);
    return result;
}

quint32 nominalGlyph(const QRawFont& raw, const QString& ch)
{
    const QList<quint32> g = raw.glyphIndexesForString(ch);
    return g.isEmpty() ? 0 : g.first();
}

TEST(VerticalText, KanjiStandUprightWithTheirOwnGlyphs)
{
    const VerticalText vt(gothic(100), QStringLiteral("東京都"), true);
    const auto runs = vt.runs();
    ASSERT_EQ(runs.size(), 1);
    EXPECT_FALSE(runs[0].sideways);
    EXPECT_FALSE(runs[0].fallback);
    EXPECT_EQ(runs[0].glyphs, vt.rawFont().glyphIndexesForString(QStringLiteral("東京都")));
    // Full-width characters advance one em each down the column.
    EXPECT_DOUBLE_EQ(vt.length(), 300.0);
    EXPECT_NEAR(vt.columnWidth(), vt.rawFont().ascent() + vt.rawFont().descent(), 1e-9);
}

TEST(VerticalText, PunctuationAndBracketsUseTheFontsVerticalForms)
{
    for (const QString& face : {QStringLiteral("@ＭＳ ゴシック"), QStringLiteral("@ＭＳ 明朝")}) {
        for (const char16_t* s : {u"、", u"。", u"ー", u"「", u"」", u"（", u"）", u"…", u"‥", u"〜", u"～", u"―",
                                  u"ぁ", u"ァ", u"っ", u"ャ", u"＝"}) {
            const QString ch = QString::fromUtf16(s);
            const VerticalText vt(JapaneseFonts::font(face, 100, false, false), ch, true);
            const auto runs = vt.runs();
            ASSERT_EQ(runs.size(), 1) << ch.toStdString();
            EXPECT_FALSE(runs[0].sideways) << ch.toStdString();
            ASSERT_EQ(runs[0].glyphs.size(), 1);
            const quint32 nominal = nominalGlyph(vt.rawFont(), ch);
            const VertLookup vert = vertLookup(vt.rawFont(), nominal);
            EXPECT_TRUE(vert.substitutes) << "the font has no vertical form for " << ch.toStdString();
            EXPECT_NE(runs[0].glyphs[0], nominal) << ch.toStdString();
            EXPECT_TRUE(vert.outputs.contains(runs[0].glyphs[0])) << ch.toStdString();
        }
    }
}

TEST(VerticalText, HalfWidthAndRotatedCharactersAreTurned)
{
    struct Case {
        const char16_t* text;
        bool sideways;
    } cases[] = {
        {u"A", true},   {u"7", true},    {u"-", true},    {u"－", true}, // full-width hyphen-minus has no vertical form
        {u"：", true},  {u"ｶ", true},    {u"ｶﾞ", true},   {u" ", true},  {u"Ａ", false}, {u"７", false},
        {u"　", false}, {u"あ", false},  {u"ガ", false},  {u"〒", false},
    };
    for (const Case& c : cases) {
        const QString text = QString::fromUtf16(c.text);
        const VerticalText vt(gothic(100), text, true);
        const auto runs = vt.runs();
        ASSERT_EQ(runs.size(), 1) << text.toStdString();
        EXPECT_EQ(runs[0].sideways, c.sideways) << text.toStdString();
    }
}

TEST(VerticalText, MixedLineIsSplitIntoUprightAndTurnedRuns)
{
    const VerticalText vt(gothic(100), QStringLiteral("東京ABC区"), true);
    const auto runs = vt.runs();
    ASSERT_EQ(runs.size(), 3);
    EXPECT_EQ(runs[0].text, QStringLiteral("東京"));
    EXPECT_FALSE(runs[0].sideways);
    EXPECT_EQ(runs[1].text, QStringLiteral("ABC"));
    EXPECT_TRUE(runs[1].sideways);
    EXPECT_EQ(runs[2].text, QStringLiteral("区"));
    EXPECT_FALSE(runs[2].sideways);
    // The turned run is as long as the letters are wide; runs follow each other without gaps.
    const QRawFont raw = vt.rawFont();
    qreal width = 0;
    for (QPointF a : raw.advancesForGlyphIndexes(raw.glyphIndexesForString(QStringLiteral("ABC")),
                                                 QRawFont::UseDesignMetrics))
        width += a.x();
    EXPECT_NEAR(runs[1].advance, width, 0.01);
    EXPECT_DOUBLE_EQ(runs[0].start, 0.0);
    EXPECT_DOUBLE_EQ(runs[1].start, runs[0].advance);
    EXPECT_DOUBLE_EQ(runs[2].start, runs[1].start + runs[1].advance);
    EXPECT_DOUBLE_EQ(vt.length(), runs[2].start + runs[2].advance);
}

TEST(VerticalText, TurnedLineIsOneSidewaysRunAsLongAsTheHorizontalText)
{
    const QFont f = JapaneseFonts::font(QStringLiteral("ＭＳ ゴシック"), 100, false, false);
    const VerticalText vt(f, QStringLiteral("東京ABC"), false);
    const auto runs = vt.runs();
    ASSERT_EQ(runs.size(), 1);
    EXPECT_TRUE(runs[0].sideways);
    const QRawFont raw = vt.rawFont();
    qreal width = 0;
    for (QPointF a : raw.advancesForGlyphIndexes(raw.glyphIndexesForString(QStringLiteral("東京ABC")),
                                                 QRawFont::UseDesignMetrics))
        width += a.x();
    EXPECT_NEAR(vt.length(), width, 0.01);
}

struct InkCase {
    const char16_t* text;
    bool upright;
    bool tallerThanWide;
};

TEST(VerticalText, DrawnShapesAreTurnedTheRightWay)
{
    const InkCase cases[] = {
        {u"ー", true, true},   // vertical long-vowel mark
        {u"一", true, false},  // kanji "one" stays a horizontal stroke
        {u"一", false, true},  // turned line: the stroke runs down the column
        {u"L", true, false},   // Latin turned sideways in an "@" face
        {u"Ｌ", true, true},   // full-width Latin stands upright
        {u"「", true, false},  // corner bracket opens to the bottom: wider than tall
        {u"－", true, true},   // full-width hyphen turned into a vertical bar
    };
    for (const InkCase& c : cases) {
        const QString text = QString::fromUtf16(c.text);
        const VerticalText vt(gothic(100), text, c.upright);
        const QRect ink = inkBox(render(vt, QSize(300, 300), QPointF(100, 100)));
        ASSERT_TRUE(ink.isValid()) << text.toStdString();
        EXPECT_EQ(ink.height() > ink.width(), c.tallerThanWide)
            << text.toStdString() << " ink " << ink.width() << "x" << ink.height();
    }
}

TEST(VerticalText, FullStopAndCommaSitInTheUpperRightOfTheirCell)
{
    for (const char16_t* s : {u"。", u"、"}) {
        const VerticalText vt(gothic(100), QString::fromUtf16(s), true);
        const QRect ink = inkBox(render(vt, QSize(300, 300), QPointF(100, 100)));
        ASSERT_TRUE(ink.isValid());
        const QPointF cellCentre(100 + vt.columnWidth() / 2, 100 + vt.length() / 2);
        EXPECT_GT(ink.left(), cellCentre.x());
        EXPECT_LT(ink.bottom(), cellCentre.y());
    }
}

TEST(VerticalText, InkStaysInsideTheColumnAndCentringUsesTheMeasuredLength)
{
    const VerticalText vt(gothic(40), QStringLiteral("東京都千代田区ABC 1-2-3「テスト」様"), true);
    const int height = 900;
    const qreal top = (height - vt.length()) / 2;
    const QRect ink = inkBox(render(vt, QSize(200, height), QPointF(50, top)));
    ASSERT_TRUE(ink.isValid());
    EXPECT_GE(ink.left(), 50 - 1);
    EXPECT_LE(ink.right(), 50 + vt.columnWidth() + 1);
    EXPECT_GE(ink.top(), top - 1);
    EXPECT_LE(ink.bottom(), top + vt.length() + 1);
    // The margins above and below the ink are alike: only the glyphs' own side bearings differ.
    EXPECT_NEAR(ink.top(), height - 1 - ink.bottom(), 6);
}

TEST(VerticalText, DrawingScalesWithThePainterTransform)
{
    // The same column laid out in two unit systems draws the same pixels.
    const QString text = QStringLiteral("東京ABC・ー。");
    const VerticalText big(gothic(80), text, true);
    const VerticalText small(gothic(40), text, true);
    EXPECT_NEAR(big.length(), 2 * small.length(), 1e-6);
    EXPECT_NEAR(big.columnWidth(), 2 * small.columnWidth(), 1e-6);
    const QRect a = inkBox(render(big, QSize(300, 900), QPointF(100, 20)));
    const QRect b = inkBox(render(small, QSize(300, 900), QPointF(50, 10), 2.0));
    EXPECT_NEAR(a.left(), b.left(), 2);
    EXPECT_NEAR(a.top(), b.top(), 2);
    EXPECT_NEAR(a.right(), b.right(), 2);
    EXPECT_NEAR(a.bottom(), b.bottom(), 2);
}

TEST(VerticalText, PainterStateIsLeftAsItWas)
{
    QImage img(200, 400, QImage::Format_ARGB32);
    QPainter p(&img);
    p.translate(3, 4);
    p.scale(1.5, 1.5);
    const QTransform before = p.worldTransform();
    const VerticalText vt(gothic(20), QStringLiteral("ABC東京DEF"), true);
    vt.draw(&p, 10, 10);
    EXPECT_EQ(p.worldTransform(), before);
}

TEST(VerticalText, PdfKeepsKanjiKanaAndLatinAsText)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("vertical.pdf"));
    {
        QPdfWriter writer(path);
        writer.setPageSize(QPageSize(QPageSize::Postcard));
        writer.setResolution(1200);
        QPainter p(&writer);
        p.scale(1200 / 254.0, 1200 / 254.0); // 0.1 mm
        const VerticalText vt(gothic(50), QStringLiteral("東京都港区Tel03"), true);
        vt.draw(&p, 800, 100);
    }
    QProcess proc;
    proc.start(QStringLiteral("pdftotext"), {path, QStringLiteral("-")});
    ASSERT_TRUE(proc.waitForFinished(30000)) << "pdftotext (poppler-utils) must be installed";
    const QString out = QString::fromUtf8(proc.readAllStandardOutput());
    for (const char16_t* s : {u"東", u"京", u"都", u"港", u"区", u"Tel03"})
        EXPECT_TRUE(out.contains(QString::fromUtf16(s))) << QString::fromUtf16(s).toStdString() << " in " << out.toStdString();
}

TEST(VerticalText, PrinterPdfAndImageDrawTheSameColumn)
{
    // 0.1 mm units on a postcard: once into an image at 300 dpi, once through QPrinter's PDF
    // output at 1200 dpi, rasterised again at 300 dpi.
    const QString text = QStringLiteral("東京都港区芝公園４－２－８ ABC ちょっとコーヒー「店」様");
    const VerticalText vt(gothic(50), text, true);
    const qreal dpi = 300;
    QImage direct(int(1000 * dpi / 254), int(1480 * dpi / 254), QImage::Format_ARGB32);
    direct.fill(Qt::white);
    {
        QPainter p(&direct);
        p.scale(dpi / 254, dpi / 254);
        vt.draw(&p, 700, 100);
    }
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString pdf = dir.filePath(QStringLiteral("printer.pdf"));
    {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        printer.setResolution(1200);
        printer.setPageSize(QPageSize(QPageSize::Postcard));
        printer.setFullPage(true);
        QPainter p(&printer);
        p.scale(1200 / 254.0, 1200 / 254.0);
        vt.draw(&p, 700, 100);
    }
    QProcess proc;
    proc.start(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("300"), QStringLiteral("-png"),
                                           QStringLiteral("-singlefile"), pdf, dir.filePath(QStringLiteral("page"))});
    ASSERT_TRUE(proc.waitForFinished(30000)) << "pdftoppm (poppler-utils) must be installed";
    const QImage printed(dir.filePath(QStringLiteral("page.png")));
    ASSERT_FALSE(printed.isNull());
    const QRect a = inkBox(direct.convertToFormat(QImage::Format_ARGB32));
    const QRect b = inkBox(printed.convertToFormat(QImage::Format_ARGB32));
    ASSERT_TRUE(a.isValid());
    ASSERT_TRUE(b.isValid());
    // One device pixel at 300 dpi is under 0.1 mm.
    EXPECT_NEAR(a.left(), b.left(), 2);
    EXPECT_NEAR(a.right(), b.right(), 2);
    EXPECT_NEAR(a.top(), b.top(), 2);
    EXPECT_NEAR(a.bottom(), b.bottom(), 2);
    // And where the layout says: the column from x = 70.0 mm, the run from y = 10.0 mm.
    EXPECT_NEAR(b.left(), 700 * dpi / 254, vt.columnWidth() * dpi / 254 * 0.2);
    EXPECT_NEAR(b.bottom(), (100 + vt.length()) * dpi / 254, 50 * dpi / 254 * 0.2);
}

TEST(VerticalText, EmptyAndControlOnlyTextDrawNothing)
{
    for (const QString& text : {QString(), QStringLiteral("\t\r\n"), QString(QChar(0x1A))}) {
        const VerticalText vt(gothic(40), text, true);
        EXPECT_EQ(vt.length(), 0.0);
        EXPECT_GT(vt.columnWidth(), 0.0);
        EXPECT_TRUE(vt.runs().isEmpty());
        EXPECT_FALSE(inkBox(render(vt, QSize(100, 100), QPointF(10, 10))).isValid());
    }
}

TEST(VerticalText, ControlCharactersTakeNoSpace)
{
    const QString object(QChar(QChar::ObjectReplacementCharacter)); // left in text pasted from documents
    const QString texts[] = {
        QStringLiteral("東\t京\r\n"),
        QStringLiteral("東") + object + QStringLiteral("京"),
        object + QStringLiteral("東京") + object,
    };
    for (const QString& face : { kGothic, QStringLiteral("ＭＳ ゴシック") }) {
        const bool upright = JapaneseFonts::isVerticalFace(face);
        const QFont font = JapaneseFonts::font(face, 100, false, false);
        const qreal plain = VerticalText(font, QStringLiteral("東京"), upright).length();
        for (const QString& text : texts) {
            SCOPED_TRACE((face + QLatin1Char(' ') + text).toStdString());
            EXPECT_DOUBLE_EQ(VerticalText(font, text, upright).length(), plain);
        }
        EXPECT_DOUBLE_EQ(VerticalText(font, object, upright).length(), 0.0);
    }
    EXPECT_DOUBLE_EQ(VerticalText(gothic(100), QStringLiteral("東京"), true).length(), 200.0);
}

TEST(VerticalText, CharactersTheFaceLacksComeFromAFallbackFace)
{
    // ♔ is not in the IPA faces; 𠮷 (outside code page 932) is in no installed face at all.
    const VerticalText vt(gothic(100), QStringLiteral("東♔𠮷京"), true);
    const auto runs = vt.runs();
    ASSERT_EQ(runs.size(), 3);
    EXPECT_TRUE(runs[1].fallback);
    EXPECT_EQ(runs[1].text, QStringLiteral("♔𠮷"));
    EXPECT_DOUBLE_EQ(vt.length(), 400.0); // an em per upright fallback character
    EXPECT_TRUE(inkBox(render(vt, QSize(300, 600), QPointF(100, 50))).isValid());

    const VerticalText turned(gothic(100), QStringLiteral("東♔京"), false);
    ASSERT_EQ(turned.runs().size(), 1);
    EXPECT_TRUE(turned.runs()[0].fallback);
    EXPECT_GT(turned.length(), 200.0);
}

TEST(VerticalText, BrokenSurrogatesAndHugeTextsNeitherCrashNorHang)
{
    QString broken = QStringLiteral("東");
    broken.append(QChar(0xD800)); // lone high surrogate
    broken.append(QStringLiteral("京"));
    broken.append(QChar(0xDC00)); // lone low surrogate
    const VerticalText b(gothic(40), broken, true);
    EXPECT_GE(b.length(), 80.0);
    render(b, QSize(100, 300), QPointF(10, 10));

    QElapsedTimer timer;
    timer.start();
    const VerticalText huge(gothic(13), QString(10000, QChar(0x6771)), true);
    QImage img(100, 600, QImage::Format_ARGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setClipRect(0, 0, 100, 600);
    huge.draw(&p, 10, 0);
    p.end();
    EXPECT_DOUBLE_EQ(huge.length(), 130000.0);
    EXPECT_LT(timer.elapsed(), 2000);
}

TEST(VerticalText, ExtremeFontSizesDoNotBreakTheLayout)
{
    for (qreal px : {qreal(0), qreal(-10), qreal(1), qreal(667), qreal(1e7)}) {
        const VerticalText vt(gothic(px), QStringLiteral("東京ABC"), true);
        EXPECT_GT(vt.columnWidth(), 0.0) << px;
        EXPECT_GT(vt.length(), 0.0) << px;
        render(vt, QSize(50, 50), QPointF(0, 0));
    }
}

} // namespace

namespace {

// 縦中横: which parts of a line are set side by side in one step, which stand upright full-width.
TEST(VerticalText, TateChuYokoSetsTwoDigitNumbersSideBySide)
{
    const struct {
        const char16_t* text;
        const char16_t* pairs;    // the runs set side by side, joined by "|"
        const char16_t* upright;  // the characters of every upright run, in order
        const char16_t* sideways; // the characters of every turned run, in order
    } cases[] = {
        { u"第12回", u"12", u"第回", u"" },
        { u"２－１２－３", u"１２", u"２３", u"－－" },        // － turns; ２ and ３ stand
        { u"2-12-3", u"12", u"２３", u"--" },                  // single half-width digits stand full-width
        { u"101号室", u"", u"１０１号室", u"" },              // longer runs stand full-width, one per step
        { u"7", u"", u"７", u"" },
        { u"ビルB12", u"", u"ビル", u"B12" },                // digits of a Latin word stay with it
        { u"Room 12", u"12", u"", u"Room " },                 // a space ends the word
        { u"ええ!!", u"!!", u"ええ", u"" },
        { u"何!?", u"!?", u"何", u"" },
        { u"ええ！！", u"！！", u"ええ", u"" },
        { u"!!!", u"", u"", u"!!!" },                          // three marks are not a pair
        { u"?!", u"", u"", u"?!" },
        { u"12 34", u"12|34", u"", u" " },
    };
    for (const auto& c : cases) {
        const QString text = QString::fromUtf16(c.text);
        VerticalText::Options options;
        options.tateChuYoko = true;
        const VerticalText vt(gothic(100), text, true, options);
        QStringList pairs;
        QString upright, sideways;
        for (const VerticalText::Run& r : vt.runs()) {
            if (r.tateChuYoko) {
                pairs << r.text;
                EXPECT_DOUBLE_EQ(r.advance, 100.0) << text.toStdString(); // one step of the column
            } else if (r.sideways) {
                sideways += r.text;
            } else {
                upright += r.text;
            }
        }
        EXPECT_EQ(pairs.join(QLatin1Char('|')), QString::fromUtf16(c.pairs)) << text.toStdString();
        EXPECT_EQ(upright, QString::fromUtf16(c.upright)) << text.toStdString();
        EXPECT_EQ(sideways, QString::fromUtf16(c.sideways)) << text.toStdString();

        // Without the option the line is laid out as before.
        const VerticalText plain(gothic(100), text, true);
        for (const VerticalText::Run& r : plain.runs())
            EXPECT_FALSE(r.tateChuYoko);
    }
    // A turned line (a face without "@") has no 縦中横.
    VerticalText::Options options;
    options.tateChuYoko = true;
    const VerticalText turned(JapaneseFonts::font(QStringLiteral("ＭＳ ゴシック"), 100, false, false),
                              QStringLiteral("第12回"), false, options);
    for (const VerticalText::Run& r : turned.runs())
        EXPECT_FALSE(r.tateChuYoko);
}

TEST(VerticalText, TateChuYokoPairsLieWithinTheColumnAndAreCentred)
{
    for (const QString& face : { QStringLiteral("@ＭＳ ゴシック"), QStringLiteral("@ＭＳ Ｐ明朝"), QStringLiteral("@ＭＳ 明朝") }) {
        for (const QString& pair : { QStringLiteral("10"), QStringLiteral("88"), QStringLiteral("４７"), QStringLiteral("!?") }) {
            SCOPED_TRACE((face + QLatin1Char(' ') + pair).toStdString());
            VerticalText::Options options;
            options.tateChuYoko = true;
            const QFont font = JapaneseFonts::font(face, 100, false, false);
            const VerticalText vt(font, QStringLiteral("東") + pair + QStringLiteral("京"), true, options);
            const auto runs = vt.runs();
            ASSERT_EQ(runs.size(), 3);
            ASSERT_TRUE(runs[1].tateChuYoko);
            const qreal column = vt.columnWidth();
            const QImage img = render(vt, QSize(400, 500), QPointF(100, 50));
            // The pair's ink, in the step between the two kanji.
            const int top = 50 + int(runs[1].start), bottom = 50 + int(runs[1].start + runs[1].advance);
            const QRect ink = inkBox(img.copy(0, top, 400, bottom - top));
            ASSERT_TRUE(ink.isValid());
            EXPECT_GE(ink.left(), 100);
            EXPECT_LE(ink.right(), 100 + column);
            // Centred across the column: equal room on both sides, to a pixel or two of a
            // 100-pixel font.
            const qreal leftRoom = ink.left() - 100, rightRoom = 100 + column - ink.right() - 1;
            EXPECT_NEAR(leftRoom, rightRoom, 2.5) << ink.left() << ".." << ink.right();
            // Two glyphs side by side: wider than tall, unlike one upright digit.
            if (pair != QStringLiteral("!?")) {
                EXPECT_GT(ink.width(), ink.height() * 0.9);
            }
            // The kanji before and after keep their own steps.
            EXPECT_GE(ink.top(), 0);
            EXPECT_LT(ink.bottom(), bottom - top);
        }
    }
}

} // namespace
