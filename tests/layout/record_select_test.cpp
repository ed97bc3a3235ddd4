// The "宛名選択" dialog: the list of records with their ticks, the search that narrows it
// (without regard to width or case), all / none / invert of the rows shown, the range field
// applied with Enter, and what OK and キャンセル hand back.

#include "layout/RecordListModel.h"
#include "layout/ui/TFrmRecordSelect.h"

#include "support/SampleAddresses.h"
#include "support/TestText.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

using testtext::u;

namespace {

// Ten records; 田中 is a name in 2, 5 and 9 and a town in 7; record 4 is written in
// full-width letters, record 8 in half-width katakana.
QStringList tenRecords()
{
    const char16_t* rows[][3] = {
        { u"100-0001", u"東京都千代田区千代田1-1", u"佐藤 一郎" },
        { u"150-0002", u"東京都渋谷区渋谷2-2", u"田中 花子" },
        { u"220-0003", u"横浜市西区3-3", u"鈴木 次郎" },
        { u"330-0004", u"さいたま市大宮区4-4", u"ＴＡＮＡＫＡ Ｊｏｅ" },
        { u"400-0005", u"甲府市5-5", u"田中 三郎" },
        { u"500-0006", u"岐阜市6-6", u"伊藤 梅" },
        { u"600-0007", u"京都市左京区田中町7-7", u"渡辺 桜" },
        { u"700-0008", u"岡山市8-8", u"ﾀﾅｶ ｼﾛｳ" },
        { u"800-0009", u"北九州市9-9", u"田中 四郎" },
        { u"900-0010", u"那覇市10-10", u"山本 十子" },
    };
    QStringList out;
    for (const auto& r : rows)
        out << QStringLiteral("\"%1\",\"%2\",\"\",\"%3\",\"\",\"\",\"様\"")
                   .arg(QString::fromUtf16(r[0]), QString::fromUtf16(r[1]), QString::fromUtf16(r[2]));
    return out;
}

QVector<int> shownNumbers(const RecordListModel& m)
{
    QVector<int> out;
    for (int row = 0; row < m.rowCount(); ++row)
        out << m.data(m.index(row, RecordListModel::Number)).toInt();
    return out;
}

QVector<int> chosenNumbers(const RecordChoice& c, int listSize)
{
    QVector<int> out;
    for (int r : c.records(listSize))
        out << r + 1;
    return out;
}

} // namespace

TEST(RecordList, ShowsTheMappedColumnsAndTheTicks)
{
    RecordListModel m(tenRecords(), testaddresses::columns(), RecordChoice::of({ 1, 4 }));
    ASSERT_EQ(m.rowCount(), 10);
    EXPECT_EQ(m.data(m.index(1, RecordListModel::Number)).toInt(), 2);
    EXPECT_EQ(m.data(m.index(1, RecordListModel::Number), Qt::CheckStateRole).toInt(), Qt::Checked);
    EXPECT_EQ(m.data(m.index(0, RecordListModel::Number), Qt::CheckStateRole).toInt(), Qt::Unchecked);
    EXPECT_EQ(m.data(m.index(1, RecordListModel::PostalCode)).toString(), QStringLiteral("150-0002"));
    EXPECT_EQ(m.data(m.index(1, RecordListModel::Name1)).toString(), u(u"田中 花子"));
    EXPECT_EQ(m.data(m.index(1, RecordListModel::Name2)).toString(), QString());
    EXPECT_EQ(m.data(m.index(6, RecordListModel::Address1)).toString(), u(u"京都市左京区田中町7-7"));
    EXPECT_EQ(m.chosenCount(), 2);

    // A record too short for the mapped columns shows them empty.
    RecordListModel shortOne({ QStringLiteral("\"100-0001\"") }, testaddresses::columns(), RecordChoice());
    EXPECT_EQ(shortOne.data(shortOne.index(0, RecordListModel::Name1)).toString(), QString());
    EXPECT_EQ(shortOne.chosenCount(), 1);
}

