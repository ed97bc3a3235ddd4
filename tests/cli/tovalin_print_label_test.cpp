// tovalin-print label as its users run it: the example into A4 sheets with searchable text
// and no preview outlines, the start cell and the recipient 〒 from the command line, the
// position adjustment on paper, and wrong arguments with their exit status.

#include "CliTestSupport.h"

#include "support/CupsTestPrinter.h"
#include "support/TestFiles.h"
#include "support/TestText.h"

#include <QImage>

using namespace clitest;

namespace {

using testtext::u;

QStringList labelRun(const ExampleCopy& ex, const QString& pdf, const QStringList& more = {})
{
    return QStringList{QStringLiteral("label"), QStringLiteral("--settings"), ex.settingsDir(), QStringLiteral("--output"),
                       pdf} + more;
}

// The topmost row of dark pixels inside region (-1 when there is none).
int firstDarkRow(const QImage& img, const QRect& region)
{
    for (int y = region.top(); y <= region.bottom(); ++y) {
        for (int x = region.left(); x <= region.right(); ++x) {
            const QColor c = img.pixelColor(x, y);
            if (c.red() < 100 && c.green() < 100 && c.blue() < 100)
                return y;
        }
    }
    return -1;
}

int firstDarkColumn(const QImage& img, const QRect& region)
{
    for (int x = region.left(); x <= region.right(); ++x) {
        for (int y = region.top(); y <= region.bottom(); ++y) {
            const QColor c = img.pixelColor(x, y);
            if (c.red() < 100 && c.green() < 100 && c.blue() < 100)
                return x;
        }
    }
    return -1;
}

} // namespace

TEST(TovalinPrintLabel, ExampleBecomesA4SheetsWithSearchableTextAndNoOutlines)
{
    ExampleCopy ex(QStringLiteral("label"));
    const QString pdf = ex.path(QStringLiteral("labels.pdf"));
    const ProgramRun r = runProgram(labelRun(ex, pdf));
    ASSERT_TRUE(r.finished);
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();

    const CupsTestPrinter::PdfInfo info = CupsTestPrinter::pdfInfo(pdf);
    ASSERT_TRUE(info.ok) << info.error.toStdString();
    EXPECT_EQ(info.pages, 3); // 30 addresses, 12 to a sheet
    EXPECT_NEAR(info.pageSizePt.width(), 210 / 25.4 * 72, 0.6);
    EXPECT_NEAR(info.pageSizePt.height(), 297 / 25.4 * 72, 0.6);

    const QString first = pdfCompactText(pdf, 1, 1);
    for (const QString& part : {u(u"〒154-0015"), u(u"東京都世田谷区桜新町２－１２－３"), u(u"山本健太郎様"),
                                u(u"株式会社みなと商会"), u(u"総務部中村浩二様")})
        EXPECT_TRUE(first.contains(part)) << part.toStdString() << " in " << first.toStdString();
    const QString last = pdfCompactText(pdf, 3, 3);
    EXPECT_TRUE(last.contains(u(u"千葉慎吾様"))) << last.toStdString();

    // Nothing green on paper: the cell outlines belong to the preview.
    const QImage page = CupsTestPrinter::renderPage(pdf, 1, 254); // one pixel per 0.1 mm
    ASSERT_FALSE(page.isNull());
    int green = 0, dark = 0;
    for (int y = 0; y < page.height(); y += 2) {
        for (int x = 0; x < page.width(); x += 2) {
            const QColor c = page.pixelColor(x, y);
            green += c.green() > 90 && c.red() < 80 && c.blue() < 80;
            dark += c.red() < 100 && c.green() < 100 && c.blue() < 100;
        }
    }
    EXPECT_EQ(green, 0);
    EXPECT_GT(dark, 1000);
}

