#include "platform/JapaneseFonts.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QGlyphRun>
#include <QRawFont>
#include <QTextLayout>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

struct FaceCase {
    const char16_t* stored;
    const char* family;
};

class WindowsFaceNames : public ::testing::TestWithParam<FaceCase> {};

TEST_P(WindowsFaceNames, DrawWithTheMatchingIpaFace)
{
    const QString stored = QString::fromUtf16(GetParam().stored);
    const QString expected = QString::fromLatin1(GetParam().family);
    EXPECT_EQ(JapaneseFonts::resolveFamily(stored), expected);

    // What Qt really draws with, not only what we asked for.
    const QFont f = JapaneseFonts::font(stored, 20, false, false);
    EXPECT_EQ(QFontInfo(f).family(), expected);
    const QRawFont raw = QRawFont::fromFont(f, QFontDatabase::Japanese);
    EXPECT_TRUE(raw.supportsCharacter(QChar(0x6771))); // 東
}

INSTANTIATE_TEST_SUITE_P(
    All, WindowsFaceNames,
    ::testing::Values(FaceCase{u"ＭＳ ゴシック", "IPAGothic"}, FaceCase{u"@ＭＳ ゴシック", "IPAGothic"},
                      FaceCase{u"ＭＳ Ｐゴシック", "IPAPGothic"}, FaceCase{u"@ＭＳ Ｐゴシック", "IPAPGothic"},
                      FaceCase{u"ＭＳ 明朝", "IPAMincho"}, FaceCase{u"@ＭＳ 明朝", "IPAMincho"},
                      FaceCase{u"ＭＳ Ｐ明朝", "IPAPMincho"}, FaceCase{u"@ＭＳ Ｐ明朝", "IPAPMincho"},
                      FaceCase{u"MS Gothic", "IPAGothic"}, FaceCase{u"@MS Gothic", "IPAGothic"},
                      FaceCase{u"MS PGothic", "IPAPGothic"}, FaceCase{u"ms mincho", "IPAMincho"},
                      FaceCase{u"@MS PMincho", "IPAPMincho"}, FaceCase{u"ＭＳ　明朝", "IPAMincho"},
                      FaceCase{u"MS UI Gothic", "IPAPGothic"}, FaceCase{u"IPAPMincho", "IPAPMincho"},
                      FaceCase{u"@IPAGothic", "IPAGothic"},
                      // Not installed: a Japanese face, Mincho when the name says so.
                      FaceCase{u"HG正楷書体-PRO", "IPAGothic"}, FaceCase{u"@游明朝", "IPAMincho"},
                      FaceCase{u"No Such Face", "IPAGothic"}, FaceCase{u"", "IPAGothic"},
                      FaceCase{u"@", "IPAGothic"}));

TEST(JapaneseFonts, InstalledLatinFaceIsKeptAndStillDrawsKanji)
{
    const QFont f = JapaneseFonts::font(QStringLiteral("DejaVu Sans"), 20, false, false);
    EXPECT_EQ(QFontInfo(f).family(), QStringLiteral("DejaVu Sans"));
    // Kanji come from the Japanese fallback, not from whatever fontconfig picks.
    EXPECT_TRUE(f.families().contains(QStringLiteral("IPAGothic")));
}

TEST(JapaneseFonts, InstallMakesPlainQFontsDrawWithTheStandIn)
{
    JapaneseFonts::install();
    JapaneseFonts::install(); // a second call does nothing harmful
    for (const auto& c : {FaceCase{u"ＭＳ 明朝", "IPAMincho"}, FaceCase{u"ＭＳ Ｐゴシック", "IPAPGothic"},
                          FaceCase{u"@ＭＳ ゴシック", "IPAGothic"}, FaceCase{u"MS Mincho", "IPAMincho"}}) {
        QFont f(QString::fromUtf16(c.stored));
        f.setPixelSize(16);
        EXPECT_EQ(QFontInfo(f).family(), QString::fromLatin1(c.family)) << QString::fromUtf16(c.stored).toStdString();
    }
}

