// The preview engine's run: page count and range rules, recording on demand, the failure
// messages, the preview window lookup, pictures that fail, and the printer mapping.

#include "PreviewTestSupport.h"
#include "support/CupsTestPrinter.h"

#include "platform/DevMode.h"
#include "platform/SystemPrinter.h"
#include "preview/PageMath.h"
#include "preview/PreviewWindow.h"
#include "preview/TplPrev.h"
#include "preview/TplSetPrinter.h"
#include "support/PrinterPaper.h"

#include <QCoreApplication>
#include <QCursor>
#include <QFileInfo>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <stdexcept>

using namespace previewtest;

namespace {

const QString kCaption = QStringLiteral("印刷プレビュー制御コンポーネント");
const QString kNoPrinter = QStringLiteral("プリンタ設定コンポーネントが指定されていません．　　");
const QString kNoFormName = QStringLiteral("印刷プレビュー用フォーム名が未指定です．　　");
const QString kNotPreviewForm = QStringLiteral("印刷プレビューコンポ用のフォームではありません．　　");
const QString kAlreadyShown = QStringLiteral("表示中のフォームをモーダル表示で開くことはできません(矛盾)．　　");
const QString kNoDrawCode = QStringLiteral("Canvasへの描画コードが見つかりません．　　");

using printerpaper::usePaper;

class EngineTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TOVALIN_REQUIRE_TEST_PRINTER();
        printer = std::make_unique<TplSetPrinter>(QStringLiteral("plSetPrinter1"));
        printer->setPrinterName(CupsTestPrinter::name());
        usePaper(*printer, DevMode::PaperJapanesePostcard);
        engine.setPlSetPrinter(printer.get());
    }

    MessageLog log;
    std::unique_ptr<TplSetPrinter> printer;
    TplPrev engine;
};

// A preview window as the engine sees it.
class TestWindow final : public PreviewWindow {
public:
    explicit TestWindow(const QString& name) : m_name(name) { registerWindow(this); }
    QString windowName() const override { return m_name; }
    QObject* windowObject() override { return &object; }
    void Bind(TplPrev* engine) override { bound = engine; }
    int ShowModal() override
    {
        ++shown;
        if (bound)
            pageOnShow = bound->RenderPage();
        return 1;
    }
    bool IsVisible() const override { return visible; }

    QObject object;
    TplPrev* bound = nullptr;
    int shown = 0;
    bool visible = false;
    const PageRecording* pageOnShow = nullptr;

private:
    QString m_name;
};

} // namespace

// ---- properties and rules without a printer -------------------------------------------------------

TEST(TplPrevProperties, PageCountIgnoresValuesBelowOneAndSetsToPage)
{
    struct Step { int write; int pageCount; int toPage; };
    const Step steps[] = { { 5, 5, 5 }, { 0, 5, 5 }, { -3, 5, 5 }, { 2, 2, 2 }, { 1, 1, 1 } };
    TplPrev e;
    e.setToPage(9);
    EXPECT_EQ(e.ToPage(), 9);
    for (const Step& s : steps) {
        e.setPageCount(s.write);
        EXPECT_EQ(e.PageCount(), s.pageCount) << "after writing " << s.write;
        EXPECT_EQ(e.ToPage(), s.toPage) << "after writing " << s.write;
    }
}

TEST(TplPrevProperties, PageSizeWritesIgnoreNonPositiveValuesAndKeepTheRatio)
{
    TplPrev e;
    e.setPageWidth(1000);
    EXPECT_EQ(e.PageRatio(), 0) << "no ratio until both sides are known";
    e.setPageHeight(1480);
    EXPECT_DOUBLE_EQ(e.PageRatio(), 1.48);
    e.setPageWidth(0);
    e.setPageHeight(-5);
    EXPECT_EQ(e.PageWidth(), 1000);
    EXPECT_EQ(e.PageHeight(), 1480);
    e.setPageWidth(2000);
    EXPECT_DOUBLE_EQ(e.PageRatio(), 0.74);
}