TEST(TovalinPrintLabel, StartCellAndRecipientPostalMarkFromTheCommandLine)
{
    ExampleCopy ex(QStringLiteral("label"));
    const QString pdf = ex.path(QStringLiteral("labels.pdf"));
    const ProgramRun r = runProgram(labelRun(ex, pdf,
                                             {QStringLiteral("--start-row"), QStringLiteral("6"),
                                              QStringLiteral("--start-column=2"), QStringLiteral("--no-postal-mark"),
                                              QStringLiteral("--honorific"), u(u"殿")}));
    ASSERT_TRUE(r.finished);
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(CupsTestPrinter::pdfInfo(pdf).pages, 4);
    const QString first = pdfCompactText(pdf, 1, 1);
    EXPECT_EQ(first, u(u"154-0015東京都世田谷区桜新町２－１２－３山本健太郎殿"));

    // Only the last cell of the first sheet holds ink.
    const QImage page = CupsTestPrinter::renderPage(pdf, 1, 254);
    ASSERT_FALSE(page.isNull());
    const QRect lastCell(140 + 864 + 92, 216 + 5 * 423, 864, 423);
    EXPECT_GE(firstDarkRow(page, lastCell), lastCell.top());
    EXPECT_EQ(firstDarkRow(page, QRect(0, 0, page.width(), lastCell.top() - 1)), -1);
    EXPECT_EQ(firstDarkRow(page, QRect(0, lastCell.top(), lastCell.left() - 1, 423)), -1);
}

TEST(TovalinPrintLabel, PositionAdjustmentMovesTheLabelsOnPaper)
{
    ExampleCopy ex(QStringLiteral("label"));
    const QString plain = ex.path(QStringLiteral("plain.pdf"));
    ASSERT_EQ(runProgram(labelRun(ex, plain)).exitCode, 0);
    ASSERT_TRUE(ex.set(QStringLiteral("LABEL"), QStringLiteral("TOP"), QStringLiteral("1.5")));
    ASSERT_TRUE(ex.set(QStringLiteral("LABEL"), QStringLiteral("LEFT"), QStringLiteral("-0.8")));
    const QString moved = ex.path(QStringLiteral("moved.pdf"));
    const ProgramRun r = runProgram(labelRun(ex, moved));
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();

    const QImage a = CupsTestPrinter::renderPage(plain, 1, 254);
    const QImage b = CupsTestPrinter::renderPage(moved, 1, 254);
    ASSERT_FALSE(a.isNull());
    ASSERT_FALSE(b.isNull());
    // The first label of the sheet: its postal code's first ink, 15 tenths lower and 8 to the left.
    const QRect cell(100, 180, 950, 500);
    const int rowA = firstDarkRow(a, cell), rowB = firstDarkRow(b, cell);
    const int colA = firstDarkColumn(a, cell), colB = firstDarkColumn(b, cell);
    ASSERT_GT(rowA, 0);
    ASSERT_GT(colA, 0);
    EXPECT_NEAR(rowB - rowA, 15, 1);
    EXPECT_NEAR(colB - colA, -8, 1);
}

TEST(TovalinPrintLabel, WrongArgumentsEndWithStatusAndReason)
{
    const struct {
        const char* name;
        QStringList arguments; // after "label --settings DIR --output x.pdf"
        QString says;
    } cases[] = {
        {"start row beyond the sheet", {QStringLiteral("--start-row"), QStringLiteral("7")}, QStringLiteral("--start-row 7")},
        {"start column beyond the sheet", {QStringLiteral("--start-column"), QStringLiteral("3")},
         QStringLiteral("--start-column 3")},
        {"start row zero", {QStringLiteral("--start-row"), QStringLiteral("0")}, QStringLiteral("--start-row")},
        {"start column not a number", {QStringLiteral("--start-column"), QStringLiteral("two")}, QStringLiteral("two")},
        {"record is for postcards", {QStringLiteral("--record"), QStringLiteral("2")}, QStringLiteral("--record")},
        {"a flag with a value", {QStringLiteral("--no-postal-mark=1")}, QStringLiteral("--no-postal-mark")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ExampleCopy ex(QStringLiteral("label"));
        const QString pdf = ex.path(QStringLiteral("x.pdf"));
        const ProgramRun r = runProgram(labelRun(ex, pdf, c.arguments));
        ASSERT_TRUE(r.finished);
        EXPECT_EQ(r.exitCode, 2) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(c.says)) << r.err.toStdString();
        EXPECT_FALSE(QFile::exists(pdf));
    }
    // The start cell options belong to labels.
    ExampleCopy ex;
    const ProgramRun r = runProgram({QStringLiteral("postcard"), QStringLiteral("--settings"), ex.settingsDir(),
                                     QStringLiteral("--start-row"), QStringLiteral("2")});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.contains(QStringLiteral("--start-row"))) << r.err.toStdString();
    const ProgramRun help = runProgram({QStringLiteral("--help")});
    for (const char* o : {"label", "--start-row", "--start-column", "--no-postal-mark", "plSetLabel.plv"})
        EXPECT_TRUE(help.out.contains(QLatin1String(o))) << o;
}

