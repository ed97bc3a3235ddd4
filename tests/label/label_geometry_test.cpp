// The A4 label grid: label size with its rounding, cell origins, the label image, the
// minimum rule and its order, keeping boxes and the stamp inside a resized image, and the
// sheet model's start cell.

#include "label/LabelGeometry.h"
#include "label/LabelSheetModel.h"
#include "LabelSheets.h"

#include <gtest/gtest.h>

using labeltest::sheet;

TEST(LabelGeometry, LabelSizeFromTheSheetSettings)
{
    struct Case {
        const char* what;
        LabelSheet sheet;
        int height;
        int width;
    };
    const Case cases[] = {
        {"defaults", LabelSheet(), 462, 970},
        {"3 x 8, 8.5 mm margins, 2.0 mm gaps", sheet(3, 8, 85, 85, 85, 85, 20, 20), 333, 630},
        {"14 rows, 10.0 mm margins, 6.0 mm row gaps", sheet(2, 14, 100, 100, 80, 80, 60, 0), 142, 970},
        // 2770 / 4 = 692.5 rounds half up; 1940 / 8 = 242.5 too.
        {"halves round up", sheet(8, 4, 100, 100, 80, 80, 0, 0), 693, 243},
        // (2970 - 1000 - 13 * 500) / 14 = -323.57: Trunc(-323.07) cuts toward zero.
        {"below zero", sheet(2, 14, 500, 500, 80, 80, 500, 0), -323, 970},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LabelGeometry::labelHeight(c.sheet), c.height) << c.what;
        EXPECT_EQ(LabelGeometry::labelWidth(c.sheet), c.width) << c.what;
    }
}

TEST(LabelGeometry, CellOriginsAndTheLabelImage)
{
    struct Case {
        LabelSheet sheet;
        int row;
        int column;
        QPoint origin;
    };
    const LabelSheet d;
    const LabelSheet s38 = sheet(3, 8, 85, 85, 85, 85, 20, 20);
    const Case cases[] = {
        {d, 1, 1, QPoint(80, 100)},
        {d, 3, 2, QPoint(80 + 970, 100 + 2 * 462)},
        {d, 6, 2, QPoint(1050, 100 + 5 * 462)},
        // Gaps between cells, none before the first.
        {s38, 1, 1, QPoint(85, 85)},
        {s38, 2, 3, QPoint(85 + 2 * 630 + 2 * 20, 85 + 333 + 20)},
        {s38, 8, 1, QPoint(85, 85 + 7 * 333 + 7 * 20)},
    };
    for (const Case& c : cases) {
        const int h = LabelGeometry::labelHeight(c.sheet);
        const int w = LabelGeometry::labelWidth(c.sheet);
        EXPECT_EQ(LabelGeometry::cellOrigin(c.sheet, h, w, c.row, c.column), c.origin)
            << c.row << "," << c.column;
    }
    // Real size on screen: 46.2 x 97.0 mm is 175 x 367 pixels; never an empty image.
    EXPECT_EQ(LabelGeometry::imageSize(462, 970), QSize(367, 175));
    EXPECT_EQ(LabelGeometry::imageSize(150, 630), QSize(238, 57));
    EXPECT_EQ(LabelGeometry::imageSize(-323, 0), QSize(1, 1));
}

