// The label page: which record lands in which cell across pages, the green cell outlines of
// the preview, the position adjustment on paper, one label's stamp and fields, and the texts
// of the fifteen fields with the 〒, honorific, prefix and hyphen rules.

#include "LabelTestSupport.h"

#include "layout/FieldTexts.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QImage>
#include <QTemporaryDir>

using namespace labeltest;

namespace {

struct Cell {
    int row;
    int column;
    int record; // -1: empty
};

// The name of record i as its label prints it (name 1 with the honorific).
QString nameOf(int i)
{
    return u(u"宛名%1　様").arg(i);
}

} // namespace

TEST(LabelSnapshot, RecordsFillTheCellsRowByRowFromTheStartCell)
{
    struct Case {
        const char* what;
        int records;
        int startRow;
        int startColumn;
        int pages;
        int skipped;
        QVector<QPair<int, Cell>> cells; // page, cell
    };
    const Case cases[] = {
        {"25 from row 2, column 2", 25, 2, 2, 3, 3,
         {{1, {1, 1, -1}}, {1, {1, 2, -1}}, {1, {2, 1, -1}}, {1, {2, 2, 0}}, {1, {3, 1, 1}}, {1, {6, 2, 8}},
          {2, {1, 1, 9}}, {2, {6, 2, 20}},
          {3, {1, 1, 21}}, {3, {1, 2, 22}}, {3, {2, 1, 23}}, {3, {2, 2, 24}}, {3, {3, 1, -1}}, {3, {6, 2, -1}}}},
        {"24 from the first cell", 24, 1, 1, 2, 0, {{1, {1, 1, 0}}, {2, {6, 2, 23}}, {3, {1, 1, -1}}}},
        {"1 in the last cell", 1, 6, 2, 1, 11, {{1, {6, 1, -1}}, {1, {6, 2, 0}}}},
        {"13 from the first cell", 13, 1, 1, 2, 0, {{2, {1, 1, 12}}, {2, {1, 2, -1}}}},
        {"no records", 0, 1, 1, 0, 0, {{1, {1, 1, -1}}}},
    };
    for (const Case& c : cases) {
        LabelSnapshot s;
        s.records = records(c.records);
        s.startRow = c.startRow;
        s.startColumn = c.startColumn;
        EXPECT_EQ(s.perPage(), 12) << c.what;
        EXPECT_EQ(s.skipped(), c.skipped) << c.what;
        EXPECT_EQ(s.pageCount(), c.pages) << c.what;
        for (const auto& [page, cell] : c.cells)
            EXPECT_EQ(s.recordAt(page, cell.row, cell.column), cell.record)
                << c.what << ": page " << page << " cell " << cell.row << "," << cell.column;
    }
}

TEST(LabelSnapshot, ChosenRecordsFillTheCellsWithoutGaps)
{
    struct Case {
        const char* what;
        QVector<int> chosen; // of 30 records
        int startRow;
        int startColumn;
        int pages;
        QVector<QPair<int, Cell>> cells; // page, cell
    };
    const Case cases[] = {
        {"every other record from the first cell", {0, 2, 4, 6, 8, 10, 12, 14, 16, 18, 20, 22, 24, 26}, 1, 1, 2,
         {{1, {1, 1, 0}}, {1, {1, 2, 2}}, {1, {6, 2, 22}}, {2, {1, 1, 24}}, {2, {1, 2, 26}}, {2, {2, 1, -1}}}},
        {"three records from row 6, column 2", {5, 17, 29}, 6, 2, 2,
         {{1, {6, 1, -1}}, {1, {6, 2, 5}}, {2, {1, 1, 17}}, {2, {1, 2, 29}}, {2, {2, 1, -1}}}},
        {"one record", {29}, 1, 1, 1, {{1, {1, 1, 29}}, {1, {1, 2, -1}}}},
        {"records the list does not have are left out", {28, 40, 41}, 1, 2, 1, {{1, {1, 2, 28}}, {1, {2, 1, -1}}}},
        {"nothing chosen", {}, 1, 1, 0, {{1, {1, 1, -1}}}},
    };
    for (const Case& c : cases) {
        LabelSnapshot s;
        s.records = records(30);
        s.choice = RecordChoice::of(c.chosen);
        s.startRow = c.startRow;
        s.startColumn = c.startColumn;
        EXPECT_EQ(s.pageCount(), c.pages) << c.what;
        for (const auto& [page, cell] : c.cells)
            EXPECT_EQ(s.recordAt(page, cell.row, cell.column), cell.record)
                << c.what << ": page " << page << " cell " << cell.row << "," << cell.column;
    }
}