// --sheet: the labels of the run land where the product's labels are. The example's layout is
// drawn from the top-left corner of each label, so its first ink keeps its place within the
// label whatever the sheet.
TEST(TovalinPrintLabel, SheetByProductNamePlacesTheLabelsOfThatProduct)
{
    struct Cell {
        QRect stored;  // the example's own 2 x 6 sheet of 86.4 x 42.3 mm
        QRect product; // Hisago ELM007: 83.8 x 42.3 mm from (20.3, 20.3) with 3.8 mm between columns
    };
    const Cell cells[] = {
        { QRect(140, 216, 864, 423), QRect(203, 203, 838, 423) },                         // row 1, column 1
        { QRect(140 + 864 + 92, 216 + 423, 864, 423), QRect(203 + 838 + 38, 203 + 423, 838, 423) }, // row 2, column 2
        { QRect(140, 216 + 5 * 423, 864, 423), QRect(203, 203 + 5 * 423, 838, 423) },     // row 6, column 1
    };
    ExampleCopy ex(QStringLiteral("label"));
    const QString stored = ex.path(QStringLiteral("stored.pdf"));
    const QString product = ex.path(QStringLiteral("product.pdf"));
    const QByteArray settings = TestFiles::read(ex.ini());
    ASSERT_EQ(runProgram(labelRun(ex, stored)).exitCode, 0);
    const ProgramRun r = runProgram(labelRun(ex, product, { QStringLiteral("--sheet"), QStringLiteral("hisago  ELM007") }));
    ASSERT_TRUE(r.finished);
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(CupsTestPrinter::pdfInfo(product).pages, 3);
    // The sheet is for this run only: the settings file is as it was.
    EXPECT_EQ(TestFiles::read(ex.ini()), settings);

    const QImage a = CupsTestPrinter::renderPage(stored, 1, 254);
    const QImage b = CupsTestPrinter::renderPage(product, 1, 254);
    ASSERT_FALSE(a.isNull());
    ASSERT_FALSE(b.isNull());
    for (const Cell& c : cells) {
        const int rowA = firstDarkRow(a, c.stored), colA = firstDarkColumn(a, c.stored);
        const int rowB = firstDarkRow(b, c.product), colB = firstDarkColumn(b, c.product);
        ASSERT_GT(rowA, 0);
        ASSERT_GT(rowB, 0);
        EXPECT_NEAR(rowB - c.product.top(), rowA - c.stored.top(), 1) << c.product.topLeft().y();
        EXPECT_NEAR(colB - c.product.left(), colA - c.stored.left(), 1) << c.product.topLeft().x();
    }
}