TEST(TplPrevFailures, WithoutAPrinterComponentEveryRunOperationIsRefused)
{
    MessageLog log;
    TplPrev e;
    int calls = 0;
    EXPECT_FALSE(e.BeginPreview([&] { ++calls; }));
    EXPECT_EQ(e.State(), TplPrev::RunState::Idle);
    EXPECT_EQ(e.RenderPage(), nullptr);
    EXPECT_FALSE(e.ShowPreview()); // silent
    EXPECT_FALSE(e.Print());       // still Idle
    EXPECT_EQ(calls, 0);
    ASSERT_EQ(log.entries.size(), 2);
    EXPECT_EQ(log.entries[0].text, kNoPrinter);
    EXPECT_EQ(log.entries[0].kind, QStringLiteral("exclamation"));
    EXPECT_EQ(log.entries[0].caption, kCaption);
    EXPECT_EQ(log.entries[1].text, kNoDrawCode);
    EXPECT_EQ(log.entries[1].caption, kCaption);
}

TEST(TplPrevPaper, TractorFeedNamesInEitherWidth)
{
    struct Case { const char* name; QString source; bool tractor; };
    const Case cases[] = { { "full-width", QStringLiteral("トラクタフィーダ"), true },
                           { "half-width", QStringLiteral("ﾄﾗｸﾀ"), true },
                           { "in the middle", QStringLiteral("リア トラクタ 2"), true },
                           { "tray", QStringLiteral("Upper Tray"), false },
                           { "hiragana", QStringLiteral("とらくた"), false },
                           { "empty", QString(), false } };
    for (const Case& c : cases) {
        EXPECT_EQ(TplPrev::isTractorFeed(c.source), c.tractor) << c.name;
        PageRecording rec;
        PageCanvas canvas(&rec, 2100, 1000);
        TplPrev::PaintPaper(&canvas, 2100, 1000, 0xF0FFFF, c.source);
        const auto fills = rec.ofKind(PageOp::Kind::FillRect, true);
        ASSERT_EQ(fills.size(), 1) << c.name;
        EXPECT_EQ(fills[0]->rect, QRectF(0, 0, 2100, 1000));
        EXPECT_EQ(fills[0]->brush.color(), QColor(255, 255, 240)) << "paper colour is $BBGGRR";
        EXPECT_TRUE(fills[0]->paper);
        const auto holes = rec.ofKind(PageOp::Kind::Ellipse, true);
        const auto perforations = rec.ofKind(PageOp::Kind::Line, true);
        if (!c.tractor) {
            EXPECT_TRUE(holes.isEmpty()) << c.name;
            EXPECT_TRUE(perforations.isEmpty()) << c.name;
            continue;
        }
        // Rows at y = 40, 167, ..., 1056 (the first row at or below the sheet's end), two holes each.
        ASSERT_EQ(holes.size(), 2 * 9) << c.name;
        EXPECT_EQ(holes[0]->rect, QRectF(40, 40, 40, 40));
        EXPECT_EQ(holes[1]->rect, QRectF(2100 - 80, 40, 40, 40));
        EXPECT_EQ(holes[16]->rect.top(), 40 + 127 * 8);
        EXPECT_EQ(holes[0]->brush.color(), QColor(240, 240, 240));
        EXPECT_EQ(holes[0]->pen.color(), QColor(192, 192, 192));
        ASSERT_EQ(perforations.size(), 2);
        EXPECT_EQ(perforations[0]->points[0], QPointF(127, 0));
        EXPECT_EQ(perforations[1]->points[1], QPointF(2100 - 127, 1000));
        EXPECT_EQ(perforations[0]->pen.style(), Qt::DotLine);
    }
}

// ---- with the test printer ----------------------------------------------------------------------