TEST_F(LabelEngineTest, ChosenRecordsAreDrawnInConsecutiveCells)
{
    LabelSnapshot s = snapshotOf(sampleSettings(), records(30), 2, 1);
    s.choice = RecordChoice::of({ 3, 4, 11, 12, 13, 20, 21, 22, 23, 24, 25, 26, 27, 29 });
    const QVector<int> order = s.printedRecords();
    const QVector<PageRecording> pages = le.preview(s);
    ASSERT_EQ(pages.size(), 2); // 2 cells skipped + 14 labels on 12-label sheets
    int k = 0;
    for (int p = 1; p <= 2; ++p) {
        for (int r = p == 1 ? 2 : 1; r <= 6; ++r) {
            for (int c = 1; c <= 2; ++c) {
                const QPoint o = s.cellOrigin(r, c);
                const QStringList texts = textsIn(pages[p - 1], QRect(o, QSize(s.labelWidth, s.labelHeight)));
                if (k < order.size())
                    EXPECT_TRUE(texts.contains(nameOf(order[k]))) << "page " << p << " cell " << r << "," << c;
                else
                    EXPECT_TRUE(texts.isEmpty()) << "page " << p << " cell " << r << "," << c;
                ++k;
            }
        }
    }
    for (int unchosen : { 0, 5, 28 })
        EXPECT_FALSE(findText(pages[0], nameOf(unchosen)) || findText(pages[1], nameOf(unchosen))) << unchosen;
}

TEST_F(LabelEngineTest, EveryRecordIsDrawnInItsCellAcrossPages)
{
    const LabelSnapshot s = snapshotOf(sampleSettings(), records(25), 2, 2);
    const QVector<PageRecording> pages = le.preview(s);
    ASSERT_EQ(pages.size(), 3);
    for (int p = 1; p <= 3; ++p) {
        for (int r = 1; r <= 6; ++r) {
            for (int c = 1; c <= 2; ++c) {
                const QPoint o = s.cellOrigin(r, c);
                const QStringList texts = textsIn(pages[p - 1], QRect(o, QSize(s.labelWidth, s.labelHeight)));
                const int i = s.recordAt(p, r, c);
                if (i < 0) {
                    EXPECT_TRUE(texts.isEmpty()) << "page " << p << " cell " << r << "," << c;
                    continue;
                }
                EXPECT_TRUE(texts.contains(nameOf(i))) << "page " << p << " cell " << r << "," << c;
                EXPECT_EQ(texts.size(), 4) << "page " << p << " cell " << r << "," << c;
            }
        }
    }
    // Page 3 holds records 21 to 24 in its first four cells.
    EXPECT_TRUE(findText(pages[2], nameOf(21)));
    EXPECT_TRUE(findText(pages[2], nameOf(24)));
    EXPECT_FALSE(findText(pages[2], nameOf(20)));
}