TEST(TovalinPrintLabel, SheetNamesThatCannotBeUsedEndWithStatusTwo)
{
    const struct {
        const char* name;
        QString sheet;
        QStringList says;
    } cases[] = {
        { "a slip of the keys", QStringLiteral("Hisago ELM0008"),
          { u(u"その名前の用紙はありません"), u(u"近い用紙: Hisago ELM008") } },
        { "the product number alone", QStringLiteral("ELM007"), { QStringLiteral("Hisago ELM007") } },
        { "round labels", QStringLiteral("Hisago GB3019"), { u(u"長方形のラベルではありません"), u(u"近い用紙") } },
        { "US Letter", QStringLiteral("Avery 5160"), { u(u"A4 縦の用紙ではありません") } },
        // 98 labels of 27.5 x 19.1 mm: narrower than the example's name field.
        { "labels smaller than the fields", QStringLiteral("Endisch 6502719x"), { u(u"ラベルの最小値を下回るためこの変更は出来ません。") } },
        { "an empty name", QString(), { QStringLiteral("--sheet") } },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ExampleCopy ex(QStringLiteral("label"));
        const QString pdf = ex.path(QStringLiteral("x.pdf"));
        const ProgramRun r = runProgram(labelRun(ex, pdf, { QStringLiteral("--sheet"), c.sheet }));
        ASSERT_TRUE(r.finished);
        EXPECT_EQ(r.exitCode, 2) << r.err.toStdString();
        for (const QString& s : c.says)
            EXPECT_TRUE(r.err.contains(s)) << s.toStdString() << " in " << r.err.toStdString();
        EXPECT_FALSE(QFile::exists(pdf));
    }

    // Without any template file the message names the package to install.
    QTemporaryDir empty;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_DATA_DIRS"), empty.path());
    env.insert(QStringLiteral("XDG_DATA_HOME"), empty.path());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), empty.path());
    env.insert(QStringLiteral("HOME"), empty.path());
    ExampleCopy ex(QStringLiteral("label"));
    const ProgramRun r = runProgram(labelRun(ex, ex.path(QStringLiteral("x.pdf")),
                                             { QStringLiteral("--sheet"), QStringLiteral("Hisago ELM007") }),
                                    120000, env);
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.contains(QStringLiteral("glabels-data"))) << r.err.toStdString();
}

// Each run's usage on its own where the run is named; both for the program as a whole.
TEST(TovalinPrintLabel, UsageOfTheRunThatWasNamed)
{
    const struct {
        QStringList arguments;
        int exitCode;
        bool postcard; // the postcard run's usage is shown
        bool label;
    } cases[] = {
        { { QStringLiteral("label"), QStringLiteral("--help") }, 0, false, true },
        { { QStringLiteral("label"), QStringLiteral("--fast") }, 2, false, true },
        { { QStringLiteral("label"), QStringLiteral("--record"), QStringLiteral("2") }, 2, false, true },
        { { QStringLiteral("postcard"), QStringLiteral("-h") }, 0, true, false },
        { { QStringLiteral("postcard"), QStringLiteral("--sheet"), QStringLiteral("x") }, 2, true, false },
        { { QStringLiteral("--help") }, 0, true, true },
        { { QStringLiteral("labels") }, 2, true, true },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.join(QLatin1Char(' ')).toStdString());
        const ProgramRun r = runProgram(c.arguments);
        ASSERT_TRUE(r.finished);
        EXPECT_EQ(r.exitCode, c.exitCode);
        const QString shown = c.exitCode == 0 ? r.out : r.err;
        EXPECT_EQ(shown.contains(QStringLiteral("tovalin-print postcard [")), c.postcard) << shown.toStdString();
        EXPECT_EQ(shown.contains(QStringLiteral("--record N")), c.postcard);
        EXPECT_EQ(shown.contains(QStringLiteral("tovalin-print label [")), c.label);
        EXPECT_EQ(shown.contains(QStringLiteral("--sheet \"MAKER PART\"")), c.label);
    }
    for (const QStringList& args : { QStringList { QStringLiteral("--version") },
                                     QStringList { QStringLiteral("label"), QStringLiteral("--version") } }) {
        const ProgramRun v = runProgram(args);
        EXPECT_EQ(v.exitCode, 0);
        EXPECT_EQ(v.out, QStringLiteral("tovalin-print " TOVALIN_VERSION "\n"));
    }
}
