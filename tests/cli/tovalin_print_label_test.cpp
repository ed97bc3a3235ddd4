// tovalin-print label as its users run it: the example into A4 sheets with searchable text
// and no preview outlines, the start cell and the recipient 〒 from the command line, the
// position adjustment on paper, and wrong arguments with their exit status.

#include "CliTestSupport.h"

#include "support/CupsTestPrinter.h"
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
