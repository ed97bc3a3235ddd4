// Printing through the real CUPS test printer: the PDF that cups-pdf writes is checked for
// its pages, its paper, its text and where the ink lands on the sheet.

#include "PreviewTestSupport.h"
#include "SamplePages.h"
#include "support/CupsTestPrinter.h"

#include "platform/DevMode.h"
#include "platform/SystemPrinter.h"
#include "preview/PreviewWindow.h"
#include "preview/TplPrev.h"
#include "preview/TplSetPrinter.h"
#include "support/PrinterPaper.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <stdexcept>

using namespace previewtest;

namespace {

// Renders at 254 dpi: one pixel per 0.1 mm, so pixel positions read as page units.
constexpr int kUnitDpi = 254;
// The job's PDF page is the sheet rounded to whole points, and the cups-pdf filter chain
// fits that page onto the exact sheet: up to 0.3 mm at the far edge of an A4 sheet. The
// engine's own mapping is exact (checked without the chain in engine_test); a mapping
// off by the printable margins would be off by more than a millimetre.
constexpr int kChainTolerance = 4;

struct Paper {
    const char* name;
    int dmPaper;
    QSizeF points;
};

const Paper kPapers[] = {
    { "postcard", DevMode::PaperJapanesePostcard, QSizeF(283.46, 419.53) },
    { "A4", DevMode::PaperA4, QSizeF(595.28, 841.89) },
};

class PrintTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TOVALIN_REQUIRE_TEST_PRINTER();
        ASSERT_TRUE(CupsTestPrinter::selectInSystemPrinter());
        printer = std::make_unique<TplSetPrinter>(QStringLiteral("plSetPrinter1"));
        printer->setPrinterName(CupsTestPrinter::name());
        stamp = dir.filePath(QStringLiteral("STAMP.JPG"));
        ASSERT_TRUE(samplepages::writeStampJpeg(stamp));
    }

    void usePaper(int dmPaper)
    {
        printerpaper::usePaper(*printer, dmPaper);
        engine.setPlSetPrinter(printer.get()); // the next run takes this paper's size
    }

    // Prints FromPage..ToPage and returns the PDF that reached the printer.
    QString printAndFetch()
    {
        SystemPrinter& sp = SystemPrinter::instance();
        const int before = sp.lastJobId();
        EXPECT_TRUE(engine.Print());
        const int job = sp.lastJobId();
        EXPECT_NE(job, before) << "no job was submitted";
        if (job == before)
            return QString();
        const QString pdf = CupsTestPrinter::outputFile(job);
        EXPECT_FALSE(pdf.isEmpty()) << "cups-pdf wrote nothing for job " << job;
        outputs << pdf;
        return pdf;
    }

    void TearDown() override
    {
        for (const QString& pdf : outputs)
            CupsTestPrinter::removeOutput(pdf);
    }

    // A black 10 x 10 mm square whose corner is at (x, y) in 0.1 mm.
    void calibrationSquare(int x, int y)
    {
        engine.Canvas()->SetBrushColor(0x000000);
        engine.Canvas()->FillRect(x, y, x + 100, y + 100);
    }

    MessageLog log;
    QTemporaryDir dir;
    QString stamp;
    std::unique_ptr<TplSetPrinter> printer;
    TplPrev engine;
    QStringList outputs;
};

QRect postalBox(int pageWidth, int k)
{
    const int x0 = pageWidth - 552;
    return QRect(x0 + (k < 3 ? 70 * k : 216 + 70 * (k - 3)), 120, 60, 85);
}

} // namespace

