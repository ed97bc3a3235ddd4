#include "layout/FieldTexts.h"
#include "platform/LCMap.h"
#include "support/TestText.h"

#include <gtest/gtest.h>

namespace {

using testtext::u;

FieldVisibility allVisible()
{
    FieldVisibility v;
    v.fill(true);
    return v;
}

FieldVisibility namesVisible(bool four, bool five)
{
    FieldVisibility v = allVisible();
    v[3] = four;
    v[4] = five;
    return v;
}

SenderInfo sampleSender()
{
    SenderInfo s;
    s.postalCode = u(u"〒100-0001");
    s.address1 = u(u"東京都千代田区千代田１－１");
    s.address2 = u(u"皇居前ビル　３Ｆ");
    s.name1 = u(u"山田商店");
    s.name2 = u(u"山田　一郎");
    s.tel = u(u"03-1234-5678");
    s.fax = u(u"03-1234-5679");
    s.mail = u(u"info@example.jp");
    s.url = u(u"https://example.jp/");
    return s;
}

// ---------------------------------------------------------------------------------------------

struct TargetCase {
    bool visible4;
    bool visible5;
    const char16_t* name2;
    int target;
};

TEST(FieldTexts, HonorificTarget)
{
    const TargetCase cases[] = {
        {true, true, u"花子", 5},      // name 2 visible and not blank
        {true, true, u" ", 4},         // name 2 blank: name 1
        {true, true, u"", 4},
        {true, true, u" \t ", 4},
        {true, true, u"　", 5},        // an ideographic space is text, not blank
        {true, false, u"花子", 4},     // name 2 hidden
        {false, true, u"", 5},         // name 1 hidden: name 2 even when blank
        {false, true, u"花子", 5},
        {false, false, u"花子", 0},    // both hidden: nowhere
    };
    for (const TargetCase& c : cases)
        EXPECT_EQ(FieldTexts::honorificTarget(c.visible4, c.visible5, u(c.name2)), c.target)
            << c.visible4 << c.visible5 << QString::fromUtf16(c.name2).toStdString();
}

struct HonorificCase {
    const char* what;
    bool visible4, visible5;
    const char16_t* name1;
    const char16_t* name2;
    bool useRegistered;
    const char16_t* column;
    const char16_t* combo;
    TextTarget target;
    const char16_t* field4;
    const char16_t* field5;
};

TEST(FieldTexts, HonorificGoesToTheRightName)
{
    const HonorificCase cases[] = {
        {"combo honorific on name 2", true, true, u"株式会社山田", u"山田太郎", false, u"殿", u"様", TextTarget::Screen,
         u"株式会社山田", u"山田太郎　様"},
        {"registered honorific", true, true, u"山田太郎", u"", true, u"殿", u"様", TextTarget::Screen,
         u"山田太郎　殿", u" "},
        {"name 2 blank on paper", true, true, u"山田太郎", u" ", false, u"", u"御中", TextTarget::Print,
         u"山田太郎　御中", u" "},
        {"empty registered honorific keeps the space", true, false, u"山田太郎", u"", true, u"", u"様",
         TextTarget::Screen, u"山田太郎　", u" "},
        {"name 1 hidden, name 2 blank", false, true, u"山田太郎", u" ", false, u"", u"様", TextTarget::Screen,
         u"山田太郎", u" 　様"},
        {"both hidden", false, false, u"山田太郎", u"花子", false, u"", u"様", TextTarget::Screen, u"山田太郎",
         u"花子"},
        {"typed honorific", true, true, u"山田太郎", u"", false, u"", u"先生", TextTarget::Print, u"山田太郎　先生",
         u""},
    };
    for (const HonorificCase& c : cases) {
        RecordColumns cols;
        cols.name1 = u(c.name1);
        cols.name2 = u(c.name2);
        cols.honorific = u(c.column);
        const HonorificChoice choice{c.useRegistered, u(c.combo)};
        const FieldTextArray t = FieldTexts::fill(cols, SenderInfo(), choice, namesVisible(c.visible4, c.visible5),
                                                  c.target);
        EXPECT_EQ(t[3], u(c.field4)) << c.what;
        EXPECT_EQ(t[4], u(c.field5)) << c.what;

        // Recomputing only the names gives the same and leaves the other fields alone.
        FieldTextArray again = t;
        again[3] = QStringLiteral("old");
        again[4] = QStringLiteral("old");
        FieldTexts::applyHonorific(again, cols, choice, namesVisible(c.visible4, c.visible5), c.target);
        EXPECT_EQ(again, t) << c.what;
    }
}

TEST(FieldTexts, ApplyHonorificFollowsAChangedChoiceWithoutStackingHonorifics)
{
    RecordColumns cols;
    cols.name1 = u(u"山田太郎");
    cols.name2 = u(u"");
    FieldTextArray t = FieldTexts::fill(cols, SenderInfo(), {false, u(u"様")}, allVisible(), TextTarget::Screen);
    EXPECT_EQ(t[3], u(u"山田太郎　様"));
    FieldTexts::applyHonorific(t, cols, {false, u(u"御中")}, allVisible(), TextTarget::Screen);
    EXPECT_EQ(t[3], u(u"山田太郎　御中"));
    // Name 1 hidden now: the honorific moves to name 2.
    FieldTexts::applyHonorific(t, cols, {false, u(u"御中")}, namesVisible(false, true), TextTarget::Screen);
    EXPECT_EQ(t[3], u(u"山田太郎"));
    EXPECT_EQ(t[4], u(u"　御中"));
}

TEST(FieldTexts, SenderFieldsAndPrefixes)
{
    const SenderInfo s = sampleSender();
    const FieldTextArray t = FieldTexts::fill(RecordColumns(), s, {}, allVisible(), TextTarget::Print);
    EXPECT_EQ(t[7], s.address1);
    EXPECT_EQ(t[8], s.address2);
    EXPECT_EQ(t[9], s.name1);
    EXPECT_EQ(t[10], s.name2);
    EXPECT_EQ(t[11], u(u"Tel 03-1234-5678"));
    EXPECT_EQ(t[12], u(u"Fax 03-1234-5679"));
    EXPECT_EQ(t[13], u(u"EMail info@example.jp"));
    EXPECT_EQ(t[14], u(u"URL https://example.jp/"));
    EXPECT_EQ(t[6], QString()); // the sender postal code has rules of its own
}

struct BlankCase {
    const char16_t* value;
    const char16_t* screen;
    const char16_t* print;
};

TEST(FieldTexts, BlankSenderValuesNeverLeaveALonePrefix)
{
    const BlankCase cases[] = {
        {u"", u" ", u""},
        {u" ", u" ", u""},
        {u"  \t", u" ", u""},
        {u"0", u"Tel 0", u"Tel 0"},
        {u"　", u"Tel 　", u"Tel 　"}, // an ideographic space is a value
    };
    for (const BlankCase& c : cases) {
        SenderInfo s;
        s.tel = s.fax = s.mail = s.url = u(c.value);
        const FieldTextArray screen = FieldTexts::fill(RecordColumns(), s, {}, allVisible(), TextTarget::Screen);
        const FieldTextArray print = FieldTexts::fill(RecordColumns(), s, {}, allVisible(), TextTarget::Print);
        EXPECT_EQ(screen[11], u(c.screen));
        EXPECT_EQ(print[11], u(c.print));
        for (int i : {12, 13, 14}) {
            EXPECT_EQ(screen[i].isEmpty(), false);
            EXPECT_EQ(FieldTexts::isBlank(print[i]), FieldTexts::isBlank(u(c.value)));
        }
    }
}

TEST(FieldTexts, ScreenGivesEveryBlankFieldASingleSpaceAndPrintDoesNot)
{
    RecordColumns cols;
    cols.postalCode = QStringLiteral("  ");
    cols.address1 = QString();
    cols.address2 = u(u"ビル");
    cols.name1 = u(u"");
    cols.name2 = u(u"");
    cols.barcode = QStringLiteral("\t");
    SenderInfo s;
    s.address1 = QString();
    s.name1 = QStringLiteral("   ");
    FieldVisibility v = allVisible();
    v[3] = v[4] = false; // no honorific, so the names stay blank
    const FieldTextArray screen = FieldTexts::fill(cols, s, {}, v, TextTarget::Screen);
    for (int i = 0; i < kFieldCount; ++i) {
        if (i == 2)
            EXPECT_EQ(screen[i], u(u"ビル"));
        else
            EXPECT_EQ(screen[i], QStringLiteral(" ")) << "field " << i + 1;
    }
    const FieldTextArray print = FieldTexts::fill(cols, s, {}, v, TextTarget::Print);
    EXPECT_EQ(print[0], QStringLiteral("  "));
    EXPECT_EQ(print[1], QString());
    EXPECT_EQ(print[5], QStringLiteral("\t"));
    EXPECT_EQ(print[9], QStringLiteral("   "));
    EXPECT_EQ(print[11], QString());
}

TEST(FieldTexts, RecordColumnsComeFromTheMappedCsvColumns)
{
    CsvColumnMap map;
    map.textDelimiter = QStringLiteral("\"");
    map.postNo = 1;
    map.adr1No = 2;
    map.adr2No = 3;
    map.mei1No = 4;
    map.mei2No = 0;  // "対象項目無し"
    map.cbarNo = -1; // never set
    map.keisNo = 9;  // beyond the end of the line
    const RecordColumns c = RecordColumns::fromLine(
        u(u"\"123-4567\",\"東京都港区芝公園４－２－８\",,\"山田太郎\",\"様\""), map);
    EXPECT_EQ(c.postalCode, QStringLiteral("123-4567"));
    EXPECT_EQ(c.address1, u(u"東京都港区芝公園４－２－８"));
    EXPECT_EQ(c.address2, QString());
    EXPECT_EQ(c.name1, u(u"山田太郎"));
    EXPECT_EQ(c.name2, QStringLiteral(" "));
    EXPECT_EQ(c.barcode, QStringLiteral(" "));
    EXPECT_EQ(c.honorific, QStringLiteral(" "));

    const RecordColumns empty = RecordColumns::fromLine(QString(), map);
    EXPECT_EQ(empty.postalCode, QStringLiteral(" "));
    EXPECT_EQ(empty.name1, QStringLiteral(" "));
}

struct DigitsCase {
    const char16_t* in;
    const char16_t* out;
};

TEST(FieldTexts, PostalDigits)
{
    const DigitsCase cases[] = {
        {u"123-4567", u"1234567"},
        {u"１２３－４５６７", u"1234567"},
        {u"〒123-4567", u"1234567"},
        {u"〒１２３ー４５６７", u"1234567"},
        {u"123", u"123"},
        {u"1234567890", u"1234567890"}, // every digit; the boxes draw only seven
        {u"abc", u""},
        {u"〒", u""},
        {u"", u" "},
        {u"   ", u" "},
        {u"①②③", u""},                 // circled digits are not digits
        {u"１２３ ４５６７", u"1234567"},
    };
    for (const DigitsCase& c : cases)
        EXPECT_EQ(FieldTexts::postalDigits(u(c.in)), u(c.out)) << QString::fromUtf16(c.in).toStdString();

    // A 300-character code: every digit, quickly.
    QString longCode;
    for (int i = 0; i < 100; ++i)
        longCode += u(u"１-〒");
    EXPECT_EQ(FieldTexts::postalDigits(longCode), QString(100, QLatin1Char('1')));
}

TEST(FieldTexts, PostalDigitsKeepWhatTheHalfWidthMappingTurnsIntoDigits)
{
    for (char32_t cp = 1; cp < 0x10000; ++cp) {
        if (cp >= 0xD800 && cp < 0xE000)
            continue;
        const QString one{QChar(char16_t(cp))};
        if (FieldTexts::isBlank(one))
            continue;
        QString expected;
        for (QChar c : LCMap::map(one, LCMap::HalfWidth | LCMap::UpperCase)) {
            if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
                expected.append(c);
        }
        ASSERT_EQ(FieldTexts::postalDigits(one), expected) << "U+" << std::hex << unsigned(cp);
    }
}

TEST(FieldTexts, SenderTextsComputedOnceGiveTheSameFields)
{
    const SenderInfo s = sampleSender();
    RecordColumns cols;
    cols.name1 = u(u"山田");
    for (TextTarget target : {TextTarget::Screen, TextTarget::Print})
        EXPECT_EQ(FieldTexts::fill(cols, FieldTexts::senderTexts(s), {}, allVisible(), target),
                  FieldTexts::fill(cols, s, {}, allVisible(), target));
}

struct MarkCase {
    const char16_t* in;
    bool put;
    const char16_t* out;
};

TEST(FieldTexts, PostMarkRule)
{
    const MarkCase cases[] = {
        {u"123-4567", true, u"〒123-4567"},
        {u"〒123-4567", true, u"〒123-4567"},
        {u"〒123-4567", false, u"123-4567"},
        {u"123-4567", false, u"123-4567"},
        {u"〒〒1", false, u"〒1"},     // one leading mark only
        {u" 〒123", false, u" 〒123"}, // not leading
        {u"", true, u"〒"},
        {u"", false, u""},
    };
    for (const MarkCase& c : cases)
        EXPECT_EQ(FieldTexts::postMark(u(c.in), c.put), u(c.out)) << QString::fromUtf16(c.in).toStdString();
}

TEST(FieldTexts, HyphenRuleFields)
{
    for (int field = 1; field <= 15; ++field) {
        const bool address = field == 2 || field == 3 || field == 8 || field == 9;
        EXPECT_EQ(FieldTexts::replacesHyphens(field, TextTarget::Screen), address || field == 7) << field;
        EXPECT_EQ(FieldTexts::replacesHyphens(field, TextTarget::Print), address) << field;
    }
    EXPECT_EQ(FieldTexts::asciiHyphens(u(u"1－2－3")), QStringLiteral("1-2-3"));
    EXPECT_EQ(FieldTexts::asciiHyphens(u(u"ー‐―-")), u(u"ー‐―-")); // only U+FF0D changes
}

} // namespace