TEST_F(EngineTest, PageMetricsOfAPostcard)
{
    ASSERT_GT(engine.DpiX(), 0);
    RecordProperty("metrics", QStringLiteral("dpi %1 paper %2x%3 px %4x%5 margins %6,%7 printable to %8,%9")
                                  .arg(engine.DpiX()).arg(engine.PaperWidth()).arg(engine.PaperHeight())
                                  .arg(engine.PaperWidthPx()).arg(engine.PaperHeightPx()).arg(engine.LeftMargin())
                                  .arg(engine.TopMargin()).arg(engine.PrintableRight()).arg(engine.PrintableBottom())
                                  .toStdString());
    // 100 x 148 mm within the rounding to whole printer pixels and points.
    EXPECT_NEAR(engine.PaperWidth(), 1000, 2);
    EXPECT_NEAR(engine.PaperHeight(), 1480, 2);
    EXPECT_GT(engine.LeftMargin(), 0);
    EXPECT_GT(engine.TopMargin(), 0);
    EXPECT_LT(engine.PrintableRight(), engine.PaperWidth());
    EXPECT_LT(engine.PrintableBottom(), engine.PaperHeight());
    EXPECT_EQ(engine.PaperWidth(), PageMath::Trunc(engine.PaperWidthPx() * 254.0 / engine.DpiX()));
    EXPECT_EQ(engine.LeftMargin(), PageMath::Ceil(printer->PhysicalOffsetX() * 254.0 / engine.DpiX()));

    ASSERT_TRUE(engine.BeginPreview([] { }));
    EXPECT_EQ(engine.PageWidth(), engine.PaperWidth());
    EXPECT_EQ(engine.PageHeight(), engine.PaperHeight());
    EXPECT_NEAR(engine.PageRatio(), 1.48, 0.005);
}

TEST_F(EngineTest, RenderPageRecordsOnlyPagesThatExist)
{
    QVector<int> pages;
    engine.setPageCount(3);
    ASSERT_TRUE(engine.BeginPreview([&] {
        pages << engine.CurrentPage();
        engine.TextOut(100, 100, QStringLiteral("頁%1").arg(engine.CurrentPage()));
    }));
    EXPECT_EQ(engine.State(), TplPrev::RunState::Started);

    struct Case { int page; bool recorded; };
    for (const Case c : { Case { 1, true }, Case { 3, true }, Case { 4, false }, Case { 0, false }, Case { 2, true } }) {
        engine.setCurrentPage(c.page);
        const PageRecording* rec = engine.RenderPage();
        EXPECT_EQ(rec != nullptr, c.recorded) << "page " << c.page;
        if (rec) {
            EXPECT_EQ(rec->texts(), QStringList { QStringLiteral("頁%1").arg(c.page) });
        }
    }
    EXPECT_EQ(pages, (QVector<int> { 1, 3, 2 }));
    EXPECT_EQ(engine.Canvas(), nullptr) << "the canvas is closed between pages";
}

TEST_F(EngineTest, EachPageStartsWithAFreshCanvasOnPaintedPaper)
{
    engine.setPageCount(2);
    engine.setPaperColor(0xE0FFFF);
    QVector<int> heightsOnEntry;
    ASSERT_TRUE(engine.BeginPreview([&] {
        heightsOnEntry << engine.Canvas()->font().height;
        engine.SetFontSize(20);
        engine.SetPenWidth(9);
        engine.FrameRect(200, 300, 200, 300);
    }));
    for (int page = 1; page <= 2; ++page) {
        engine.setCurrentPage(page);
        const PageRecording* rec = engine.RenderPage();
        ASSERT_NE(rec, nullptr);
        ASSERT_GE(rec->size(), 2);
        const PageOp& paper = rec->ops().first();
        EXPECT_TRUE(paper.paper);
        EXPECT_EQ(paper.kind, PageOp::Kind::FillRect);
        EXPECT_EQ(paper.rect, QRectF(0, 0, engine.PageWidth(), engine.PageHeight()));
        EXPECT_EQ(paper.brush.color(), QColor(255, 255, 224));
        EXPECT_EQ(rec->ofKind(PageOp::Kind::Polyline)[0]->pen.widthF(), 9);
    }
    EXPECT_EQ(heightsOnEntry, (QVector<int> { -37, -37 }));
}