TEST_F(PrintTest, PostcardsAndA4SheetsReachThePrinterWithTheirPagesPaperAndText)
{
    for (const Paper& paper : kPapers) {
        SCOPED_TRACE(paper.name);
        usePaper(paper.dmPaper);
        engine.setTitle(QStringLiteral("ハガキ宛名印刷"));
        engine.setPageCount(2);
        ASSERT_TRUE(engine.BeginPreview([&] {
            samplepages::drawPostcard(engine, stamp, engine.CurrentPage() - 1);
            calibrationSquare(200, 300);
        }));
        engine.setFromPage(1);
        engine.setToPage(2);
        const QString pdf = printAndFetch();
        ASSERT_FALSE(pdf.isEmpty());

        const CupsTestPrinter::PdfInfo info = CupsTestPrinter::pdfInfo(pdf);
        ASSERT_TRUE(info.ok) << info.error.toStdString();
        EXPECT_EQ(info.pages, 2);
        EXPECT_NEAR(info.pageSizePt.width(), paper.points.width(), 1.0);
        EXPECT_NEAR(info.pageSizePt.height(), paper.points.height(), 1.0);

        const QString text = CupsTestPrinter::pdfText(pdf);
        EXPECT_TRUE(text.contains(QStringLiteral("Tel 06-1234-5678"))) << text.toStdString();
        EXPECT_TRUE(text.contains(QStringLiteral("EMail sato@example.jp"))) << text.toStdString();
        // The Japanese texts are text too, not outlines.
        EXPECT_TRUE(text.contains(QStringLiteral("山"))) << text.toStdString();
        EXPECT_TRUE(text.contains(QStringLiteral("様"))) << text.toStdString();

        // Where the ink lands: one pixel per 0.1 mm of the sheet.
        const QImage sheet = CupsTestPrinter::renderPage(pdf, 1, kUnitDpi);
        ASSERT_FALSE(sheet.isNull());
        const QString png = QDir(QStringLiteral(TOVALIN_BINARY_DIR))
                                .filePath(QStringLiteral("sample-%1-printed.png").arg(QLatin1String(paper.name)));
        sheet.save(png);
        const QRect square = inkBox(sheet, QRect(150, 250, 200, 200));
        EXPECT_NEAR(square.left(), 200, kChainTolerance);
        EXPECT_NEAR(square.top(), 300, kChainTolerance);
        EXPECT_NEAR(square.right(), 299, kChainTolerance);
        EXPECT_NEAR(square.bottom(), 399, kChainTolerance);

        // No boxes on paper, only the digits, each centred where its box is printed on the card.
        const QString digits = QStringLiteral("1234567");
        for (int k = 0; k < 7; ++k) {
            const QRect box = postalBox(engine.PageWidth(), k);
            const QRect ink = inkBox(sheet, box.adjusted(-15, -15, 15, 15));
            ASSERT_FALSE(ink.isEmpty()) << "digit " << k;
            EXPECT_TRUE(box.contains(ink)) << "digit " << k;
            EXPECT_NEAR(ink.center().x(), box.center().x(), 6) << "digit " << k;
            EXPECT_NEAR(ink.center().y(), box.center().y(), 8) << "digit " << k;
        }

        // The recipient's name stands upright in its column, in the same place as in the preview.
        engine.setCurrentPage(1);
        const PageRecording* preview = engine.RenderPage();
        ASSERT_NE(preview, nullptr);
        const PageOp* name = nullptr;
        for (const PageOp* op : preview->ofKind(PageOp::Kind::VerticalText))
            if (op->text.startsWith(QStringLiteral("山田")))
                name = op;
        ASSERT_NE(name, nullptr);
        const QRect column = name->rect.toAlignedRect();
        const QRect printedName = inkBox(sheet, column.adjusted(-20, -20, 20, 20));
        const QRect previewName = inkBox(renderAtUnitScale(*preview), column.adjusted(-20, -20, 20, 20));
        ASSERT_FALSE(printedName.isEmpty());
        EXPECT_NEAR(printedName.left(), previewName.left(), kChainTolerance);
        EXPECT_NEAR(printedName.top(), previewName.top(), kChainTolerance);
        EXPECT_NEAR(printedName.bottom(), previewName.bottom(), kChainTolerance);
        EXPECT_GT(printedName.height(), 5 * printedName.width());
    }
    EXPECT_TRUE(log.entries.isEmpty()) << log.texts().join(QLatin1Char('|')).toStdString();
}

