// Choosing records: the range syntax of the forms' range field and tovalin-print --records,
// the marks of the selection column in both meanings, and how choices combine.

#include "app/RecordChoice.h"

#include "support/TestText.h"

#include <gtest/gtest.h>

using testtext::u;

namespace {

// 1-based record numbers, as the user counts them.
QVector<int> numbers(const RecordChoice& c, int listSize)
{
    QVector<int> out;
    for (int r : c.records(listSize))
        out << r + 1;
    return out;
}

QVector<int> span(int first, int last)
{
    QVector<int> out;
    for (int n = first; n <= last; ++n)
        out << n;
    return out;
}

} // namespace

TEST(RecordRanges, ReadsWhatTheUserTypesForAListOfFifty)
{
    struct Case {
        const char16_t* text;
        QVector<int> chosen; // 1-based
        bool cut;            // a note that the list is shorter
    } cases[] = {
        { u"7", { 7 }, false },
        { u"1-3, 40, 45-", span(1, 3) + QVector<int> { 40 } + span(45, 50), false },
        { u"45-", span(45, 50), false },
        { u"-3", { 1, 2, 3 }, false },
        { u" 3 - 5 ,9", { 3, 4, 5, 9 }, false },
        { u"5-8,6-10,5", span(5, 10), false },          // overlaps and repeats once
        { u"10,2,30", { 2, 10, 30 }, false },            // list order, whatever the typed order
        { u"1,,2,", { 1, 2 }, false },                    // empty items are ignored
        { u"５－８、１０", { 5, 6, 7, 8, 10 }, false },   // full width, Japanese comma
        { u"1～3", { 1, 2, 3 }, false },
        { u"1〜3", { 1, 2, 3 }, false },
        { u"4ー6", { 4, 5, 6 }, false },                  // the "-" key in kana mode
        { u"1−2", { 1, 2 }, false },                      // minus sign
        { u"48-60", { 48, 49, 50 }, true },               // cut to the list
        { u"51", {}, true },
        { u"51-", {}, true },
        { u"99999999999", {}, true },                    // beyond any int, beyond the list
        { u"1-99999999999", span(1, 50), true },
        { u"50", { 50 }, false },
        { u"1-50", span(1, 50), false },
    };
    for (const auto& c : cases) {
        const QString text = QString::fromUtf16(c.text);
        SCOPED_TRACE(text.toStdString());
        const RecordRanges r = RecordRanges::parse(text);
        ASSERT_TRUE(r.ok) << r.error.toStdString();
        QString note = QStringLiteral("stale");
        const RecordChoice choice = r.choose(50, &note);
        EXPECT_EQ(numbers(choice, 50), c.chosen);
        EXPECT_FALSE(choice.everyRecord());
        EXPECT_EQ(note.contains(QStringLiteral("50 件")), c.cut) << note.toStdString();
        EXPECT_EQ(note.isEmpty(), !c.cut);
    }
}

TEST(RecordRanges, RefusesWhatItCannotReadWithAReason)
{
    struct Case {
        const char16_t* text;
        const char16_t* says; // part of the message
    } cases[] = {
        { u"0", u"1 から" },
        { u"0-3", u"1 から" },
        { u"-0", u"1 から" },
        { u"5-3", u"始めが終わりより大きく" },
        { u"-", u"始めも終わりも" },
        { u"1-2-3", u"「1-2-3」" },
        { u"abc", u"「abc」" },
        { u"3, x7", u"「x7」" },
        { u"1 2", u"「1 2」" },
        { u"1.5", u"「1.5」" },
        { u"+3", u"「+3」" },
        { u"", u"入力して下さい" },
        { u" , ,", u"入力して下さい" },
    };
    for (const auto& c : cases) {
        const QString text = QString::fromUtf16(c.text);
        SCOPED_TRACE(text.toStdString());
        const RecordRanges r = RecordRanges::parse(text);
        EXPECT_FALSE(r.ok);
        EXPECT_TRUE(r.error.contains(QString::fromUtf16(c.says))) << r.error.toStdString();
        EXPECT_FALSE(r.error.contains(QLatin1Char('\n')));
    }
    // Very long input is read (and refused) without trouble.
    const RecordRanges longText = RecordRanges::parse(QString(100000, QLatin1Char('9')) + QStringLiteral("x"));
    EXPECT_FALSE(longText.ok);
    const RecordRanges longList = RecordRanges::parse(QStringLiteral("1,").repeated(50000));
    ASSERT_TRUE(longList.ok);
    EXPECT_EQ(numbers(longList.choose(3), 3), QVector<int> { 1 });
}