TEST(LabelGeometry, MinimumRuleChecksTheHeightFirstWithPixelsTakenAsTenths)
{
    const LabelSheet d;
    const LabelGeometry::Floor none;              // 50 x 50
    const LabelGeometry::Floor tall{150, 50};     // a visible box 150 pixels high
    const LabelGeometry::Floor wide{50, 400};     // a visible box 400 pixels wide
    const LabelGeometry::Floor both{250, 1000}; // the current width 970 fails it too
    using V = LabelGeometry::Verdict;
    struct Case {
        const char* what;
        SheetSetting setting;
        int proposed;
        LabelGeometry::Floor floor;
        V verdict;
        int value;
        int height;
        int width;
    };
    const Case cases[] = {
        {"top margin 10.1 mm", SheetSetting::TopMargin, 101, none, V::Allowed, 101, 462, 970},
        {"14 rows leave 19.8 mm", SheetSetting::Rows, 14, none, V::Allowed, 14, 198, 970},
        {"14 rows under a 150-pixel box", SheetSetting::Rows, 14, tall, V::Allowed, 14, 198, 970},
        // H = (2770 - 5 * 500) / 6 = 45: below the 5.0 mm floor.
        {"row gap 50.0 mm", SheetSetting::RowGap, 500, none, V::TooLow, 500, 45, 970},
        // (2770 - 5 * 400) / 6 = 128.3: fine alone, too low for the tall box.
        {"row gap 40.0 mm", SheetSetting::RowGap, 400, none, V::Allowed, 400, 128, 970},
        {"H 128 against 150", SheetSetting::RowGap, 400, tall, V::TooLow, 400, 128, 970},
        {"8 columns under a 400-pixel box", SheetSetting::Columns, 8, wide, V::TooNarrow, 8, 462, 243},
        {"3 columns under a 400-pixel box", SheetSetting::Columns, 3, wide, V::Allowed, 3, 462, 647},
        // Failing both ways reports the height only.
        {"both too small", SheetSetting::Rows, 14, both, V::TooLow, 14, 198, 970},
        {"the width fails alone", SheetSetting::Rows, 5, both, V::TooNarrow, 5, 554, 970},
        // The proposed value is held to the setting's range first.
        {"columns beyond 8", SheetSetting::Columns, 12, none, V::Allowed, 8, 462, 243},
        {"margin below 0", SheetSetting::LeftMargin, -20, none, V::Allowed, 0, 462, 1010},
    };
    for (const Case& c : cases) {
        const LabelGeometry::Check r = LabelGeometry::check(d, c.setting, c.proposed, c.floor);
        EXPECT_EQ(r.verdict, c.verdict) << c.what;
        EXPECT_EQ(r.value, c.value) << c.what;
        EXPECT_EQ(r.height, c.height) << c.what;
        EXPECT_EQ(r.width, c.width) << c.what;
    }
    // H exactly at the floor passes: (2770 - 13 * 5.2) / 14 = 149.6 gives 150; 5.3 mm gives 149.
    const LabelSheet fourteen = sheet(2, 14, 100, 100, 80, 80, 0, 0);
    const LabelGeometry::Check at = LabelGeometry::check(fourteen, SheetSetting::RowGap, 52, {150, 50});
    EXPECT_EQ(at.height, 150);
    EXPECT_EQ(at.verdict, V::Allowed);
    const LabelGeometry::Check below = LabelGeometry::check(fourteen, SheetSetting::RowGap, 53, {150, 50});
    EXPECT_EQ(below.height, 149);
    EXPECT_EQ(below.verdict, V::TooLow);
}

TEST(LabelGeometry, FloorComesFromTheLargestVisibleBoxes)
{
    EXPECT_EQ(LabelGeometry::fieldFloor({}).height, 50);
    EXPECT_EQ(LabelGeometry::fieldFloor({}).width, 50);
    const LabelGeometry::Floor f =
        LabelGeometry::fieldFloor({QRect(0, 0, 30, 150), QRect(5, 5, 320, 20), QRect(0, 0, 10, 10)});
    EXPECT_EQ(f.height, 150);
    EXPECT_EQ(f.width, 320);
}