TEST_F(PrintTest, PrintOffsetsMoveThePageLeftAndUpAndTheMarginsClipIt)
{
    usePaper(DevMode::PaperJapanesePostcard);
    struct Case { int offX, offY; QPoint corner; };
    const Case cases[] = { { 0, 0, QPoint(400, 600) }, { 20, -10, QPoint(380, 610) }, { -15, 25, QPoint(415, 575) } };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.offX << "," << c.offY);
        engine.setPrintOffsetX(c.offX);
        engine.setPrintOffsetY(c.offY);
        ASSERT_TRUE(engine.BeginPreview([&] {
            calibrationSquare(400, 600);
            calibrationSquare(-50, 800); // reaches outside the printable area on the left
        }));
        engine.setFromPage(1);
        engine.setToPage(1);
        const QString pdf = printAndFetch();
        ASSERT_FALSE(pdf.isEmpty());
        const QImage sheet = CupsTestPrinter::renderPage(pdf, 1, kUnitDpi);
        ASSERT_FALSE(sheet.isNull());
        const QRect square = inkBox(sheet, QRect(300, 500, 300, 300));
        EXPECT_NEAR(square.left(), c.corner.x(), kChainTolerance);
        EXPECT_NEAR(square.top(), c.corner.y(), kChainTolerance);
        EXPECT_NEAR(square.width(), 100, 2);
        EXPECT_NEAR(square.height(), 100, 2);
        // The printable-area clip is in page units, so it moves with the page.
        const QRect cut = inkBox(sheet, QRect(0, 700, 200, 300));
        ASSERT_FALSE(cut.isEmpty());
        EXPECT_NEAR(cut.left(), engine.LeftMargin() - c.offX, kChainTolerance);
    }
}

TEST_F(PrintTest, AJobWhosePageRoutineFailsIsNotSent)
{
    usePaper(DevMode::PaperJapanesePostcard);
    engine.setPageCount(3);
    ASSERT_TRUE(engine.BeginPreview([&] {
        engine.TextOut(200, 200, QStringLiteral("途中まで"));
        if (engine.CurrentPage() == 3)
            throw std::runtime_error("no record 3");
    }));
    engine.setFromPage(1);
    engine.setToPage(3);
    SystemPrinter& sp = SystemPrinter::instance();
    const int before = sp.lastJobId();
    EXPECT_THROW(engine.Print(), std::runtime_error);
    EXPECT_EQ(sp.lastJobId(), before);
    EXPECT_FALSE(sp.printing());
    EXPECT_FALSE(engine.Printing());
}

namespace {
class ShownWindow final : public PreviewWindow {
public:
    ShownWindow() { registerWindow(this); }
    QString windowName() const override { return QStringLiteral("plPrevPost"); }
    QObject* windowObject() override { return &object; }
    void Bind(TplPrev*) override { }
    int ShowModal() override { return 1; }
    bool IsVisible() const override { return visible; }
    QObject object;
    bool visible = true;
};
} // namespace

TEST_F(PrintTest, TheOverlayOfAVisibleWindowIsPrintedOverThePage)
{
    usePaper(DevMode::PaperJapanesePostcard);
    ShownWindow window;
    engine.setFormName(QStringLiteral("plPrevPost"));
    engine.setPreviewForm(&window);
    QVector<int> overlaid;
    engine.OnBeforeView = [&](QObject* sender, int page) {
        EXPECT_EQ(sender, &window.object);
        overlaid << page;
        engine.Canvas()->SetBrushColor(0x000000);
        engine.Canvas()->FillRect(600, 900, 700, 1000);
    };
    engine.setPageCount(1);
    ASSERT_TRUE(engine.BeginPreview([&] { calibrationSquare(200, 300); }));
    for (const bool visible : { true, false }) {
        SCOPED_TRACE(visible ? "visible" : "hidden");
        window.visible = visible;
        overlaid.clear();
        engine.setFromPage(1);
        engine.setToPage(1);
        const QString pdf = printAndFetch();
        ASSERT_FALSE(pdf.isEmpty());
        const QImage sheet = CupsTestPrinter::renderPage(pdf, 1, kUnitDpi);
        ASSERT_FALSE(sheet.isNull());
        EXPECT_FALSE(inkBox(sheet, QRect(150, 250, 200, 200)).isEmpty()) << "the page itself";
        const QRect overlay = inkBox(sheet, QRect(550, 850, 200, 200));
        EXPECT_EQ(overlay.isEmpty(), !visible);
        // Not compared with an empty list: Qt's comparison hands memcmp a null pointer then.
        if (visible)
            EXPECT_EQ(overlaid, QVector<int> { 1 });
        else
            EXPECT_TRUE(overlaid.isEmpty());
    }
}