TEST_F(EngineTest, ViewClipLimitsTheOwnersDrawingToThePrintableArea)
{
    for (const bool clip : { true, false }) {
        engine.setViewClip(clip);
        ASSERT_TRUE(engine.BeginPreview([&] { engine.TextOut(0, 0, QStringLiteral("角")); }));
        const PageRecording* rec = engine.RenderPage();
        ASSERT_NE(rec, nullptr);
        const auto texts = textOps(*rec);
        ASSERT_EQ(texts.size(), 1);
        EXPECT_EQ(texts[0]->clipToPrintable, clip);
        if (clip) {
            EXPECT_EQ(rec->printableClip().toRect(),
                      QRect(QPoint(engine.LeftMargin(), engine.TopMargin()),
                            QPoint(engine.PrintableRight() - 1, engine.PrintableBottom() - 1)));
            // The text at the sheet's corner lies outside the printable area: nothing shows.
            const QImage img = renderAtUnitScale(*rec);
            EXPECT_TRUE(inkBox(img, QRect(0, 0, 200, 200)).isEmpty());
        }
    }
}

TEST_F(EngineTest, AThrowingPageRoutineClosesTheCanvasAndRestoresTheCursor)
{
    ASSERT_EQ(QGuiApplication::overrideCursor(), nullptr);
    Qt::CursorShape during = Qt::ArrowCursor;
    engine.setCursor(Qt::BusyCursor);
    ASSERT_TRUE(engine.BeginPreview([&] {
        during = QGuiApplication::overrideCursor() ? QGuiApplication::overrideCursor()->shape() : Qt::ArrowCursor;
        engine.TextOut(0, 0, QStringLiteral("途中"));
        throw std::runtime_error("record 7 is broken");
    }));
    try {
        engine.RenderPage();
        FAIL() << "the error must reach the caller";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "record 7 is broken");
    }
    EXPECT_EQ(during, Qt::BusyCursor);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(engine.Canvas(), nullptr);
    EXPECT_EQ(engine.PageMetafile(), nullptr) << "a half-drawn page is not shown";
}

TEST_F(EngineTest, PrintGoesThroughTheRangeInAscendingOrderEitherWayRound)
{
    struct Case { int from, to, count; QVector<int> pages; };
    const Case cases[] = { { 1, 3, 3, { 1, 2, 3 } },
                           { 3, 1, 3, { 1, 2, 3 } },
                           { 2, 2, 3, { 2 } },
                           { 2, 9, 3, { 2, 3 } } }; // pages that do not exist are not fed
    for (const Case& c : cases) {
        QVector<int> pages;
        QVector<bool> printingFlags;
        engine.setPageCount(c.count);
        ASSERT_TRUE(engine.BeginPreview([&] {
            pages << engine.CurrentPage();
            printingFlags << engine.Printing();
            engine.TextOut(200, 200, QStringLiteral("ページ%1").arg(engine.CurrentPage()));
        }));
        engine.setFromPage(c.from);
        engine.setToPage(c.to);
        QVector<int> printed;
        engine.OnPrint = [&](QObject* sender, int page) {
            EXPECT_EQ(sender, &engine);
            printed << page;
        };
        EXPECT_TRUE(engine.Print()) << c.from << ".." << c.to;
        EXPECT_EQ(pages, c.pages) << c.from << ".." << c.to;
        EXPECT_EQ(printed, c.pages) << "OnPrint after each page";
        EXPECT_EQ(printingFlags, QVector<bool>(c.pages.size(), true));
        EXPECT_FALSE(engine.Printing());
        // The printed page has no painted paper.
        ASSERT_NE(engine.PageMetafile(), nullptr);
        EXPECT_TRUE(engine.PageMetafile()->ofKind(PageOp::Kind::FillRect, true).isEmpty());
    }
    EXPECT_TRUE(log.entries.isEmpty()) << log.texts().join(QLatin1Char('|')).toStdString();
}