TEST(SelectionColumn, UnmarkedWordsInAnyWidthOrCase)
{
    struct Case {
        const char16_t* cell;
        bool marked;
    } cases[] = {
        { u"", false },        { u" ", false },       { u"　", false },     { u"0", false },
        { u"０", false },      { u"×", false },       { u"✕", false },      { u"x", false },
        { u"X", false },       { u"ｘ", false },      { u"Ｘ", false },     { u"無", false },
        { u"いいえ", false },  { u"no", false },      { u"NO", false },     { u"Ｎｏ", false },
        { u"false", false },   { u"FALSE", false },   { u"ｆａｌｓｅ", false }, { u" 0 ", false },
        { u"　×　", false },
        { u"1", true },        { u"１", true },       { u"○", true },       { u"◯", true },
        { u"喪中", true },     { u"済", true },       { u"yes", true },     { u"はい", true },
        { u"00", true },       { u"xx", true },       { u"no!", true },     { u"-", true },
        { u"true", true },     { u"有", true },
    };
    for (const auto& c : cases) {
        const QString cell = QString::fromUtf16(c.cell);
        EXPECT_EQ(IsMarkedCell(cell), c.marked) << "«" << cell.toStdString() << "»";
    }
}

TEST(SelectionColumn, ChoosesByTheMarkInBothMeanings)
{
    // Column 3 marks; the first field is the record's own number. Record 6 has no third field,
    // record 7 is a blank line.
    const QStringList lines = {
        u(u"\"1\",\"佐藤\",\"1\""),     u(u"\"2\",\"鈴木\",\"\""),     u(u"\"3\",\"高橋\",\"喪中\""),
        u(u"\"4\",\"田中\",\"×\""),     u(u"\"5\",\"伊藤\",\"ＮＯ\""), u(u"\"6\",\"渡辺\""),
        QString(),                       u(u"\"8\",\"山本\",\"○\""),
    };
    CsvColumnMap map;
    map.textDelimiter = QStringLiteral("\"");
    const int n = int(lines.size());

    struct Case {
        int selNo;
        int selMode;
        QVector<int> chosen; // 1-based
    } cases[] = {
        { -1, 0, span(1, 8) },              // no column: every record
        { 0, 1, span(1, 8) },
        { 3, 0, { 1, 3, 8 } },              // 印刷する宛名: the marked ones
        { 3, 1, { 2, 4, 5, 6, 7 } },        // 除外する宛名: all but the marked ones
        { 9, 0, {} },                        // a column no record has: nothing is marked
        { 9, 1, span(1, 8) },
        { 2, 1, { 6 + 1 } },                // every name marks; only the blank line is left
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "SELNO " << c.selNo << " SELMODE " << c.selMode);
        map.selNo = c.selNo;
        map.selMode = c.selMode;
        const RecordChoice choice = ChoiceByColumn(lines, map);
        EXPECT_EQ(choice.everyRecord(), c.selNo < 1);
        EXPECT_EQ(numbers(choice, n), c.chosen);
        EXPECT_EQ(SelectionColumnMissing(lines, map), c.selNo == 9);
    }
}

TEST(SelectionColumn, CountsColumnsAsTheListIsRead)
{
    // A quoted comma splits the name only when the list is not read with quoting.
    const QStringList lines = { u(u"\"1\",\"佐藤, 花子\",\"\""), u(u"\"2\",\"鈴木\",\"○\"") };
    CsvColumnMap map;
    map.textDelimiter = QStringLiteral("\"");
    map.selNo = 3;
    for (const bool quoted : { false, true }) {
        map.quoted = quoted;
        const QVector<int> chosen = quoted ? QVector<int> { 2 } : QVector<int> { 1, 2 };
        EXPECT_EQ(numbers(ChoiceByColumn(lines, map), 2), chosen) << "quoted " << quoted;
    }
}

TEST(RecordChoice, CombinesAndCountsWithinTheList)
{
    const RecordChoice every;
    const RecordChoice some = RecordChoice::of({ 9, 2, 4, 2, -1, 30 });
    const RecordChoice marks = RecordChoice::fromMarks({ false, true, true, false, true });

    EXPECT_EQ(every.count(5), 5);
    EXPECT_EQ(every.at(4, 5), 4);
    EXPECT_EQ(every.at(5, 5), -1);
    EXPECT_EQ(some.records(10), (QVector<int> { 2, 4, 9 })); // 30 is not in a list of 10
    EXPECT_EQ(some.count(31), 4);
    EXPECT_EQ(some.at(1, 10), 4);
    EXPECT_EQ(some.at(3, 10), -1);
    EXPECT_TRUE(some.contains(9));
    EXPECT_FALSE(some.contains(3));
    EXPECT_EQ(some.marks(5), (QVector<bool> { false, false, true, false, true }));

    EXPECT_EQ(every.intersected(some), some);
    EXPECT_EQ(some.intersected(every), some);
    EXPECT_EQ(some.intersected(marks).records(10), (QVector<int> { 2, 4 }));
    EXPECT_EQ(RecordChoice::of({}).count(10), 0);
    EXPECT_NE(RecordChoice::of({}), every);
}