TEST_F(PrintTest, PrintToPdfPutsTenthsOfAMillimetreExactlyOntoTheSheet)
{
    // Without the filter chain in between, the square lands on the very pixel.
    for (const Paper& paper : kPapers) {
        SCOPED_TRACE(paper.name);
        usePaper(paper.dmPaper);
        engine.setPageCount(2);
        QVector<bool> printing;
        ASSERT_TRUE(engine.BeginPreview([&] {
            printing << engine.Printing();
            if (engine.CurrentPage() == 2) {
                samplepages::drawPostcard(engine, stamp, 1);
                return;
            }
            calibrationSquare(200, 300);
            calibrationSquare(engine.PageWidth() - 160, engine.PageHeight() - 240);
        }));
        engine.setFromPage(2);
        engine.setToPage(1);
        const QString pdf = dir.filePath(QStringLiteral("%1.pdf").arg(QLatin1String(paper.name)));
        ASSERT_TRUE(engine.PrintToPdf(pdf));
        EXPECT_EQ(printing, (QVector<bool> { true, true }));
        EXPECT_FALSE(engine.Printing());

        const CupsTestPrinter::PdfInfo info = CupsTestPrinter::pdfInfo(pdf);
        ASSERT_TRUE(info.ok) << info.error.toStdString();
        EXPECT_EQ(info.pages, 2);
        EXPECT_NEAR(info.pageSizePt.width(), paper.points.width(), 0.6); // whole points
        EXPECT_NEAR(info.pageSizePt.height(), paper.points.height(), 0.6);
        const QString text = CupsTestPrinter::pdfText(pdf, 2, 2);
        EXPECT_TRUE(text.contains(QStringLiteral("鈴"))) << text.toStdString(); // page 2's recipient
        EXPECT_FALSE(text.contains(QStringLiteral("山"))) << text.toStdString();

        const QImage sheet = CupsTestPrinter::renderPage(pdf, 1, kUnitDpi);
        ASSERT_FALSE(sheet.isNull());
        EXPECT_EQ(inkBox(sheet, QRect(150, 250, 200, 200)), QRect(200, 300, 100, 100));
        const QPoint far(engine.PageWidth() - 160, engine.PageHeight() - 240);
        const QRect farInk = inkBox(sheet, QRect(far - QPoint(20, 20), QSize(140, 140)));
        EXPECT_NEAR(farInk.left(), far.x(), 1);
        EXPECT_NEAR(farInk.top(), far.y(), 1);
        EXPECT_NEAR(farInk.width(), 100, 1);
    }
}

TEST_F(PrintTest, PagesAndJobsAreNotStartedAgainWhileOneIsUnderWay)
{
    usePaper(DevMode::PaperJapanesePostcard);
    const PageRecording* nested = reinterpret_cast<const PageRecording*>(1);
    bool nestedPrint = true;
    ASSERT_TRUE(engine.BeginPreview([&] {
        engine.TextOut(100, 100, QStringLiteral("外側"));
        nested = engine.RenderPage();
        nestedPrint = engine.PrintToPdf(dir.filePath(QStringLiteral("nested.pdf")));
        engine.TextOut(100, 200, QStringLiteral("続き"));
    }));
    const PageRecording* rec = engine.RenderPage();
    EXPECT_EQ(nested, nullptr);
    EXPECT_FALSE(nestedPrint);
    ASSERT_NE(rec, nullptr);
    EXPECT_EQ(rec->texts(), (QStringList { QStringLiteral("外側"), QStringLiteral("続き") }));
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("nested.pdf"))));
}