TEST_F(EngineTest, AFailedPrintJobEndsPrintingAndReachesTheCaller)
{
    engine.setPageCount(3);
    ASSERT_TRUE(engine.BeginPreview([&] {
        engine.TextOut(200, 200, QStringLiteral("壊れた頁"));
        if (engine.CurrentPage() == 2)
            throw std::runtime_error("page 2 failed");
    }));
    engine.setFromPage(1);
    engine.setToPage(3);
    EXPECT_THROW(engine.Print(), std::runtime_error);
    EXPECT_FALSE(engine.Printing());
    EXPECT_FALSE(SystemPrinter::instance().printing());
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(engine.Canvas(), nullptr);
    // The engine is usable for the next job.
    engine.setToPage(1);
    int calls = 0;
    ASSERT_TRUE(engine.BeginPreview([&] { ++calls; }));
    engine.setFromPage(1);
    engine.setToPage(1);
    EXPECT_TRUE(engine.Print());
    EXPECT_EQ(calls, 1);
}

TEST_F(EngineTest, ShowPreviewFindsTheWindowByName)
{
    TestWindow other(QStringLiteral("plPrevOther"));
    TestWindow window(QStringLiteral("plPrevPost"));
    ASSERT_TRUE(engine.BeginPreview([&] { engine.TextOut(100, 100, QStringLiteral("宛名")); }));

    struct Case { QString formName; bool visible; QString message; bool shown; };
    const Case cases[] = {
        { QString(), false, kNoFormName, false },
        { QStringLiteral("plPrevpost"), false, kNotPreviewForm, false }, // names compare exactly
        { QStringLiteral("plPrevPost"), true, kAlreadyShown, false },
        { QStringLiteral("plPrevPost"), false, QString(), true },
    };
    for (const Case& c : cases) {
        log.entries.clear();
        window.shown = 0;
        window.bound = nullptr;
        window.visible = c.visible;
        engine.setFormName(c.formName);
        engine.setCurrentPage(2);
        const bool ok = engine.ShowPreview();
        EXPECT_EQ(ok, c.shown) << c.formName.toStdString();
        EXPECT_EQ(window.shown, c.shown ? 1 : 0) << c.formName.toStdString();
        EXPECT_EQ(other.shown, 0);
        if (c.message.isEmpty()) {
            EXPECT_TRUE(log.entries.isEmpty());
            EXPECT_EQ(window.bound, &engine);
            EXPECT_EQ(engine.PreviewForm(), &window);
            EXPECT_EQ(engine.CurrentPage(), 1) << "the window opens on page 1";
            ASSERT_NE(window.pageOnShow, nullptr);
            EXPECT_EQ(window.pageOnShow->texts(), QStringList { QStringLiteral("宛名") });
        } else {
            ASSERT_EQ(log.entries.size(), 1) << c.formName.toStdString();
            EXPECT_EQ(log.entries[0].text, c.message);
            EXPECT_EQ(log.entries[0].caption, kCaption);
            EXPECT_EQ(window.bound, nullptr);
        }
    }
}