TEST(RecordList, SearchNarrowsTheRowsWithoutRegardToWidthOrCase)
{
    const struct {
        QString search;
        QVector<int> shown;
    } cases[] = {
        { u(u"田中"), { 2, 5, 7, 9 } },
        { u(u"田中 "), { 2, 5, 7, 9 } },           // blanks at the ends do not count
        { QStringLiteral("tanaka"), { 4 } },        // ＴＡＮＡＫＡ
        { u(u"ＴａＮａ"), { 4 } },
        { u(u"タナカ"), { 8 } },                   // ﾀﾅｶ
        { QStringLiteral("-00"), { 1, 2, 3, 4, 5, 6, 7, 8, 9, 10 } }, // any column: the postal codes
        { QStringLiteral("10-10"), { 10 } },
        { u(u"大阪"), {} },
        { QString(), { 1, 2, 3, 4, 5, 6, 7, 8, 9, 10 } },
        { QStringLiteral("   "), { 1, 2, 3, 4, 5, 6, 7, 8, 9, 10 } },
        { QString(2000, u'田'), {} },
    };
    RecordListModel m(tenRecords(), testaddresses::columns(), RecordChoice());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.search.left(20).toStdString());
        m.setFilter(c.search);
        EXPECT_EQ(shownNumbers(m), c.shown);
        EXPECT_EQ(m.shownCount(), c.shown.size());
    }
    // Typing on narrows what the shorter text showed; deleting widens it again.
    m.setFilter(u(u"中"));
    EXPECT_EQ(shownNumbers(m), (QVector<int> { 2, 5, 7, 9 }));
    m.setFilter(u(u"田中 花"));
    EXPECT_EQ(shownNumbers(m), (QVector<int> { 2 }));
    m.setFilter(u(u"田")); // 千代田 too
    EXPECT_EQ(shownNumbers(m), (QVector<int> { 1, 2, 5, 7, 9 }));
}

