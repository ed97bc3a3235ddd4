#include "platform/LCMap.h"

#include <gtest/gtest.h>

namespace {

struct MapCase {
    const char16_t* in;
    unsigned flags;
    const char16_t* out;
};

class LCMapTable : public ::testing::TestWithParam<MapCase> {};

TEST_P(LCMapTable, MapsAsTheLocaleMappingDoes)
{
    const MapCase& c = GetParam();
    EXPECT_EQ(LCMap::map(QString::fromUtf16(c.in), c.flags).toStdU16String(), std::u16string(c.out))
        << QString::fromUtf16(c.in).toStdString();
}

using namespace LCMap;

INSTANTIATE_TEST_SUITE_P(
    HalfWidth, LCMapTable,
    ::testing::Values(
        MapCase{u"１２３－４５６７", HalfWidth, u"123-4567"},
        MapCase{u"〒１２３－４５６７", HalfWidth, u"〒123-4567"}, // 〒 has no half-width form
        MapCase{u"ＡＢＣａｂｃ！＠＃～", HalfWidth, u"ABCabc!@#~"},
        MapCase{u"　", HalfWidth, u" "},
        MapCase{u"ガギグゲゴ", HalfWidth, u"ｶﾞｷﾞｸﾞｹﾞｺﾞ"},
        MapCase{u"ザジズゼゾダヂヅデド", HalfWidth, u"ｻﾞｼﾞｽﾞｾﾞｿﾞﾀﾞﾁﾞﾂﾞﾃﾞﾄﾞ"},
        MapCase{u"バビブベボパピプペポ", HalfWidth, u"ﾊﾞﾋﾞﾌﾞﾍﾞﾎﾞﾊﾟﾋﾟﾌﾟﾍﾟﾎﾟ"},
        MapCase{u"ヴ", HalfWidth, u"ｳﾞ"},
        MapCase{u"トラクタ", HalfWidth, u"ﾄﾗｸﾀ"},
        MapCase{u"ァィゥェォャュョッヲン", HalfWidth, u"ｧｨｩｪｫｬｭｮｯｦﾝ"},
        MapCase{u"。「」、・ー゛゜", HalfWidth, u"｡｢｣､･ｰﾞﾟ"},
        MapCase{u"ひらがな漢字", HalfWidth, u"ひらがな漢字"}, // no half-width forms
        MapCase{u"ヰヱヵヶヮ", HalfWidth, u"ヰヱヵヶヮ"},
        MapCase{u"￥￠￡￢￣￤", HalfWidth, u"¥¢£¬¯¦"},
        MapCase{u"abc 123", HalfWidth, u"abc 123"},
        MapCase{u"", HalfWidth, u""}));

INSTANTIATE_TEST_SUITE_P(
    FullWidth, LCMapTable,
    ::testing::Values(
        MapCase{u"123-4567", FullWidth, u"１２３－４５６７"},
        MapCase{u"Tel 03", FullWidth, u"Ｔｅｌ　０３"},
        MapCase{u"!~", FullWidth, u"！～"},
        MapCase{u"ｶﾞｷﾞｸﾞｹﾞｺﾞ", FullWidth, u"ガギグゲゴ"},
        MapCase{u"ﾊﾟﾋﾟﾌﾟﾍﾟﾎﾟﾊﾞ", FullWidth, u"パピプペポバ"},
        MapCase{u"ｳﾞ", FullWidth, u"ヴ"},
        MapCase{u"ﾄﾗｸﾀ", FullWidth, u"トラクタ"},
        MapCase{u"ｱﾞｶﾟ", FullWidth, u"ア゛カ゜"}, // no such syllables: base and mark stay apart
        MapCase{u"ﾞﾟ", FullWidth, u"゛゜"},
        MapCase{u"｡｢｣､･ｰ", FullWidth, u"。「」、・ー"},
        MapCase{u"ﾄﾗｸﾀﾌｨｰﾄﾞ", FullWidth, u"トラクタフィード"},
        MapCase{u"¥¢", FullWidth, u"￥￠"},
        MapCase{u"ガ漢字ａ", FullWidth, u"ガ漢字ａ"},
        MapCase{u"ｶ", FullWidth, u"カ"}));

INSTANTIATE_TEST_SUITE_P(
    Case, LCMapTable,
    ::testing::Values(
        MapCase{u"abc xyz", UpperCase, u"ABC XYZ"},
        MapCase{u"ａｂｃ", UpperCase, u"ＡＢＣ"},
        MapCase{u"ａｂｃ１", UpperCase | HalfWidth, u"ABC1"},
        MapCase{u"ABC", LowerCase, u"abc"},
        MapCase{u"ß", UpperCase, u"ß"}, // one-to-one mapping only
        MapCase{u"𐐨", UpperCase, u"𐐀"}, // outside the BMP
        // Contradicting flags are refused: the text comes back as it was.
        MapCase{u"ａ1", HalfWidth | FullWidth, u"ａ1"},
        MapCase{u"aB", UpperCase | LowerCase, u"aB"}));

TEST(LCMap, RoundTripOfEveryFullWidthAsciiAndKatakanaForm)
{
    QString full;
    for (char16_t c = 0xFF01; c <= 0xFF5E; ++c)
        full.append(QChar(c));
    for (char16_t c = u'ァ'; c <= u'ヴ'; ++c) {
        if (c != u'ヰ' && c != u'ヱ' && c != u'ヮ' && c != u'ヵ')
            full.append(QChar(c));
    }
    full.append(QStringLiteral("。「」、・ー　"));
    const QString half = LCMap::halfWidth(full);
    for (QChar c : half)
        EXPECT_TRUE(c.unicode() < 0x80 || (c.unicode() >= 0xFF61 && c.unicode() <= 0xFF9F)) << c.unicode();
    EXPECT_EQ(LCMap::fullWidth(half), full);
}

} // namespace
