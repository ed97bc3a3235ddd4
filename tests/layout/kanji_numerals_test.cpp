// Numbers of vertical addresses in kanji: real address shapes in both styles, every number
// from 1 to 9999 against a rule of its own, the hyphens, and input that is not an address.

#include "layout/KanjiNumerals.h"
#include "support/TestText.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>

using testtext::u;
using KanjiNumerals::Hyphen;
using KanjiNumerals::Style;

namespace {

TEST(KanjiNumerals, AddressShapes)
{
    const struct {
        const char16_t* in;
        Style style;
        Hyphen hyphen;
        const char16_t* out;
    } cases[] = {
        // 丁目-番地-号 with full-width hyphens and digits
        { u"東京都世田谷区桜新町２－１２－３", Style::Tens, Hyphen::Line, u"東京都世田谷区桜新町二―十二―三" },
        { u"東京都世田谷区桜新町２－１２－３", Style::Tens, Hyphen::No, u"東京都世田谷区桜新町二の十二の三" },
        { u"東京都世田谷区桜新町２－１２－３", Style::Digits, Hyphen::Line, u"東京都世田谷区桜新町二―一二―三" },
        { u"東京都世田谷区桜新町２－１２－３", Style::None, Hyphen::No, u"東京都世田谷区桜新町２－１２－３" },
        // half-width, and every hyphen-like character between numbers
        { u"中央2-5-1", Style::Tens, Hyphen::Line, u"中央二―五―一" },
        { u"1‐2‑3‒4–5—6―7−8－9ー1ｰ2", Style::Digits, Hyphen::No, u"一の二の三の四の五の六の七の八の九の一の二" },
        { u"四丁目３１番地７号", Style::Tens, Hyphen::Line, u"四丁目三十一番地七号" },
        { u"四丁目３１番地７号", Style::Digits, Hyphen::Line, u"四丁目三一番地七号" },
        { u"栄三丁目１５－２７", Style::Tens, Hyphen::Line, u"栄三丁目十五―二十七" },
        { u"大通西10-20", Style::Tens, Hyphen::Line, u"大通西十―二十" },
        // building and room numbers are read digit by digit
        { u"荻窪グリーンハイツ２０３号", Style::Tens, Hyphen::Line, u"荻窪グリーンハイツ二〇三号" },
        { u"万代テラス１１０２", Style::Tens, Hyphen::Line, u"万代テラス一一〇二" },
        { u"Ａ棟１２０５号室", Style::Tens, Hyphen::Line, u"Ａ棟一二〇五号室" },
        { u"千葉中央ビル６階", Style::Tens, Hyphen::Line, u"千葉中央ビル六階" },
        { u"第05ビル", Style::Tens, Hyphen::Line, u"第〇五ビル" },
        { u"ABCビル 101号室", Style::Tens, Hyphen::Line, u"ABCビル 一〇一号室" },
        // a hyphen that is not between two numbers stays
        { u"グランド-ハイツ3-B", Style::Tens, Hyphen::Line, u"グランド-ハイツ三-B" },
        { u"5-", Style::Tens, Hyphen::No, u"五-" },
        { u"-5", Style::Tens, Hyphen::No, u"-五" },
        // numbers already in kanji are left, their hyphens follow the rule
        { u"銀座四丁目五番", Style::Tens, Hyphen::Line, u"銀座四丁目五番" },
        { u"桜新町二－十二－三", Style::Tens, Hyphen::No, u"桜新町二の十二の三" },
        // postal codes and telephone numbers stay as written
        { u"〒150-0001 神宮前1-2-3", Style::Tens, Hyphen::Line, u"〒150-0001 神宮前一―二―三" },
        { u"〒　１５０－０００１", Style::Tens, Hyphen::Line, u"〒　１５０－０００１" },
        { u"Tel 03-1234-5678", Style::Tens, Hyphen::Line, u"Tel 03-1234-5678" },
        { u"TEL：０３－１２３４－５６７８", Style::Digits, Hyphen::No, u"TEL：０３－１２３４－５６７８" },
        { u"ＦＡＸ (03)1234-5678 内線12", Style::Tens, Hyphen::Line, u"ＦＡＸ (03)1234-5678 内線十二" },
        { u"電話 06-1234-5678", Style::Tens, Hyphen::Line, u"電話 06-1234-5678" },
        { u"Hotel 3", Style::Tens, Hyphen::Line, u"Hotel 三" },
        // digits of other scripts are not ours
        { u"١٢٣-٤ ①－② ⑫", Style::Tens, Hyphen::Line, u"١٢٣-٤ ①－② ⑫" },
        // odd input
        { u"----", Style::Tens, Hyphen::Line, u"----" },
        { u"", Style::Tens, Hyphen::Line, u"" },
        { u"2\u0301-3", Style::Tens, Hyphen::Line, u"二\u0301-三" },
        { u"\xD800" u"1" u"\xDC00", Style::Digits, Hyphen::Line, u"\xD800" u"一" u"\xDC00" },
        { u"123456789012345678901234567890", Style::Tens, Hyphen::Line,
          u"一二三四五六七八九〇一二三四五六七八九〇一二三四五六七八九〇" },
    };
    for (const auto& c : cases) {
        const QString in = u(c.in);
        EXPECT_EQ(KanjiNumerals::convert(in, c.style, c.hyphen), u(c.out)) << in.toStdString();
    }
}

// An independent reading of the kanji: digits side by side are a place-value number, 十
// multiplies the digit before it (or one) by ten and adds the digit after it.
int readKanji(const QString& s, bool* ok)
{
    static const QString digits = u(u"〇一二三四五六七八九");
    *ok = !s.isEmpty();
    const int ten = int(s.indexOf(u'十'));
    if (ten >= 0) {
        bool a = true, b = true;
        const int tens = ten == 0 ? 1 : readKanji(s.left(ten), &a);
        const int ones = ten + 1 == s.size() ? 0 : readKanji(s.mid(ten + 1), &b);
        *ok = a && b && tens >= 1 && tens <= 9 && ones <= 9;
        return tens * 10 + ones;
    }
    int v = 0;
    for (QChar c : s) {
        const int d = int(digits.indexOf(c));
        if (d < 0)
            *ok = false;
        v = v * 10 + d;
    }
    return v;
}

TEST(KanjiNumerals, EveryNumberTo9999ReadsBack)
{
    for (int n = 1; n <= 9999; ++n) {
        const QString ascii = QString::number(n);
        QString wide = ascii;
        for (QChar& c : wide)
            c = QChar(char16_t(c.unicode() - u'0' + 0xFF10));
        for (Style style : { Style::Digits, Style::Tens }) {
            const QString k = KanjiNumerals::convert(ascii, style, Hyphen::Line);
            EXPECT_EQ(KanjiNumerals::convert(wide, style, Hyphen::Line), k) << n;
            bool ok = false;
            EXPECT_EQ(readKanji(k, &ok), n) << n << " " << k.toStdString();
            EXPECT_TRUE(ok) << n;
            const bool withTen = style == Style::Tens && n >= 10 && n <= 99;
            // 十 exactly for 10..99 in the 十百 style; otherwise one kanji per digit.
            EXPECT_EQ(k.contains(u'十'), withTen) << n;
            if (!withTen)
                EXPECT_EQ(k.size(), ascii.size()) << n;
            else
                EXPECT_FALSE(k.contains(u'〇')) << n;
        }
    }
}

TEST(KanjiNumerals, StoredValuesOutsideTheOptionsCountAsOff)
{
    EXPECT_EQ(KanjiNumerals::styleFrom(0), Style::None);
    EXPECT_EQ(KanjiNumerals::styleFrom(1), Style::Digits);
    EXPECT_EQ(KanjiNumerals::styleFrom(2), Style::Tens);
    EXPECT_EQ(KanjiNumerals::styleFrom(3), Style::None);
    EXPECT_EQ(KanjiNumerals::styleFrom(-1), Style::None);
    EXPECT_EQ(KanjiNumerals::hyphenFrom(1), Hyphen::No);
    EXPECT_EQ(KanjiNumerals::hyphenFrom(7), Hyphen::Line);
}

TEST(KanjiNumerals, LongTextsConvertInLinearTime)
{
    QString line;
    for (int i = 0; i < 250; ++i)
        line += u(u"１２－3〒"); // 2,000 characters, every 〒 starting a kept number
    QElapsedTimer t;
    t.start();
    const QString out = KanjiNumerals::convert(line, Style::Tens, Hyphen::Line);
    EXPECT_LT(t.elapsed(), 200);
    EXPECT_TRUE(out.startsWith(u(u"十二―三〒"))) << out.left(10).toStdString();
    EXPECT_EQ(out.count(u'十'), 1); // after the first 〒 every number is a kept postal code
}

} // namespace
