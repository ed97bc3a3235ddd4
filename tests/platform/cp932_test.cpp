#include "platform/Cp932.h"

#include <gtest/gtest.h>

namespace {

QByteArray hex(const char* h)
{
    return QByteArray::fromHex(h);
}

struct DecodeCase {
    const char* name;
    const char* bytes; // hex
    const char16_t* text;
    int bad;
    int firstBad;
};

} // namespace

TEST(Cp932, DecodesTheWindowsMapping)
{
    const DecodeCase cases[] = {
        { "ascii", "41622c31", u"Ab,1", 0, -1 },
        { "backslash stays", "5c", u"\\", 0, -1 },
        { "tilde stays", "7e", u"~", 0, -1 },
        { "full-width minus", "817c", u"－", 0, -1 },
        { "wave dash as full-width tilde", "8160", u"～", 0, -1 },
        { "circled one", "8740", u"①", 0, -1 },
        { "half-width katakana", "b1b2", u"ｱｲ", 0, -1 },
        { "kanji with 5C trail byte", "955c8ea6", u"表示", 0, -1 },
        { "postal mark", "81a7", u"〒", 0, -1 },
        { "IBM extension", "fbfc", u"髙", 0, -1 },
        { "NEC selected IBM extension", "ed40", u"纊", 0, -1 },
        { "ideographic space", "8140", u"　", 0, -1 },
    };
    for (const auto& c : cases) {
        Cp932::DecodeStats st;
        EXPECT_EQ(Cp932::decode(hex(c.bytes), &st), QString::fromUtf16(c.text)) << c.name;
        EXPECT_EQ(st.badSequences, c.bad) << c.name;
        EXPECT_EQ(st.firstBadOffset, c.firstBad) << c.name;
    }
}

TEST(Cp932, BadBytesBecomeOneReplacementEachAndKeepTheTextAround)
{
    const DecodeCase cases[] = {
        // A lead byte whose next byte cannot follow it: the next byte is read anew.
        { "lead byte before a blank", "41 81 20 42", u"A\uFFFD B", 1, 1 },
        { "lead byte before a comma", "889f 81 2c 88a0", u"亜\uFFFD,唖", 1, 2 },
        { "lead byte before CR", "82a0 82 0d 0a", u"あ\uFFFD\r\n", 1, 2 },
        // A pair in the trail range without a character: one replacement for the pair.
        { "unassigned pair", "41 85 40 42", u"A\uFFFDB", 1, 1 },
        // A lead byte cut off at the end is not swallowed.
        { "truncated final lead byte", "41 42 82", u"AB\uFFFD", 1, 2 },
        { "lone lead byte", "e0", u"\uFFFD", 1, 0 },
        { "two faults", "fd 41 82", u"\uFFFDA\uFFFD", 2, 0 },
        { "empty", "", u"", 0, -1 },
    };
    for (const auto& c : cases) {
        QByteArray b = hex(QByteArray(c.bytes).replace(' ', "").constData());
        Cp932::DecodeStats st;
        EXPECT_EQ(Cp932::decode(b, &st), QString::fromUtf16(c.text)) << c.name;
        EXPECT_EQ(st.badSequences, c.bad) << c.name;
        EXPECT_EQ(st.firstBadOffset, c.firstBad) << c.name;
    }
}

TEST(Cp932, EncodesAndRefusesWhatItCannotHold)
{
    struct Case {
        const char* name;
        const char16_t* text;
        bool ok;
        const char* bytes;      // hex, when ok
        const char16_t* culprit; // when not ok
    } cases[] = {
        { "ascii", u"POST=1", true, "504f53543d31", nullptr },
        { "face name", u"ＭＳ ゴシック", true, "826c827220835383568362834e", nullptr },
        { "full-width minus", u"－", true, "817c", nullptr },
        { "full-width tilde", u"～", true, "8160", nullptr },
        { "half-width katakana", u"ｶｽﾀﾏﾊﾞｰｺｰﾄﾞ", true, "b6bdc0cfcadeb0bab0c4de", nullptr },
        { "empty", u"", true, "", nullptr },
        { "emoji", u"年賀\U0001F38D", false, nullptr, u"\U0001F38D" },
        { "hangul", u"A한", false, nullptr, u"한" },
        { "replacement character from a bad read", u"x\uFFFDy", false, nullptr, u"\uFFFD" },
        // The converter would write the bytes of № for it, which read back as № and not as it.
        { "private-use character with a one-way mapping", u"No\uF86F1", false, nullptr, u"\uF86F" },
        // Named as typed, not as the look-alike it would have been written as.
        { "lone surrogate before an em dash", u"a\xDACF\u2014", false, nullptr, u"\xDACF" },
    };
    for (const auto& c : cases) {
        QByteArray out("untouched");
        QString culprit;
        const bool ok = Cp932::encode(QString::fromUtf16(c.text), &out, &culprit);
        EXPECT_EQ(ok, c.ok) << c.name;
        if (c.ok) {
            EXPECT_EQ(out.toHex(), QByteArray(c.bytes)) << c.name;
        } else {
            EXPECT_EQ(out, QByteArray("untouched")) << c.name;
            EXPECT_EQ(culprit, QString::fromUtf16(c.culprit)) << c.name;
        }
        EXPECT_EQ(Cp932::canEncode(QString::fromUtf16(c.text)), c.ok) << c.name;
    }
}