TEST_F(LabelEngineTest, GreenOutlinesOnlyInThePreviewOfEveryCell)
{
    const LabelSnapshot s = snapshotOf(sampleSettings(), records(25), 2, 2);
    const QVector<PageRecording> preview = le.preview(s);
    const QVector<PageRecording> paper = le.print(s);
    ASSERT_EQ(preview.size(), 3);
    ASSERT_EQ(paper.size(), 3);
    for (int p = 0; p < 3; ++p) {
        const QVector<const PageOp*> frames = preview[p].ofKind(PageOp::Kind::Polyline);
        ASSERT_EQ(frames.size(), 12) << "preview page " << p + 1;
        int k = 0;
        for (int r = 1; r <= 6; ++r) {
            for (int c = 1; c <= 2; ++c, ++k) {
                const QPoint o = s.cellOrigin(r, c);
                EXPECT_EQ(frames[k]->pen.color(), QColor(0, 128, 0));
                EXPECT_EQ(frames[k]->points.boundingRect().toRect(),
                          QRect(o.x(), o.y(), s.labelWidth, s.labelHeight)) << r << "," << c;
            }
        }
        EXPECT_TRUE(paper[p].ofKind(PageOp::Kind::Polyline).isEmpty()) << "paper page " << p + 1;
        // The texts after the frames are black again.
        const QVector<const PageOp*> texts = preview[p].ofKind(PageOp::Kind::Text);
        ASSERT_FALSE(texts.isEmpty());
        EXPECT_EQ(texts.first()->font.color, QColor(Qt::black));
    }
}

TEST_F(LabelEngineTest, PositionAdjustmentMovesOnlyThePrintedLabels)
{
    AppSettings a = sampleSettings();
    const LabelSnapshot plain = snapshotOf(a, records(3));
    const PageRecording reference = le.preview(plain).value(0);
    const PageOp* ref = findText(reference, nameOf(2));
    ASSERT_TRUE(ref);
    struct Case {
        double top;
        double left;
        QPointF move;
    };
    const Case cases[] = {{1.5, 0.0, QPointF(0, 15)}, {-0.3, 0.0, QPointF(0, -3)}, {0.0, 2.4, QPointF(24, 0)},
                          {-10.0, 10.0, QPointF(100, -100)}};
    for (const Case& c : cases) {
        a.labelOffsetY = c.top;
        a.labelOffsetX = c.left;
        const LabelSnapshot s = snapshotOf(a, records(3));
        const PageOp* shown = findText(le.preview(s).value(0), nameOf(2));
        ASSERT_TRUE(shown);
        EXPECT_EQ(shown->origin, ref->origin) << "preview, offset " << c.top << "/" << c.left;
        const QVector<PageRecording> paper = le.print(s);
        ASSERT_EQ(paper.size(), 1);
        const PageOp* printed = findText(paper[0], nameOf(2));
        ASSERT_TRUE(printed);
        EXPECT_EQ(printed->origin, ref->origin + c.move) << "paper, offset " << c.top << "/" << c.left;
    }
}

TEST_F(LabelEngineTest, OneLabelDrawsTheStampFirstAndOnlyVisibleFields)
{
    QTemporaryDir dir;
    const QString stampPath = dir.filePath(QStringLiteral("stamp.png"));
    QImage picture(40, 40, QImage::Format_RGB32);
    picture.fill(Qt::red);
    ASSERT_TRUE(picture.save(stampPath));

    AppSettings a = sampleSettings();
    a.labelImage = ImageBox{stampPath, 20, 300, 40, 40};
    a.labelFields[5].visible = false; // the barcode column has text but stays hidden
    a.labelFields[11] = style(200, 150, 150, 8); // TEL, blank in the sender data
    const LabelSnapshot s = snapshotOf(a, records(1));
    const PageRecording page = le.preview(s).value(0);
    const QVector<const PageOp*> images = page.ofKind(PageOp::Kind::Image);
    ASSERT_EQ(images.size(), 1);
    const QPoint o = s.cellOrigin(1, 1);
    // t(300) = 794, t(20) = 53, t(40) = 106.
    EXPECT_EQ(images[0]->rect.toRect(), QRect(o.x() + 794, o.y() + 53, 106, 106));
    // The stamp comes before every field of the label.
    int imageAt = -1, firstText = -1;
    for (int i = 0; i < page.size(); ++i) {
        const PageOp& op = page.ops()[i];
        if (op.kind == PageOp::Kind::Image && imageAt < 0)
            imageAt = i;
        if (op.kind == PageOp::Kind::Text && firstText < 0)
            firstText = i;
    }
    EXPECT_LT(imageAt, firstText);
    const QStringList texts = page.texts();
    EXPECT_FALSE(texts.contains(QStringLiteral("C-0")));
    for (const QString& t : texts)
        EXPECT_FALSE(t.startsWith(QStringLiteral("Tel"))) << t.toStdString();
    // Fields in order 1 .. 5, name 2 (blank) drawing nothing visible.
    ASSERT_GE(texts.size(), 4);
    EXPECT_EQ(texts[0], QStringLiteral("〒100-0000"));
    EXPECT_EQ(texts[3], nameOf(0));
}