TEST(RecordList, AllNoneAndInvertChangeOnlyTheRowsShown)
{
    struct Case {
        const char* what;
        QString search;
        void (*press)(RecordListModel&);
        QVector<int> chosen;
    };
    const Case cases[] = {
        { "none of 田中", u(u"田中"), [](RecordListModel& m) { m.setShownChosen(false); }, { 1, 3, 4, 6, 8, 10 } },
        { "invert of 田中", u(u"田中"), [](RecordListModel& m) { m.invertShown(); }, { 1, 3, 4, 6, 8, 10 } },
        { "none of all, all of 田中", QString(),
          [](RecordListModel& m) {
              m.setShownChosen(false);
              m.setFilter(u(u"田中"));
              m.setShownChosen(true);
          },
          { 2, 5, 7, 9 } },
        { "invert twice", QString(),
          [](RecordListModel& m) {
              m.invertShown();
              m.invertShown();
          },
          { 1, 2, 3, 4, 5, 6, 7, 8, 9, 10 } },
        { "a search that shows nothing", u(u"大阪"), [](RecordListModel& m) { m.setShownChosen(false); },
          { 1, 2, 3, 4, 5, 6, 7, 8, 9, 10 } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RecordListModel m(tenRecords(), testaddresses::columns(), RecordChoice());
        m.setFilter(c.search);
        c.press(m);
        EXPECT_EQ(chosenNumbers(m.choice(), 10), c.chosen);
        EXPECT_EQ(m.chosenCount(), c.chosen.size());
        EXPECT_EQ(m.choice().everyRecord(), c.chosen.size() == 10);
    }
}

TEST(RecordSelectDialog, UserSearchesUnticksAndTypesARange)
{
    TFrmRecordSelect d(tenRecords(), testaddresses::columns(), RecordChoice());
    d.show();
    EXPECT_EQ(d.lblCount->text(), u(u"10 / 10 件選択"));

    d.edtSearch->insert(u(u"田中")); // as an input method commits it
    EXPECT_EQ(d.model()->shownCount(), 4);
    EXPECT_EQ(d.lblShown->text(), u(u"4 件を表示"));
    d.bbtnNone->click();
    EXPECT_EQ(d.lblCount->text(), u(u"6 / 10 件選択"));
    // A click on a row turns its tick: record 5 is printed again.
    const QRect row = d.grdRecords->visualRect(d.model()->index(1, RecordListModel::Name1));
    QTest::mouseClick(d.grdRecords->viewport(), Qt::LeftButton, {}, row.center());
    EXPECT_EQ(chosenNumbers(d.choice(), 10), (QVector<int> { 1, 3, 4, 5, 6, 8, 10 }));
    // The space bar turns the tick of the current row.
    d.grdRecords->setFocus();
    QTest::keyClick(d.grdRecords, Qt::Key_Space);
    EXPECT_EQ(chosenNumbers(d.choice(), 10), (QVector<int> { 1, 3, 4, 6, 8, 10 }));

    d.edtSearch->clear();
    EXPECT_EQ(d.model()->shownCount(), 10);
    d.bbtnInvert->click();
    EXPECT_EQ(chosenNumbers(d.choice(), 10), (QVector<int> { 2, 5, 7, 9 }));

    // The range replaces every tick once Enter is pressed, not before.
    QTest::keyClicks(d.edtRange, QStringLiteral("5-8"));
    EXPECT_EQ(chosenNumbers(d.choice(), 10), (QVector<int> { 2, 5, 7, 9 }));
    QTest::keyClick(d.edtRange, Qt::Key_Return);
    EXPECT_TRUE(d.isVisible()); // Enter in the range field does not close the dialog
    EXPECT_EQ(chosenNumbers(d.choice(), 10), (QVector<int> { 5, 6, 7, 8 }));
    EXPECT_EQ(d.lblCount->text(), u(u"4 / 10 件選択"));
    EXPECT_TRUE(d.lblRange->text().isEmpty());

    d.bbtnOk->click();
    EXPECT_EQ(d.result(), QDialog::Accepted);
    EXPECT_EQ(chosenNumbers(d.choice(), 10), (QVector<int> { 5, 6, 7, 8 }));
}

TEST(RecordSelectDialog, RangesThatCannotBeReadLeaveTheTicksAndSayWhy)
{
    const struct {
        QString range;
        QVector<int> chosen;   // after Enter
        const char16_t* says;  // in lblRange
    } cases[] = {
        { QStringLiteral("0"), { 2 }, u"1 から" },
        { QStringLiteral("5-3"), { 2 }, u"5-3" },
        { QStringLiteral("-"), { 2 }, u"範囲" },
        { QStringLiteral("abc"), { 2 }, u"abc" },
        { QStringLiteral("1,,3"), { 1, 3 }, u"" },
        { QStringLiteral("8-"), { 8, 9, 10 }, u"" },
        { QStringLiteral("9-99999999999"), { 9, 10 }, u"10 件" },
        { QStringLiteral("11-20"), {}, u"10 件" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.range.toStdString());
        TFrmRecordSelect d(tenRecords(), testaddresses::columns(), RecordChoice::of({ 1 }));
        d.edtRange->setText(c.range);
        QTest::keyClick(d.edtRange, Qt::Key_Return);
        EXPECT_EQ(chosenNumbers(d.choice(), 10), c.chosen);
        const QString says = QString::fromUtf16(c.says);
        if (says.isEmpty())
            EXPECT_TRUE(d.lblRange->text().isEmpty()) << d.lblRange->text().toStdString();
        else
            EXPECT_TRUE(d.lblRange->text().contains(says)) << d.lblRange->text().toStdString();
    }
}

TEST(RecordSelectDialog, CancelHandsNothingBack)
{
    TFrmRecordSelect d(tenRecords(), testaddresses::columns(), RecordChoice::of({ 2, 3 }));
    EXPECT_EQ(d.lblCount->text(), u(u"2 / 10 件選択"));
    d.bbtnAll->click();
    EXPECT_TRUE(d.choice().everyRecord());
    d.bbtnCancel->click();
    EXPECT_EQ(d.result(), QDialog::Rejected);
}
