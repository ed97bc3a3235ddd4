// The check before a label run: every record the sheets print, with the label form's
// captions, and the same options on labels as on postcards.

#include "LabelTestSupport.h"

#include "label/LabelComposer.h"

using namespace labeltest;

namespace {

TEST(LabelCheck, ListsEveryRecordOfTheSheetsWithTheLabelCaptions)
{
    AppSettings a = sampleSettings();
    a.labelFields[5] = style(20, 150, 60, 8); // field 6, the customer-barcode column, short
    QStringList lines = records(30);
    // Record 3 (from 1) has a long second address line; record 28 a long barcode column.
    lines[2] = u(u"\"100-0001\",\"東京都\",\"サンシャインシティプリンスホテル南青山レジデンス東館十二階\",\"宛名\",\"\",\"C\",\"様\"");
    lines[27] = u(u"\"100-0001\",\"東京都\",\"\",\"宛名\",\"\",\"1000013-1-3-2-503-ABCDEFG\",\"様\"");
    // A start cell late on the first sheet changes where labels go, not which records print.
    for (int startRow : { 1, 6 }) {
        const PrintCheckReport report = CheckLabelRun(snapshotOf(a, lines, startRow, 2));
        EXPECT_EQ(report.lines(), (QStringList { u(u"枠に収まりません: 3件目 住所２"),
                                                 u(u"枠に収まりません: 28件目 ｶｽﾀﾏﾊﾞｰｺｰﾄﾞ") }));
    }
    // Only the chosen records are looked at, in the order they print.
    LabelSnapshot chosen = snapshotOf(a, lines);
    chosen.choice = RecordChoice::of({ 27, 5, 1 });
    EXPECT_EQ(CheckLabelRun(chosen).lines(), QStringList { u(u"枠に収まりません: 28件目 ｶｽﾀﾏﾊﾞｰｺｰﾄﾞ") });
    // The label's own fields 1 and 7 are texts, with their 〒 rules.
    a.labelFields[0].width = 40;
    EXPECT_TRUE(CheckLabelRun(snapshotOf(a, lines)).flags(0, 1));
}

TEST(LabelCheck, ShrinkingRescuesALineThatFitsAtASmallerSize)
{
    AppSettings a = sampleSettings();
    const QString longLine = u(u"東京都千代田区飯田橋三丁目十番八号サンライズビル");
    QStringList lines = records(2);
    lines[1] = u(u"\"100-0001\",\"%1\",\"\",\"宛名\",\"\",\"C\",\"様\"").arg(longLine);
    EXPECT_EQ(CheckLabelRun(snapshotOf(a, lines)).records(), (QVector<int> { 1 }));
    a.labelFields[1].fit = true;
    EXPECT_TRUE(CheckLabelRun(snapshotOf(a, lines)).isEmpty());
}

TEST(LabelCheck, AFamilyBlockBeyondTheLabelIsNamed)
{
    AppSettings a = sampleSettings();
    a.csv.renNo = { 8, 9, 10 };
    QStringList lines = records(3);
    // Record 2 (from 1): four names. Record 3: two, which stay on the label.
    lines[1] += u(u",\"花子\",\"一郎\",\"さくら\"");
    lines[2] += u(u",\"花子\",\"\",\"\"");
    EXPECT_TRUE(CheckLabelRun(snapshotOf(a, lines)).isEmpty());
    // Name 1 near the label's bottom: four lines under it leave the label, two still fit.
    a.labelFields[3].top = 136;
    a.labelFields[4].visible = false;
    EXPECT_EQ(CheckLabelRun(snapshotOf(a, lines)).lines(),
              (QStringList { u(u"ラベルからはみ出します: 2件目 名称１") }));
}

} // namespace