TEST_F(LabelEngineTest, VerticalAddressLinesPrintAsciiHyphensAndNamesKeepTheirs)
{
    AppSettings a = sampleSettings();
    a.labelFields[1] = style(330, 10, 160, 11, true); // address 1, vertical
    a.labelFields[3] = style(280, 10, 160, 14, true); // name 1, vertical
    QStringList lines = {u(u"\"100-0001\",\"１－２－３\",\"\",\"山田１－２\",\"\",\"\",\"様\"")};
    const PageRecording page = le.preview(snapshotOf(a, lines)).value(0);
    const QStringList texts = page.texts();
    EXPECT_TRUE(texts.contains(u(u"１-２-３"))) << texts.join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(texts.contains(u(u"山田１－２　様"))) << texts.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(page.ofKind(PageOp::Kind::VerticalText).size(), 2);
}

TEST(LabelFieldText, PostalMarksHonorificsAndPrefixes)
{
    AppSettings a = sampleSettings();
    for (int n = 1; n <= 15; ++n)
        a.labelFields[n - 1].visible = true;
    a.sender.tel = u(u"03-1111-2222");
    a.sender.fax = u(u"  ");
    a.sender.mail = u(u"a@example.jp");
    struct Case {
        const char* what;
        const char16_t* line;
        bool recipientMark;
        bool senderMark;
        bool name2Visible;
        int field;
        const char16_t* text;
    };
    const Case cases[] = {
        {"code gets its 〒", u"\"123-4567\"", true, true, true, 1, u"〒123-4567"},
        {"〒 kept once", u"\"〒123-4567\"", true, true, true, 1, u"〒123-4567"},
        {"〒 removed", u"\"〒123-4567\"", false, true, true, 1, u"123-4567"},
        {"unmarked code left", u"\"123-4567\"", false, true, true, 1, u"123-4567"},
        {"no code, no lone 〒", u"\"\"", true, true, true, 1, u""},
        {"full-width code kept as it is", u"\"１２３－４５６７\"", true, true, true, 1, u"〒１２３－４５６７"},
        {"sender 〒 kept", u"\"1\"", true, true, true, 7, u"〒530-0001"},
        {"sender 〒 removed", u"\"1\"", true, false, true, 7, u"530-0001"},
        {"name 2 blank: honorific on name 1", u"\"1\",\"\",\"\",\"山田\",\"\",\"\",\"殿\"", true, true, true, 4, u"山田　殿"},
        {"... and name 2 empty", u"\"1\",\"\",\"\",\"山田\",\"\",\"\",\"殿\"", true, true, true, 5, u""},
        {"name 2 set: honorific on it", u"\"1\",\"\",\"\",\"山田\",\"花子\",\"\",\"殿\"", true, true, true, 5, u"花子　殿"},
        {"name 2 hidden", u"\"1\",\"\",\"\",\"山田\",\"花子\",\"\",\"殿\"", true, true, false, 4, u"山田　殿"},
        {"barcode as text", u"\"1\",\"\",\"\",\"\",\"\",\"1234567-8\"", true, true, true, 6, u"1234567-8"},
        {"missing column", u"\"1\"", true, true, true, 2, u" "},
        {"TEL", u"\"1\"", true, true, true, 12, u"Tel 03-1111-2222"},
        {"blank FAX", u"\"1\"", true, true, true, 13, u""},
        {"mail", u"\"1\"", true, true, true, 14, u"EMail a@example.jp"},
        {"no URL", u"\"1\"", true, true, true, 15, u""},
    };
    for (const Case& c : cases) {
        AppSettings b = a;
        b.labelPostMark = c.senderMark;
        b.labelFields[4].visible = c.name2Visible;
        const LabelSnapshot s = LabelSnapshot::fromSettings(b, {u(c.line)}, HonorificChoice{true, QString()},
                                                            c.recipientMark, 1, 1);
        EXPECT_EQ(LabelFieldText(s, c.field, 0), u(c.text)) << c.what;
    }
    // A fixed honorific instead of the column.
    const LabelSnapshot fixed =
        LabelSnapshot::fromSettings(a, {u(u"\"1\",\"\",\"\",\"山田\",\"\",\"\",\"殿\"")}, HonorificChoice{false, u(u"御中")},
                                    true, 1, 1);
    EXPECT_EQ(LabelFieldText(fixed, 4, 0), u(u"山田　御中"));
    EXPECT_EQ(LabelFieldText(fixed, 16, 0), QString());
}