TEST(JapaneseFonts, FaceListIsSortedUniqueAndHasVerticalFacesForJapaneseFamiliesOnly)
{
    const QStringList list = JapaneseFonts::faceList();
    ASSERT_FALSE(list.isEmpty());
    for (int i = 1; i < list.size(); ++i) {
        EXPECT_LT(QString::compare(list[i - 1], list[i], Qt::CaseInsensitive), 1) << list[i].toStdString();
        EXPECT_NE(list[i - 1], list[i]);
    }
    for (const char16_t* name : {u"IPAGothic", u"@IPAGothic", u"IPAMincho", u"@IPAMincho", u"@IPAPGothic",
                                 u"@IPAPMincho", u"DejaVu Sans", u"ＭＳ ゴシック", u"@ＭＳ ゴシック",
                                 u"ＭＳ Ｐ明朝", u"@ＭＳ Ｐ明朝"})
        EXPECT_TRUE(list.contains(QString::fromUtf16(name))) << QString::fromUtf16(name).toStdString();
    for (const QString& name : list) {
        EXPECT_FALSE(name.contains(QLatin1String(" ["))) << name.toStdString(); // no foundry suffix
        if (name.startsWith(QLatin1Char('@'))) {
            EXPECT_TRUE(JapaneseFonts::coversJapanese(JapaneseFonts::resolveFamily(name))) << name.toStdString();
        }
    }
    EXPECT_FALSE(list.contains(QStringLiteral("@DejaVu Sans")));
    EXPECT_FALSE(list.contains(QStringLiteral("Sans Serif")));
}

TEST(JapaneseFonts, FaceListWithoutVerticalFacesAndUnsorted)
{
    const QStringList plain = JapaneseFonts::faceList(false, true);
    for (const QString& name : plain)
        EXPECT_FALSE(name.startsWith(QLatin1Char('@'))) << name.toStdString();
    QStringList unsorted = JapaneseFonts::faceList(true, false);
    QStringList sorted = JapaneseFonts::faceList(true, true);
    EXPECT_EQ(unsorted.size(), sorted.size());
    unsorted.sort(Qt::CaseInsensitive);
    sorted.sort(Qt::CaseInsensitive);
    EXPECT_EQ(unsorted, sorted);
}

TEST(JapaneseFonts, PixelSizeIsKeptWithinUsableBounds)
{
    struct Case {
        qreal in;
        int px;
    } cases[] = {{13, 13},
                 {37, 37},
                 {12.5, 13},
                 {0, 1},
                 {-20, 1},
                 {667, 667},
                 {1e9, JapaneseFonts::kMaxPixelSize},
                 {std::numeric_limits<qreal>::quiet_NaN(), 1},
                 {std::numeric_limits<qreal>::infinity(), 1}};
    for (const Case& c : cases)
        EXPECT_EQ(JapaneseFonts::font(QStringLiteral("ＭＳ ゴシック"), c.in, false, false).pixelSize(), c.px) << c.in;
}

TEST(JapaneseFonts, BoldAndItalicAreCarried)
{
    const QFont f = JapaneseFonts::font(QStringLiteral("@ＭＳ 明朝"), 20, true, true);
    EXPECT_TRUE(f.bold());
    EXPECT_TRUE(f.italic());
    const QFont g = JapaneseFonts::font(QStringLiteral("@ＭＳ 明朝"), 20, false, false);
    EXPECT_FALSE(g.bold());
    EXPECT_FALSE(g.italic());
}

TEST(JapaneseFonts, ScreenPixelSizeIsTheGdiHeightAt96Dpi)
{
    const int cases[][2] = {{9, 12}, {10, 13}, {11, 15}, {12, 16}, {14, 19}, {36, 48}, {0, 0}, {-9, -12}, {500, 667}};
    for (const auto& c : cases)
        EXPECT_EQ(JapaneseFonts::screenPixelSize(c[0]), c[1]) << c[0];
}

TEST(JapaneseFonts, VerticalFaceNames)
{
    EXPECT_TRUE(JapaneseFonts::isVerticalFace(QStringLiteral("@ＭＳ 明朝")));
    EXPECT_FALSE(JapaneseFonts::isVerticalFace(QStringLiteral("ＭＳ 明朝")));
    EXPECT_EQ(JapaneseFonts::baseFace(QStringLiteral("@ＭＳ 明朝")), QStringLiteral("ＭＳ 明朝"));
    EXPECT_EQ(JapaneseFonts::baseFace(QStringLiteral("IPAGothic")), QStringLiteral("IPAGothic"));
}

} // namespace

TEST(JapaneseFonts, KanjiBeyondTheIpaFacesDrawFromAFaceThatHasThem)
{
    // Names in UTF-8 lists carry kanji that code page 932 and the IPA faces lack (𠮷, 髙 is
    // in both); Qt's fallback must find a face that draws them rather than an empty box.
    for (const char16_t* stored : { u"ＭＳ 明朝", u"@ＭＳ ゴシック" }) {
        QTextLayout layout(QString::fromUtf16(u"𠮷田"), JapaneseFonts::font(QString::fromUtf16(stored), 40, false, false));
        layout.beginLayout();
        layout.createLine();
        layout.endLayout();
        bool drawn = false;
        for (const QGlyphRun& run : layout.glyphRuns()) {
            if (run.rawFont().supportsCharacter(char32_t(0x20BB7)))
                drawn = true;
        }
        EXPECT_TRUE(drawn) << QString::fromUtf16(stored).toStdString() << ": no installed face has U+20BB7";
    }
}