TEST(LabelGeometry, BoxesAreKeptInsideAResizedImage)
{
    const QSize image(238, 57);
    struct Case {
        const char* what;
        QRect box;
        QRect kept;
    };
    const Case cases[] = {
        {"inside stays", QRect(10, 10, 100, 20), QRect(10, 10, 100, 20)},
        {"taller is cut and moved up", QRect(40, 20, 16, 150), QRect(40, 0, 16, 57)},
        {"bottom below is moved up", QRect(5, 50, 100, 20), QRect(5, 37, 100, 20)},
        {"wider is cut and moved left", QRect(30, 5, 300, 20), QRect(0, 5, 238, 20)},
        {"right edge beyond is moved left", QRect(200, 5, 100, 20), QRect(138, 5, 100, 20)},
        {"both ways", QRect(200, 50, 300, 90), QRect(0, 0, 238, 57)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LabelGeometry::keepBoxInside(c.box, image), c.kept) << c.what;

    // The stamp keeps its size; its corner goes to at most 4 pixels before the far edges.
    EXPECT_EQ(LabelGeometry::keepStampInside(QRect(300, 100, 76, 90), image), QRect(234, 53, 76, 90));
    EXPECT_EQ(LabelGeometry::keepStampInside(QRect(10, 10, 76, 90), image), QRect(10, 10, 76, 90));
}

TEST(LabelGeometry, StampCountsAsOutsideOnlyWhenNoPixelLiesOnTheImage)
{
    const QSize image(367, 175);
    struct Case {
        QRect stamp;
        bool outside;
    };
    const Case cases[] = {
        {QRect(-75, 10, 76, 90), false}, // its last pixel column overlaps the left edge
        {QRect(-76, 10, 76, 90), true},  // one pixel further
        {QRect(10, -89, 76, 90), false},
        {QRect(10, -90, 76, 90), true},
        {QRect(366, 10, 76, 90), false}, // its first column on the image's last one
        {QRect(367, 10, 76, 90), true},
        {QRect(10, 174, 76, 90), false},
        {QRect(10, 175, 76, 90), true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LabelGeometry::stampOutside(c.stamp, image), c.outside) << c.stamp.x() << "," << c.stamp.y();
}

TEST(LabelGeometry, StoredValuesOutsideTheirRangesAreHeldAndListed)
{
    QVector<SheetSetting> wrong;
    const LabelSheet s = LabelGeometry::clamped(sheet(20, 0, -5, 100, 80, 900, 0, 0), &wrong);
    EXPECT_EQ(s, sheet(8, 2, 0, 100, 80, 500, 0, 0));
    EXPECT_EQ(wrong, (QVector<SheetSetting>{SheetSetting::Columns, SheetSetting::Rows, SheetSetting::TopMargin,
                                            SheetSetting::RightMargin}));
    wrong.clear();
    EXPECT_EQ(LabelGeometry::clamped(LabelSheet(), &wrong), LabelSheet());
    EXPECT_TRUE(wrong.isEmpty());
}

TEST(LabelSheetModel, ARefusedChangeLeavesEverythingAsItWas)
{
    LabelSheetModel m;
    ASSERT_TRUE(m.ProposeStartRow(5));
    const LabelGeometry::Check c = m.ProposeSheetChange(SheetSetting::Rows, 14, {250, 50});
    EXPECT_EQ(c.verdict, LabelGeometry::Verdict::TooLow);
    EXPECT_EQ(m.sheet(), LabelSheet());
    EXPECT_EQ(m.labelHeight(), 462);
    EXPECT_EQ(m.labelWidth(), 970);
    EXPECT_EQ(m.startRow(), 5);

    // Allowed: value, size and image follow.
    EXPECT_EQ(m.ProposeSheetChange(SheetSetting::Columns, 3, {}).verdict, LabelGeometry::Verdict::Allowed);
    EXPECT_EQ(m.sheet().columns, 3);
    EXPECT_EQ(m.labelWidth(), 647);
    EXPECT_EQ(m.imageSize(), QSize(245, 175));
    EXPECT_EQ(m.LabelOrigin(2, 3), QPoint(80 + 2 * 647, 100 + 462));
}

TEST(LabelSheetModel, StartCellFollowsTheGrid)
{
    LabelSheetModel m;
    struct Step {
        const char* what;
        bool (LabelSheetModel::*propose)(int);
        int value;
        bool allowed;
        int row;
        int column;
    };
    // Default grid: 2 columns, 6 rows.
    const Step steps[] = {
        {"row 6", &LabelSheetModel::ProposeStartRow, 6, true, 6, 1},
        {"row 7 is beyond the grid", &LabelSheetModel::ProposeStartRow, 7, false, 6, 1},
        {"row 0", &LabelSheetModel::ProposeStartRow, 0, false, 6, 1},
        {"column 2", &LabelSheetModel::ProposeStartColumn, 2, true, 6, 2},
        {"column 3 on a two-column sheet", &LabelSheetModel::ProposeStartColumn, 3, false, 6, 2},
    };
    for (const Step& s : steps) {
        EXPECT_EQ((m.*s.propose)(s.value), s.allowed) << s.what;
        EXPECT_EQ(m.startRow(), s.row) << s.what;
        EXPECT_EQ(m.startColumn(), s.column) << s.what;
    }
    // Fewer rows pull the start row in; more rows leave it.
    ASSERT_EQ(m.ProposeSheetChange(SheetSetting::Rows, 4, {}).verdict, LabelGeometry::Verdict::Allowed);
    EXPECT_EQ(m.startRow(), 4);
    ASSERT_EQ(m.ProposeSheetChange(SheetSetting::Rows, 6, {}).verdict, LabelGeometry::Verdict::Allowed);
    EXPECT_EQ(m.startRow(), 4);
    EXPECT_TRUE(m.ProposeStartRow(6));
    // The same for columns; a refused change of the columns leaves the start column.
    ASSERT_EQ(m.ProposeSheetChange(SheetSetting::Columns, 8, {50, 400}).verdict, LabelGeometry::Verdict::TooNarrow);
    EXPECT_EQ(m.startColumn(), 2);
    // Loading again starts at the first cell.
    m.load(LabelSheet());
    EXPECT_EQ(m.startRow(), 1);
    EXPECT_EQ(m.startColumn(), 1);
}

TEST(LabelSheetModel, OpeningReportSaysOnceWhatWasWrong)
{
    LabelOpeningReport r;
    EXPECT_TRUE(r.isEmpty());
    EXPECT_TRUE(r.message().isEmpty());

    LabelSheetModel m;
    r.stored = sheet(20, 6, -5, 100, 80, 80, 0, 0);
    m.load(r.stored, &r.outOfRange);
    r.used = m.sheet();
    const QString text = r.message();
    EXPECT_TRUE(text.contains(QStringLiteral("ラベル横 20 → 8"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("上余白 -0.5㎜ → 0.0㎜"))) << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("ラベル縦")));
    EXPECT_FALSE(text.contains(QStringLiteral("項目より小さく")));

    r.tooSmall = true;
    EXPECT_TRUE(r.message().contains(QStringLiteral("ラベルが項目より小さくなります。")));
    EXPECT_EQ(r.message().count(QStringLiteral("\r\n")), 3);
}

// A whole sheet at once (a label product chosen by name): the minimum rule with the height
// first, nothing changed on a refusal, the start cell pulled into a smaller grid.
TEST(LabelSheetModel, WholeSheetProposal)
{
    struct Case {
        const char* what;
        LabelSheet proposed;
        LabelGeometry::Floor floor;
        LabelGeometry::Verdict verdict;
        LabelSheet after; // the model's sheet afterwards
        int startRow;
        int startColumn;
    };
    const LabelSheet start = sheet(3, 8, 85, 85, 85, 85, 20, 20);
    const Case cases[] = {
        {"allowed", sheet(2, 6, 203, 229, 203, 183, 0, 38), {50, 50}, LabelGeometry::Verdict::Allowed,
         sheet(2, 6, 203, 229, 203, 183, 0, 38), 6, 2},
        {"too low before too narrow", sheet(8, 14, 500, 500, 500, 500, 0, 0), {200, 2000}, LabelGeometry::Verdict::TooLow,
         start, 7, 3},
        {"too narrow", sheet(8, 6, 100, 100, 100, 100, 0, 0), {50, 300}, LabelGeometry::Verdict::TooNarrow, start, 7, 3},
        {"values held to their ranges", sheet(1, 20, 600, 0, 0, 0, 0, 0), {50, 50}, LabelGeometry::Verdict::Allowed,
         sheet(2, 14, 500, 0, 0, 0, 0, 0), 7, 2},
    };
    for (const Case& c : cases) {
        LabelSheetModel m(start);
        ASSERT_TRUE(m.ProposeStartRow(7));
        ASSERT_TRUE(m.ProposeStartColumn(3));
        const LabelGeometry::Check check = m.ProposeSheet(c.proposed, c.floor);
        EXPECT_EQ(check.verdict, c.verdict) << c.what;
        EXPECT_EQ(m.sheet(), c.after) << c.what;
        EXPECT_EQ(m.labelHeight(), LabelGeometry::labelHeight(c.after)) << c.what;
        EXPECT_EQ(m.labelWidth(), LabelGeometry::labelWidth(c.after)) << c.what;
        EXPECT_EQ(m.startRow(), c.startRow) << c.what;
        EXPECT_EQ(m.startColumn(), c.startColumn) << c.what;
    }
}