TEST(LabelSnapshot, FromSettingsOpensTheLayoutAsTheFormDoes)
{
    QTemporaryDir dir;
    AppSettings a = sampleSettings();
    // 8 x 14 labels: 19.8 x 24.3 mm, an image of 92 x 75 pixels.
    a.labelSheet.columns = 8;
    a.labelSheet.rows = 14;
    a.labelSheet.topMargin = 100;
    a.labelSheet.bottomMargin = 100;
    a.labelFields[1] = style(24, 30, 320, 11);
    a.labelImage = ImageBox{dir.filePath(QStringLiteral("gone.png")), 10, 10, 40, 40};
    LayoutOpening opening;
    const LabelSnapshot s = LabelSnapshot::fromSettings(a, records(2), HonorificChoice{true, QString()}, true, 1, 1,
                                                        &opening);
    const LabelOpeningReport& report = opening.sheet;
    EXPECT_EQ(s.labelHeight, 198);
    EXPECT_EQ(s.labelWidth, 243);
    const QSize image = LabelGeometry::imageSize(s.labelHeight, s.labelWidth);
    EXPECT_EQ(image, QSize(92, 75));
    // A box 320 pixels wide is wider than 243 tenths: the stored sheet fails the minimum rule,
    // and every box is fitted into the label.
    EXPECT_TRUE(report.tooSmall);
    EXPECT_TRUE(report.outOfRange.isEmpty());
    for (int n = 1; n <= 15; ++n) {
        const FieldBox& b = s.field(n).box;
        EXPECT_LE(b.left + b.width, image.width()) << n;
        EXPECT_LE(b.top + b.height, image.height()) << n;
        EXPECT_GE(b.left, 0) << n;
        EXPECT_GE(b.top, 0) << n;
    }
    EXPECT_EQ(s.field(2).box.width, 92);
    EXPECT_EQ(s.field(2).style.width, 92);
    // A stamp whose file is gone is dropped.
    EXPECT_TRUE(s.stamp.path.isEmpty());

    // A stamp that exists is kept in reach of the smaller label.
    const QString stampPath = dir.filePath(QStringLiteral("stamp.png"));
    QImage picture(10, 10, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    ASSERT_TRUE(picture.save(stampPath));
    a.labelImage = ImageBox{stampPath, 120, 200, 40, 40};
    a.labelSheet.columns = 20; // out of range: held at 8
    const LabelSnapshot t = LabelSnapshot::fromSettings(a, records(2), HonorificChoice{true, QString()}, true, 1, 1,
                                                        &opening);
    EXPECT_EQ(t.stamp.left, 88);
    EXPECT_EQ(t.stamp.top, 71);
    EXPECT_EQ(t.sheet.columns, 8);
    EXPECT_EQ(report.outOfRange, QVector<SheetSetting>{SheetSetting::Columns});
    EXPECT_EQ(report.stored.columns, 20);
}