TEST_F(EngineTest, APictureThatFailsIsReportedOncePerRunAndThePagePrintsWithoutIt)
{
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("stamp-gone.bmp"));
    const QString good = dir.filePath(QStringLiteral("stamp.bmp"));
    QImage img(40, 30, QImage::Format_RGB32);
    img.fill(Qt::blue);
    ASSERT_TRUE(img.save(good, "BMP"));

    engine.setPageCount(3);
    ASSERT_TRUE(engine.BeginPreview([&] {
        engine.DrawImage(100, 300, 100, 250, 1, missing);
        engine.DrawImage(400, 600, 100, 250, 1, good);
        engine.TextOut(100, 400, QStringLiteral("本文"));
    }));
    for (int page = 1; page <= 3; ++page) {
        engine.setCurrentPage(page);
        const PageRecording* rec = engine.RenderPage();
        ASSERT_NE(rec, nullptr);
        const auto images = rec->ofKind(PageOp::Kind::Image);
        ASSERT_EQ(images.size(), 1) << "page " << page;
        EXPECT_EQ(images[0]->fileName, good);
        EXPECT_EQ(images[0]->rect, QRectF(400, 100, 200, 150));
        EXPECT_EQ(rec->texts(), QStringList { QStringLiteral("本文") });
    }
    ASSERT_EQ(log.entries.size(), 1) << log.texts().join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(log.entries[0].text.contains(missing));
    EXPECT_FALSE(log.entries[0].text.contains(good));
    EXPECT_EQ(log.entries[0].caption, kCaption);

    // Printing tells once more, after the job, so the user knows the cards lack the stamp.
    log.entries.clear();
    engine.setFromPage(1);
    engine.setToPage(3);
    EXPECT_TRUE(engine.Print());
    ASSERT_EQ(log.entries.size(), 1);
    EXPECT_TRUE(log.entries[0].text.contains(missing));

    // A new run starts counting again.
    log.entries.clear();
    ASSERT_TRUE(engine.BeginPreview([&] { engine.DrawImage(100, 300, 100, 250, 1, missing); }));
    engine.setCurrentPage(1);
    engine.RenderPage();
    EXPECT_EQ(log.entries.size(), 1);
}

TEST_F(EngineTest, ThePrinterMappingPutsTenthsOfAMillimetreOntoTheSheet)
{
    ASSERT_TRUE(engine.BeginPreview([] { }));
    const double pxPerUnitX = engine.DpiX() / 254.0, pxPerUnitY = engine.DpiY() / 254.0;
    struct Case { int offX, offY; QPointF logical; QPointF device; };
    const Case cases[] = {
        { 0, 0, QPointF(0, 0), QPointF(0, 0) },
        { 0, 0, QPointF(1000, 1480), QPointF(1000 * pxPerUnitX, 1480 * pxPerUnitY) },
        // the first postal box's corner on a postcard: 44.8 mm, 12 mm from the sheet's corner
        { 0, 0, QPointF(448, 120), QPointF(448 * pxPerUnitX, 120 * pxPerUnitY) },
        // positive offsets move the printed page left and up
        { 20, -10, QPointF(20, -10), QPointF(0, 0) },
        { 20, -10, QPointF(448, 120), QPointF(428 * pxPerUnitX, 130 * pxPerUnitY) },
    };
    for (const Case& c : cases) {
        engine.setPrintOffsetX(c.offX);
        engine.setPrintOffsetY(c.offY);
        const QPointF mapped = engine.printerTransform().map(c.logical);
        EXPECT_NEAR(mapped.x(), c.device.x(), 1e-6) << c.offX << "," << c.offY;
        EXPECT_NEAR(mapped.y(), c.device.y(), 1e-6) << c.offX << "," << c.offY;
    }
    // The whole sheet in 0.1 mm lands on the whole sheet in printer pixels (a pixel of rounding).
    engine.setPrintOffsetX(0);
    engine.setPrintOffsetY(0);
    const QPointF corner = engine.printerTransform().map(QPointF(engine.PaperWidth(), engine.PaperHeight()));
    EXPECT_NEAR(corner.x(), engine.PaperWidthPx(), 3);
    EXPECT_NEAR(corner.y(), engine.PaperHeightPx(), 3);
}