TEST(Cp932, EveryDecodedCharacterEncodesBackToItsBytes)
{
    // All single bytes and pairs that decode cleanly must come back unchanged, except the
    // few duplicates that Windows writes with their preferred code.
    int pairs = 0;
    int roundTrips = 0;
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (!Cp932::isLeadByte(uchar(lead)))
            continue;
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            if (!Cp932::isTrailByte(uchar(trail)))
                continue;
            const char b[2] = { char(lead), char(trail) };
            Cp932::DecodeStats st;
            const QString s = Cp932::decode(QByteArrayView(b, 2), &st);
            if (st.badSequences)
                continue;
            ++pairs;
            QByteArray back;
            ASSERT_TRUE(Cp932::encode(s, &back)) << std::hex << lead << " " << trail;
            const QString again = Cp932::decode(back);
            EXPECT_EQ(again, s) << std::hex << lead << " " << trail;
            if (back == QByteArray(b, 2))
                ++roundTrips;
        }
    }
    // Code page 932 has 7,915 two-byte characters; a few hundred are duplicates.
    EXPECT_GT(pairs, 7800);
    EXPECT_GT(roundTrips, 7000);
}

TEST(Cp932, WritesWhatInputMethodsAndWebPagesTypeAsJapaneseWindowsDoes)
{
    const struct {
        const char* name;
        const char16_t* typed;
        const char* bytes;        // hex of what is written
        const char16_t* readBack; // what the next start shows
    } cases[] = {
        { "wave dash", u"9時〜17時", "39 8E9E 8160 3137 8E9E", u"9時～17時" },
        { "minus sign", u"梅田１−２−３", "947e 9363 8250 817c 8251 817c 8252", u"梅田１－２－３" },
        { "en dash", u"1–2", "31 817c 32", u"1－2" },
        { "double vertical line", u"‖", "8161", u"∥" },
        { "em dash", u"—", "815c", u"―" },
        { "cent", u"¢", "8191", u"￠" },
        { "pound", u"£", "8192", u"￡" },
        { "not sign", u"¬", "81ca", u"￢" },
        { "yen sign reads back as a yen sign", u"¥500", "818f 353030", u"￥500" },
        { "no-break space", u"大阪\u00A0北区", "91e5 8de3 20 966b 8be6", u"大阪 北区" },
        // What Windows itself writes stays as it is.
        { "full-width tilde", u"～", "8160", u"～" },
        { "full-width minus", u"－", "817c", u"－" },
        { "backslash", u"C:\\a", "433a 5c 61", u"C:\\a" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QByteArray written;
        QString culprit;
        ASSERT_TRUE(Cp932::encode(QString::fromUtf16(c.typed), &written, &culprit))
            << culprit.toStdString();
        EXPECT_EQ(written.toHex(), QByteArray(c.bytes).replace(' ', "").toLower());
        Cp932::DecodeStats st;
        EXPECT_EQ(Cp932::decode(written, &st), QString::fromUtf16(c.readBack));
        EXPECT_EQ(st.badSequences, 0);
    }

    // Next to one of them, a character code page 932 really cannot hold still refuses the
    // whole text and is the one named.
    QByteArray out("untouched");
    QString culprit;
    EXPECT_FALSE(Cp932::encode(u"9時〜17時 한", &out, &culprit));
    EXPECT_EQ(out, QByteArray("untouched"));
    EXPECT_EQ(culprit, QStringLiteral("한"));
}

TEST(Cp932, ControlCodesKeepTheirBytesBesideJapaneseText)
{
    // Code page 932 leaves 00..7F as they are; the converter's IBM mapping would write the
    // control codes 1A, 1C and 7F as each other.
    for (const char16_t control : { u'\x1A', u'\x1C', u'\x7F', u'\t' }) {
        const QString text = QString(QChar(control)) + QStringLiteral("あ") + QChar(control);
        QByteArray out;
        ASSERT_TRUE(Cp932::encode(text, &out));
        EXPECT_EQ(out.toHex(), (QByteArray(1, char(control)) + "\x82\xa0" + char(control)).toHex()) << int(control);
        EXPECT_EQ(Cp932::decode(out), text) << int(control);
    }
}