TEST_F(EngineTest, ThePrinterSnapshotPutsBackWhatAPrintDialogChanged)
{
    ASSERT_TRUE(engine.SavePrinterSettings());
    const QString snapshot = engine.SettingsFileName();
    const QFileInfo exe(QCoreApplication::applicationFilePath());
    EXPECT_EQ(snapshot, exe.dir().filePath(exe.completeBaseName() + QStringLiteral(".plv")));
    ASSERT_TRUE(QFile::exists(snapshot));
    {
        // A component stream of the form's component with the snapshot's extra end marker.
        QFile f(snapshot);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QByteArray bytes = f.readAll();
        EXPECT_TRUE(bytes.startsWith("TPF0"));
        EXPECT_TRUE(bytes.endsWith(QByteArray(3, '\0')));
        TplSetPrinter reader(QStringLiteral("plSetPrinter1"));
        EXPECT_TRUE(reader.readComponent(bytes));
        EXPECT_EQ(DevMode(reader.DevData()).paperSize(), DevMode::PaperJapanesePostcard);
    }

    // The print dialog puts A4 in force...
    usePaper(*printer, DevMode::PaperA4);
    engine.UpdatePageMetrics();
    EXPECT_NEAR(engine.PaperWidth(), 2100, 2);
    // ...and the snapshot brings the postcard back, for the component and the system printer.
    engine.LoadPrinterSettings();
    EXPECT_NEAR(engine.PaperWidth(), 1000, 2);
    EXPECT_NEAR(engine.PaperHeight(), 1480, 2);
    EXPECT_EQ(printer->PaperName(), QStringLiteral("Postcard"));
    EXPECT_EQ(SystemPrinter::instance().devMode().paperSize(), DevMode::PaperJapanesePostcard);

    // Without the file the component keeps its printer and takes the system printer's state.
    ASSERT_TRUE(QFile::remove(snapshot));
    usePaper(*printer, DevMode::PaperA4);
    engine.LoadPrinterSettings();
    EXPECT_EQ(printer->PrinterName(), CupsTestPrinter::name());
    EXPECT_NEAR(engine.PaperWidth(), 2100, 2);
    EXPECT_TRUE(log.entries.isEmpty());
}

TEST_F(EngineTest, PostalBoxesFollowThePrintersOrientation)
{
    struct Case { int orientation; bool landscape; };
    for (const Case c : { Case { DevMode::OrientationPortrait, false }, Case { DevMode::OrientationLandscape, true } }) {
        usePaper(*printer, DevMode::PaperJapanesePostcard, c.orientation);
        engine.setPlSetPrinter(printer.get());
        ASSERT_EQ(printer->Landscape(), c.landscape);
        ASSERT_TRUE(engine.BeginPreview([&] { engine.DrawPostalCode(QStringLiteral("〒987-6543"), 0, 0, false, 0, 255); }));
        const PageRecording* rec = engine.RenderPage();
        ASSERT_NE(rec, nullptr);
        const auto frames = rec->ofKind(PageOp::Kind::Polyline);
        ASSERT_EQ(frames.size(), 7);
        const QRectF first = frames[0]->points.boundingRect();
        if (c.landscape) {
            // The card lies on its side: 148 mm wide, boxes 8.5 mm wide and 6 mm high.
            EXPECT_NEAR(engine.PageWidth(), 1480, 2);
            EXPECT_EQ(first, QRectF(engine.PageWidth() - 205, engine.PageHeight() - 552, 85, 60));
            EXPECT_EQ(textOps(*rec)[0]->angle, 270);
        } else {
            EXPECT_NEAR(engine.PageWidth(), 1000, 2);
            EXPECT_EQ(first, QRectF(engine.PageWidth() - 552, 120, 60, 85));
            EXPECT_EQ(textOps(*rec)[0]->angle, 0);
        }
        EXPECT_EQ(rec->texts().join(QString()), QStringLiteral("9876543"));
    }
}

TEST_F(EngineTest, AnEngineForgetsAPrinterComponentThatIsDestroyed)
{
    ASSERT_EQ(engine.plSetPrinter(), printer.get());
    printer.reset();
    EXPECT_EQ(engine.plSetPrinter(), nullptr);
    EXPECT_FALSE(engine.BeginPreview([] { }));
    ASSERT_EQ(log.entries.size(), 1);
    EXPECT_EQ(log.entries[0].text, kNoPrinter);
}
