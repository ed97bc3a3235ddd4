// The preview window driven offscreen with a page routine of several pages: its controls,
// appearance, paging, the zoom arithmetic, the mouse, closing, printing a page range to the
// CUPS test printer, copying the page and the window.

#include "PreviewTestSupport.h"
#include "support/CupsTestPrinter.h"

#include "platform/AppPaths.h"
#include "platform/DevMode.h"
#include "platform/PrinterDialogs.h"
#include "platform/SystemPrinter.h"
#include "preview/PageExport.h"
#include "preview/TplPrev.h"
#include "preview/TplSetPrinter.h"
#include "preview/ui/PreviewImage.h"
#include "preview/ui/TplPrevPost.h"
#include "support/PrinterPaper.h"
#include "support/ScriptedPrinterDialogs.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QElapsedTimer>
#include <QFile>
#include <QImageReader>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QProcess>
#include <QProgressDialog>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QWheelEvent>
#include <QtTest/QTest>
#include <gtest/gtest.h>
#include <stdexcept>

using namespace previewtest;

namespace {

const QString kCaption = QStringLiteral("印刷プレビュー制御コンポーネント");

void settle(int ms = 0)
{
    QElapsedTimer t;
    t.start();
    do {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    } while (t.elapsed() < ms);
}

template <class Pred>
bool waitFor(Pred pred, int timeoutMs = 5000)
{
    QElapsedTimer t;
    t.start();
    while (!pred()) {
        if (t.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

QString pageText(int page)
{
    return QStringLiteral("ページ%1").arg(page);
}

class PreviewWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TOVALIN_REQUIRE_TEST_PRINTER();
        printer = std::make_unique<TplSetPrinter>(QStringLiteral("plSetPrinter1"));
        printer->setPrinterName(CupsTestPrinter::name());
        ASSERT_EQ(SystemPrinter::instance().printerName(), CupsTestPrinter::name());
        printerpaper::usePaper(*printer, DevMode::PaperJapanesePostcard);
        ASSERT_EQ(SystemPrinter::instance().devMode().paperSize(), DevMode::PaperJapanesePostcard);
        engine.setPlSetPrinter(printer.get());
        engine.setFormName(QStringLiteral("plPrevPost"));
        engine.setTitle(QStringLiteral("テスト宛名印刷"));
        window = std::make_unique<TplPrevPost>();
        // A printer snapshot of our own: test programs running side by side would otherwise
        // share the one beside the executable.
        ASSERT_TRUE(snapshotDir.isValid());
        AppPaths::setSettingsDirectory(snapshotDir.path());
    }

    void TearDown() override
    {
        if (window)
            window->hide();
        AppPaths::setSettingsDirectory(QString());
    }

    // A page routine of `pages` pages; each page names itself.
    void begin(int pages, int pageWidth = 0, int pageHeight = 0)
    {
        engine.setPageCount(pages);
        if (pageWidth > 0) {
            engine.setPageWidth(pageWidth);
            engine.setPageHeight(pageHeight);
        }
        ASSERT_TRUE(engine.BeginPreview([this] { drawPage(); }));
    }

    void drawPage()
    {
        const int page = engine.CurrentPage();
        recorded << page;
        printingFlags << engine.Printing();
        if (throwOnPage == page || (throwOnPrintedPage == page && engine.Printing()))
            throw std::runtime_error("record is broken");
        if (onDraw)
            onDraw(page);
        engine.SetFontName(QStringLiteral("ＭＳ ゴシック"));
        engine.SetFontSize(28);
        engine.TextOut(150, 200, pageText(page));
        engine.SetPenWidth(5);
        engine.FrameRect(100, 900, 150, 1300);
        engine.SetFontName(QStringLiteral("@ＭＳ 明朝"));
        engine.SetFontSize(20);
        engine.TextVTop(600, 400, 1200, QStringLiteral("東京都千代田区"));
    }

    // Binds and shows the window (not modally) and waits for the first page.
    void show()
    {
        window->Bind(&engine);
        window->show();
        ASSERT_TRUE(waitFor([this] { return image()->hasPage(); })) << "the first page never appeared";
        settle();
    }

    // Makes the viewing area w x h pixels and lets the window re-fit.
    void setViewSize(int w, int h)
    {
        for (int i = 0; i < 3; ++i) {
            const QSize delta = QSize(w, h) - scrollBox()->size();
            if (delta.isNull())
                break;
            window->resize(window->size() + delta);
            settle();
        }
        ASSERT_EQ(scrollBox()->size(), QSize(w, h));
        settle();
    }

    QToolButton* button(const char* name) const { return window->findChild<QToolButton*>(QLatin1String(name)); }
    QScrollArea* scrollBox() const { return window->findChild<QScrollArea*>(QStringLiteral("ScrollBox1")); }
    PreviewImage* image() const { return window->findChild<PreviewImage*>(QStringLiteral("Image1")); }
    QWidget* widget(const char* name) const { return window->findChild<QWidget*>(QLatin1String(name)); }
    QRect imageRect() const { return image()->geometry(); }
    QStringList shownTexts() const { return image()->page().texts(); }

    void click(const char* name)
    {
        QToolButton* b = button(name);
        ASSERT_NE(b, nullptr) << name;
        b->click();
        settle();
    }

    MessageLog log;
    QTemporaryDir snapshotDir;
    std::unique_ptr<TplSetPrinter> printer;
    TplPrev engine;
    std::unique_ptr<TplPrevPost> window;
    QVector<int> recorded;
    QVector<bool> printingFlags;
    int throwOnPage = 0;
    int throwOnPrintedPage = 0;
    std::function<void(int)> onDraw;

    // Pages recorded while printing, and the rest.
    QVector<int> printedPages() const
    {
        QVector<int> pages;
        for (int i = 0; i < recorded.size(); ++i) {
            if (printingFlags[i])
                pages << recorded[i];
        }
        return pages;
    }
    void clearRecorded()
    {
        recorded.clear();
        printingFlags.clear();
    }
};

ScriptedPrinterDialogs::Print printToTestPrinter(bool allPages, int from = 0, int to = 0)
{
    ScriptedPrinterDialogs::Print answer;
    answer.printer.printer = CupsTestPrinter::name();
    answer.allPages = allPages;
    answer.fromPage = from;
    answer.toPage = to;
    return answer;
}

// The PDF CUPS made of a job; empty (after a test failure) when there is none.
QString jobOutput(int jobBefore)
{
    const int job = SystemPrinter::instance().lastJobId();
    EXPECT_GT(job, jobBefore) << "no job reached CUPS";
    if (job <= jobBefore)
        return QString();
    const QString pdf = CupsTestPrinter::outputFile(job);
    EXPECT_FALSE(pdf.isEmpty()) << "no output for job " << job;
    return pdf;
}

} // namespace

// ---- controls and showing -------------------------------------------------------------------------

TEST(PreviewWindowControls, EveryControlWithItsCaptionHintWidthAndInitialState)
{
    TplPrevPost window;
    window.show();
    QCoreApplication::processEvents();
    EXPECT_EQ(window.objectName(), QStringLiteral("plPrevPost"));
    EXPECT_EQ(PreviewWindow::find(QStringLiteral("plPrevPost")), &window);

    struct Case { const char* name; QString caption; QString hint; int width; bool enabled; bool visible; };
    const Case cases[] = {
        { "PrintBtn", QStringLiteral("印刷 (&P)"), QStringLiteral("印刷"), 90, false, true },
        { "PrinterSetBtn", QStringLiteral("プリンタ・用紙"), QStringLiteral("プリンタと用紙の設定保存"), 86, false, false },
        { "FirstPageBtn", QStringLiteral("先頭頁"), QStringLiteral("先頭頁"), 46, false, true },
        { "PriorPageBtn", QStringLiteral("前頁"), QStringLiteral("前頁"), 49, false, true },
        { "NextPageBtn", QStringLiteral("次頁"), QStringLiteral("次頁"), 49, false, true },
        { "LastPageBtn", QStringLiteral("最終頁"), QStringLiteral("最終頁"), 49, false, true },
        { "ZoomDownBtn", QStringLiteral("縮小"), QStringLiteral("縮小"), 49, false, true },
        { "ZoomUpBtn", QStringLiteral("拡大"), QStringLiteral("拡大"), 49, false, true },
        { "PageWholeBtn", QStringLiteral("全体"), QStringLiteral("全体表示"), 49, false, true },
        { "PageWidthBtn", QStringLiteral("頁幅"), QStringLiteral("横幅基準表示"), 49, false, true },
        { "CloseBtn", QStringLiteral("閉じる(&X)"), QStringLiteral("閉じる"), 104, true, true },
    };
    QWidget* bar = window.findChild<QWidget*>(QStringLiteral("IconBar"));
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->height(), 39);
    int previousX = -1;
    for (const Case& c : cases) {
        auto* b = window.findChild<QToolButton*>(QLatin1String(c.name));
        ASSERT_NE(b, nullptr) << c.name;
        EXPECT_EQ(b->parentWidget(), bar) << c.name;
        EXPECT_EQ(b->text(), c.caption) << c.name;
        EXPECT_EQ(b->toolTip(), c.hint) << c.name;
        EXPECT_EQ(b->width(), c.width) << c.name;
        EXPECT_EQ(b->height(), 40) << c.name;
        EXPECT_EQ(b->toolButtonStyle(), Qt::ToolButtonTextUnderIcon) << c.name;
        EXPECT_FALSE(b->icon().isNull()) << c.name;
        EXPECT_EQ(b->isEnabled(), c.enabled) << c.name;
        EXPECT_EQ(!b->isHidden(), c.visible) << c.name;
        if (c.visible) {
            EXPECT_GT(b->x(), previousX) << c.name << " is out of order";
            previousX = b->x();
        }
    }
    for (const char* spacer : { "Space10", "Space20", "Space30" }) {
        QWidget* w = window.findChild<QWidget*>(QLatin1String(spacer));
        ASSERT_NE(w, nullptr) << spacer;
        EXPECT_TRUE(w->isHidden()) << spacer;
    }

    auto* status = window.findChild<QStatusBar*>(QStringLiteral("StatusBar"));
    ASSERT_NE(status, nullptr);
    EXPECT_EQ(status->height(), 26);
    EXPECT_EQ(window.findChild<QLabel*>(QStringLiteral("StatusBarPanel0"))->width(), 300);
    EXPECT_EQ(window.findChild<QLabel*>(QStringLiteral("StatusBarPanel1"))->width(), 50);

    // Inside the scroll box, from bottom to top: shadow, page, frame.
    auto* box = window.findChild<QScrollArea*>(QStringLiteral("ScrollBox1"));
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->parentWidget()->objectName(), QStringLiteral("DisplayPanel"));
    QStringList stacking;
    for (QObject* child : box->widget()->children())
        stacking << child->objectName();
    EXPECT_EQ(stacking, (QStringList { QStringLiteral("Shape2"), QStringLiteral("Image1"), QStringLiteral("Shape1") }));
    EXPECT_TRUE(window.findChild<QWidget*>(QStringLiteral("Shape1"))->isHidden());
    EXPECT_TRUE(window.findChild<QWidget*>(QStringLiteral("Shape2"))->isHidden());

    auto* menu = window.findChild<QMenu*>(QStringLiteral("PopupMenu1"));
    ASSERT_NE(menu, nullptr);
    QStringList items;
    for (QAction* a : menu->actions()) {
        if (!a->isSeparator())
            items << a->text();
    }
    EXPECT_EQ(items, (QStringList { QStringLiteral("現在の頁をコピー"), QStringLiteral("画面をコピー"),
                                    QStringLiteral("画面ハードコピー"), QStringLiteral("キャンセル") }));
    EXPECT_EQ(window.minimumSize(), QSize(300, 300));
}

TEST(PreviewWindowControls, ShownWithoutAnEngineItOnlySaysSo)
{
    MessageLog log;
    TplPrevPost window;
    window.setResult(7);
    EXPECT_EQ(window.ShowModal(), 7);
    EXPECT_FALSE(window.isVisible());
    ASSERT_EQ(log.entries.size(), 1);
    EXPECT_EQ(log.entries[0].kind, QStringLiteral("exclamation"));
    EXPECT_EQ(log.entries[0].text, QStringLiteral("プレビューフォームの直接表示はサポートしていません．　　"));
    EXPECT_EQ(log.entries[0].caption, kCaption);
}

TEST_F(PreviewWindowTest, TheEngineShowsTheWindowModallyOnPageOneAndClosingReturns)
{
    begin(4);
    engine.setFormWindowState(TplPrev::fwWorkArea);
    engine.setCurrentPage(3);
    QString statusOnShow;
    QStringList textsOnShow;
    bool modal = false;
    QTimer::singleShot(0, window.get(), [&] {
        waitFor([&] { return image()->hasPage(); });
        settle();
        modal = window->isModal() && QApplication::activeModalWidget() == window.get();
        statusOnShow = window->statusText(0);
        textsOnShow = shownTexts();
        click("CloseBtn");
    });
    EXPECT_TRUE(engine.ShowPreview());
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(modal);
    EXPECT_EQ(engine.PreviewForm(), window.get());
    EXPECT_EQ(window->Engine(), &engine);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("テスト宛名印刷"));
    EXPECT_TRUE(textsOnShow.contains(pageText(1)));
    EXPECT_TRUE(statusOnShow.startsWith(QStringLiteral(" Page  1/4  "))) << statusOnShow.toStdString();
    EXPECT_EQ(recorded, QVector<int> { 1 }) << "page 1 is recorded once on appearance";
    EXPECT_TRUE(log.entries.isEmpty()) << log.texts().join(QLatin1Char('|')).toStdString();
}

TEST_F(PreviewWindowTest, BindTakesTheEnginesWindowSettings)
{
    begin(2);
    QScreen* screen = QGuiApplication::primaryScreen();
    const QRect work = screen->availableGeometry();

    struct Case {
        TplPrev::TFormWindowState state;
        TplPrev::TPosition position;
        QRect bounds;            // FormLeft, FormTop, FormWidth, FormHeight
        QRect expected;          // empty: not checked
        Qt::WindowStates windowState;
        bool resizable;
    };
    const Case cases[] = {
        { TplPrev::fwWorkArea, TplPrev::poDefault, QRect(20, 20, 400, 300), work, Qt::WindowNoState, true },
        { TplPrev::fwFullScreen, TplPrev::poDefault, QRect(20, 20, 400, 300), screen->geometry(), Qt::WindowNoState, false },
        { TplPrev::fwNormal, TplPrev::poDesigned, QRect(30, 40, 500, 350), QRect(30, 40, 500, 350), Qt::WindowNoState, true },
        // The default size (one and a half screens) is kept inside the work area.
        { TplPrev::fwNormal, TplPrev::poDesigned, QRect(20, 20, work.width() * 3 / 2, work.height() * 3 / 2),
          QRect(20, 20, work.width(), work.height()), Qt::WindowNoState, true },
        { TplPrev::fwMaximized, TplPrev::poDesigned, QRect(30, 40, 500, 350), QRect(), Qt::WindowMaximized, true },
        { TplPrev::fwMinimized, TplPrev::poDesigned, QRect(30, 40, 500, 350), QRect(), Qt::WindowMinimized, true },
    };
    for (const Case& c : cases) {
        engine.setFormWindowState(c.state);
        engine.setFormPosition(c.position);
        engine.setFormLeft(c.bounds.left());
        engine.setFormTop(c.bounds.top());
        engine.setFormWidth(c.bounds.width());
        engine.setFormHeight(c.bounds.height());
        window->Bind(&engine);
        if (!c.expected.isEmpty()) {
            EXPECT_EQ(window->geometry(), c.expected) << int(c.state);
        }
        EXPECT_EQ(window->windowState(), c.windowState) << int(c.state);
        EXPECT_EQ(window->minimumSize() != window->maximumSize(), c.resizable) << int(c.state);
        EXPECT_EQ(window->findChild<QStatusBar*>(QStringLiteral("StatusBar"))->isSizeGripEnabled(), c.resizable);
    }

    // Bars, caption and the resize switch.
    engine.setFormWindowState(TplPrev::fwNormal);
    engine.setFormStatusBar(false);
    engine.setFormIconBar(false);
    engine.setFormCanResize(false);
    engine.setTitle(QString());
    window->Bind(&engine);
    EXPECT_TRUE(widget("StatusBar")->isHidden());
    EXPECT_TRUE(widget("IconBar")->isHidden());
    EXPECT_EQ(window->minimumSize(), window->maximumSize()) << "FormCanResize False forbids resizing";
    EXPECT_FALSE(window->findChild<QStatusBar*>(QStringLiteral("StatusBar"))->isSizeGripEnabled());
    EXPECT_EQ(engine.Title(), QStringLiteral("印刷プレビュー"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("印刷プレビュー"));

    // The next binding puts resizing back; a visible window refuses a new binding.
    engine.setFormCanResize(true);
    engine.setFormStatusBar(true);
    engine.setFormIconBar(true);
    window->Bind(&engine);
    EXPECT_EQ(window->minimumSize(), QSize(300, 300));
    TplPrev other;
    show();
    window->Bind(&other);
    EXPECT_EQ(window->Engine(), &engine);
}

TEST_F(PreviewWindowTest, AWindowThatCannotMoveGoesBackWhereItAppeared)
{
    begin(1);
    engine.setFormWindowState(TplPrev::fwNormal);
    engine.setFormPosition(TplPrev::poDesigned);
    engine.setFormLeft(50);
    engine.setFormTop(60);
    engine.setFormWidth(500);
    engine.setFormHeight(400);
    for (bool canMove : { true, false }) {
        engine.setFormCanMove(canMove);
        show();
        const QPoint start = window->pos();
        window->move(start + QPoint(40, 30));
        settle(50);
        EXPECT_EQ(window->pos(), canMove ? start + QPoint(40, 30) : start) << canMove;
        window->hide();
    }
}

// ---- paging ------------------------------------------------------------------------------------------------

TEST_F(PreviewWindowTest, ButtonsAndStatusOnFirstMiddleAndLastPage)
{
    begin(5, 1000, 1480);
    show();
    const QString paper = printer->PaperName();
    ASSERT_FALSE(paper.isEmpty());

    struct Case { const char* action; int page; bool first, prior, next, last; };
    const Case cases[] = {
        { nullptr, 1, false, false, true, true },
        { "NextPageBtn", 2, true, true, true, true },
        { "LastPageBtn", 5, true, true, false, false },
        { "NextPageBtn", 5, true, true, false, false },  // nothing beyond the last page
        { "PriorPageBtn", 4, true, true, true, true },
        { "FirstPageBtn", 1, false, false, true, true },
        { "PriorPageBtn", 1, false, false, true, true },
    };
    for (const Case& c : cases) {
        if (c.action)
            click(c.action);
        const std::string where = std::string(c.action ? c.action : "shown") + " -> " + std::to_string(c.page);
        EXPECT_EQ(engine.CurrentPage(), c.page) << where;
        EXPECT_TRUE(shownTexts().contains(pageText(c.page))) << where;
        EXPECT_EQ(button("FirstPageBtn")->isEnabled(), c.first) << where;
        EXPECT_EQ(button("PriorPageBtn")->isEnabled(), c.prior) << where;
        EXPECT_EQ(button("NextPageBtn")->isEnabled(), c.next) << where;
        EXPECT_EQ(button("LastPageBtn")->isEnabled(), c.last) << where;
        for (const char* always : { "PrintBtn", "PrinterSetBtn", "ZoomDownBtn", "ZoomUpBtn", "PageWholeBtn", "PageWidthBtn" })
            EXPECT_TRUE(button(always)->isEnabled()) << always << " " << where;
        EXPECT_EQ(window->statusText(0),
                  QStringLiteral(" Page  %1/5  ").arg(c.page) + paper + QStringLiteral(" ( 100.0 x 148.0 mm )"))
            << where;
    }
    // Buttons that do nothing do not record: page 1 on showing, then 2, 5, 4, 1.
    EXPECT_EQ(recorded, (QVector<int> { 1, 2, 5, 4, 1 }));
}

TEST_F(PreviewWindowTest, StatusGivesThePageSizeInMillimetresWithOneDecimal)
{
    struct Case { int width, height; QString size; };
    const Case cases[] = {
        { 1000, 1480, QStringLiteral("( 100.0 x 148.0 mm )") },
        { 2100, 2970, QStringLiteral("( 210.0 x 297.0 mm )") },
        { 999, 1481, QStringLiteral("( 99.9 x 148.1 mm )") },
        { 55, 91, QStringLiteral("( 5.5 x 9.1 mm )") },
    };
    for (const Case& c : cases) {
        begin(3, c.width, c.height);
        show();
        EXPECT_TRUE(window->statusText(0).endsWith(QStringLiteral("  ") + printer->PaperName() + QLatin1Char(' ') + c.size))
            << window->statusText(0).toStdString();
        window->hide();
    }
}

TEST_F(PreviewWindowTest, WithOnePageAllNavigationStaysDisabled)
{
    begin(1);
    show();
    for (const char* name : { "FirstPageBtn", "PriorPageBtn", "NextPageBtn", "LastPageBtn" }) {
        EXPECT_FALSE(button(name)->isEnabled()) << name;
        click(name);
    }
    EXPECT_EQ(recorded, QVector<int> { 1 });
    EXPECT_TRUE(window->statusText(0).startsWith(QStringLiteral(" Page  1/1  ")));
}

TEST_F(PreviewWindowTest, APageRoutineThatThrowsIsReportedAndTheWindowStaysUsable)
{
    begin(4);
    throwOnPage = 2;
    show();
    click("NextPageBtn");
    ASSERT_EQ(log.entries.size(), 1);
    EXPECT_EQ(log.entries[0].kind, QStringLiteral("exclamation"));
    EXPECT_EQ(log.entries[0].caption, kCaption);
    EXPECT_TRUE(log.entries[0].text.contains(QStringLiteral("record is broken"))) << log.entries[0].text.toStdString();
    EXPECT_FALSE(image()->hasPage()) << "a half-drawn page is not shown";
    EXPECT_TRUE(window->statusText(0).startsWith(QStringLiteral(" Page  2/4  ")));
    EXPECT_TRUE(button("NextPageBtn")->isEnabled());
    EXPECT_TRUE(button("PriorPageBtn")->isEnabled());
    click("NextPageBtn");
    EXPECT_EQ(engine.CurrentPage(), 3);
    EXPECT_TRUE(shownTexts().contains(pageText(3)));
    EXPECT_EQ(log.entries.size(), 1);
}

TEST_F(PreviewWindowTest, TheEnginesViewEventsComeFromTheWindowWithTheCurrentPage)
{
    begin(3);
    QVector<QPair<QObject*, int>> afterView;
    QVector<QPair<QObject*, int>> resized;
    engine.OnAfterView = [&](QObject* sender, int page) { afterView << qMakePair(sender, page); };
    engine.OnResize = [&](QObject* sender, int page) { resized << qMakePair(sender, page); };
    show();
    click("NextPageBtn");
    ASSERT_GE(afterView.size(), 2);
    EXPECT_EQ(afterView.first(), qMakePair(static_cast<QObject*>(window.get()), 1));
    EXPECT_EQ(afterView.last(), qMakePair(static_cast<QObject*>(window.get()), 2));
    resized.clear();
    click("ZoomUpBtn");
    ASSERT_FALSE(resized.isEmpty()) << "placing frame and shadow reports the resize";
    EXPECT_EQ(resized.last(), qMakePair(static_cast<QObject*>(window.get()), 2));
}

TEST_F(PreviewWindowTest, ZoomingReplaysTheRecordingWithoutRunningThePageRoutine)
{
    begin(3);
    show();
    recorded.clear();
    for (const char* name : { "ZoomUpBtn", "ZoomUpBtn", "ZoomDownBtn", "PageWidthBtn", "PageWholeBtn" })
        click(name);
    EXPECT_TRUE(recorded.isEmpty());
    const QImage shot = image()->grab().toImage();
    EXPECT_FALSE(inkBox(shot, shot.rect()).isEmpty()) << "the page shows its ink";
}

// ---- zoom -----------------------------------------------------------------------------------------------

TEST_F(PreviewWindowTest, WholePageFitsByHeightOrByWidth)
{
    struct Case { int pageW, pageH, viewW, viewH; QRect image; };
    const Case cases[] = {
        { 1000, 1480, 600, 400, QRect(175, 15, 250, 370) }, // taller than the view: by height
        { 2970, 2100, 600, 500, QRect(15, 48, 570, 403) },  // wider: by width
        { 1000, 1480, 300, 500, QRect(15, 50, 270, 399) },
    };
    for (const Case& c : cases) {
        begin(2, c.pageW, c.pageH);
        show();
        setViewSize(c.viewW, c.viewH);
        click("PageWholeBtn");
        EXPECT_EQ(engine.ZoomType(), TplPrev::ztWholePage);
        EXPECT_EQ(imageRect(), c.image) << c.viewW << "x" << c.viewH;
        EXPECT_EQ(window->imagePlacement(), c.image);
        const QRect r = c.image;
        EXPECT_EQ(widget("Shape2")->geometry(), QRect(r.left() + 2, r.top() + 2, r.width() + 2, r.height() + 2));
        EXPECT_EQ(widget("Shape1")->geometry(), QRect(r.left() - 1, r.top() - 1, r.width() + 1, r.height() + 1));
        EXPECT_TRUE(widget("Shape1")->isVisible());
        EXPECT_TRUE(widget("Shape2")->isVisible());
        EXPECT_EQ(scrollBox()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        EXPECT_EQ(scrollBox()->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        EXPECT_TRUE(button("ZoomUpBtn")->isEnabled());
        EXPECT_TRUE(button("ZoomDownBtn")->isEnabled());
        window->hide();
    }
}

TEST_F(PreviewWindowTest, PageWidthLeavesRoomForTheVerticalScrollBar)
{
    begin(2, 1000, 1480);
    show();
    setViewSize(500, 350);
    click("PageWidthBtn");
    EXPECT_EQ(engine.ZoomType(), TplPrev::ztPageWidth);
    QScrollBar* vbar = scrollBox()->verticalScrollBar();
    EXPECT_TRUE(vbar->isVisible());
    EXPECT_FALSE(scrollBox()->horizontalScrollBar()->isVisible());
    const int client = scrollBox()->viewport()->width();
    EXPECT_LT(client, 500 - vbar->width() + 1);
    EXPECT_EQ(imageRect(), QRect(15, 15, client - 30, int((client - 30) * 1.48)));
    // The page can be scrolled to its foot, with the margin below the shadow.
    EXPECT_EQ(scrollBox()->widget()->height(), 15 + imageRect().height() + 4 + 10);

    // A short wide page needs no scroll bar and takes the whole width.
    window->hide();
    begin(2, 2970, 1000);
    show();
    setViewSize(500, 350);
    click("PageWidthBtn");
    EXPECT_FALSE(vbar->isVisible());
    EXPECT_EQ(imageRect().width(), scrollBox()->viewport()->width() - 30);
}

TEST_F(PreviewWindowTest, ZoomOutStepsByNineTenthsAndStopsAtOneHundredPixels)
{
    begin(2, 1000, 1480);
    show();
    setViewSize(600, 400);
    click("PageWholeBtn");
    ASSERT_EQ(imageRect(), QRect(175, 15, 250, 370));
    const QVector<QSize> steps = { { 225, 333 }, { 202, 298 }, { 181, 267 }, { 162, 239 }, { 145, 214 },
                                   { 130, 192 }, { 117, 173 }, { 105, 155 }, { 94, 139 } };
    for (const QSize& s : steps) {
        click("ZoomDownBtn");
        EXPECT_EQ(imageRect().size(), s);
        EXPECT_EQ(imageRect().topLeft(), QPoint(175, 15)) << "the page keeps its corner";
        EXPECT_TRUE(button("ZoomDownBtn")->isEnabled()) << s.width();
    }
    EXPECT_EQ(engine.ZoomType(), TplPrev::ztOther);
    EXPECT_EQ(scrollBox()->verticalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
    click("ZoomDownBtn");
    EXPECT_EQ(imageRect().size(), QSize(94, 139));
    EXPECT_FALSE(button("ZoomDownBtn")->isEnabled());
    // Whole page brings both zoom buttons back.
    click("PageWholeBtn");
    EXPECT_TRUE(button("ZoomDownBtn")->isEnabled());
    EXPECT_EQ(imageRect(), QRect(175, 15, 250, 370));
}

TEST_F(PreviewWindowTest, ZoomInStepsByTenNinthsUpToTwiceTheScreenWidthOrThriceItsHeight)
{
    const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
    ASSERT_EQ(screen, QSize(800, 800)) << "the limits below are worked out for the offscreen screen";
    struct Case { int pageW, pageH; QVector<int> widths; QSize last; };
    const Case cases[] = {
        // A postcard stops at twice the screen width (1600).
        { 1000, 1480, { 277, 307, 341, 378, 420, 466, 517, 574, 637, 707, 785, 872, 968, 1075, 1194, 1326, 1473, 1636 },
          QSize(1636, 2421) },
        // A tall strip stops at three screen heights (2400).
        { 1000, 4000, { 102, 113, 125, 138, 153, 170, 188, 208, 231, 256, 284, 315, 350, 388, 431, 478, 531, 590, 655 },
          QSize(655, 2620) },
    };
    for (const Case& c : cases) {
        begin(2, c.pageW, c.pageH);
        show();
        setViewSize(600, 400);
        click("PageWholeBtn");
        const double ratio = double(c.pageH) / c.pageW;
        for (int w : c.widths) {
            click("ZoomUpBtn");
            EXPECT_EQ(imageRect().width(), w);
            EXPECT_EQ(imageRect().height(), int(w * ratio));
            EXPECT_TRUE(button("ZoomUpBtn")->isEnabled()) << w;
        }
        click("ZoomUpBtn");
        EXPECT_EQ(imageRect().size(), c.last);
        EXPECT_FALSE(button("ZoomUpBtn")->isEnabled());
        EXPECT_TRUE(button("ZoomDownBtn")->isEnabled());
        EXPECT_TRUE(scrollBox()->verticalScrollBar()->isVisible());
        window->hide();
    }

    begin(2, 1000, 1480);
    show();
    setViewSize(600, 400);
    // Out then in need not come back to the same width.
    click("PageWholeBtn");
    click("ZoomUpBtn");
    ASSERT_EQ(imageRect().width(), 277);
    click("ZoomDownBtn");
    EXPECT_EQ(imageRect().width(), 249);
    click("ZoomUpBtn");
    EXPECT_EQ(imageRect().width(), 276);
}

TEST_F(PreviewWindowTest, ResizingRefitsOnlyWholePageAndPageWidth)
{
    begin(2, 1000, 1480);
    show();
    setViewSize(600, 400);
    click("PageWholeBtn");
    setViewSize(300, 500);
    EXPECT_EQ(imageRect(), QRect(15, 50, 270, 399)) << "whole page follows the window";

    click("PageWidthBtn");
    const int before = imageRect().width();
    setViewSize(450, 500);
    EXPECT_EQ(imageRect().width(), scrollBox()->viewport()->width() - 30) << "page width follows the window";
    EXPECT_GT(imageRect().width(), before);

    click("ZoomUpBtn");
    const QRect zoomed = imageRect();
    setViewSize(600, 400);
    EXPECT_EQ(imageRect(), zoomed) << "a zoomed page keeps its size";
    recorded.clear();
    setViewSize(500, 450);
    EXPECT_TRUE(recorded.isEmpty());
}

// ---- mouse ------------------------------------------------------------------------------------------------

TEST_F(PreviewWindowTest, TheWheelScrollsByAFifthOfItsDelta)
{
    begin(2, 1000, 1480);
    show();
    setViewSize(500, 300);
    click("PageWidthBtn");
    QScrollBar* vbar = scrollBox()->verticalScrollBar();
    ASSERT_GT(vbar->maximum(), 200);

    struct Case { QWidget* target; int delta; int from; int to; };
    const Case cases[] = {
        { scrollBox()->viewport(), 120, 100, 76 },   // away from the user: towards the top
        { scrollBox()->viewport(), -120, 100, 124 },
        { image(), -240, 100, 148 },                 // over the page
        { widget("StatusBar"), 120, 100, 76 },       // elsewhere over the window
        { button("NextPageBtn"), 120, 100, 76 },
        { scrollBox()->viewport(), 7, 100, 99 },     // 7 div 5 = 1
        { scrollBox()->viewport(), 600, 100, 0 },    // not beyond the top
    };
    for (const Case& c : cases) {
        vbar->setValue(c.from);
        const QPointF pos(5, 5);
        QWheelEvent wheel(pos, c.target->mapToGlobal(pos), QPoint(), QPoint(0, c.delta), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(c.target, &wheel);
        EXPECT_EQ(vbar->value(), c.to) << c.target->objectName().toStdString() << " " << c.delta;
        EXPECT_TRUE(wheel.isAccepted());
    }
}

TEST_F(PreviewWindowTest, TheRightButtonOnThePageOpensThePopupMenu)
{
    begin(2);
    show();
    auto* menu = window->findChild<QMenu*>(QStringLiteral("PopupMenu1"));
    QTest::mouseClick(image(), Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
    settle();
    EXPECT_FALSE(menu->isVisible()) << "the left button does nothing";
    QTest::mousePress(image(), Qt::RightButton, Qt::NoModifier, QPoint(20, 30));
    settle();
    EXPECT_TRUE(menu->isVisible());
    EXPECT_LE((menu->pos() - image()->mapToGlobal(QPoint(20, 30))).manhattanLength(), 2);
    // "キャンセル" only closes the menu.
    QAction* cancel = menu->findChild<QAction*>(QStringLiteral("CancelItem"));
    ASSERT_NE(cancel, nullptr);
    const int messagesBefore = log.entries.size();
    const QString clipboardBefore = QGuiApplication::clipboard()->text();
    QTest::mouseClick(menu, Qt::LeftButton, Qt::NoModifier, menu->actionGeometry(cancel).center());
    settle();
    EXPECT_FALSE(menu->isVisible());
    EXPECT_EQ(log.entries.size(), messagesBefore);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), clipboardBefore);
}

// ---- closing -----------------------------------------------------------------------------------------------

TEST_F(PreviewWindowTest, ClosingOnlyHidesAndDeletesThePrinterSnapshot)
{
    begin(3);
    int closed = 0;
    QObject* sender = nullptr;
    engine.OnClose = [&](QObject* s) {
        ++closed;
        sender = s;
    };
    struct Case { bool closeButton; bool snapshot; };
    const Case cases[] = { { true, true }, { false, true }, { true, false } };
    int expectedCloses = 0;
    for (const Case& c : cases) {
        show();
        EXPECT_EQ(engine.CurrentPage(), 1) << "every showing starts on page 1";
        click("NextPageBtn");
        if (c.snapshot) {
            ASSERT_TRUE(engine.SavePrinterSettings());
            ASSERT_TRUE(engine.SettingsFileName().startsWith(snapshotDir.path()));
            ASSERT_TRUE(QFile::exists(engine.SettingsFileName()));
        }
        if (c.closeButton)
            click("CloseBtn");
        else
            window->close(); // the window's close box
        settle();
        ++expectedCloses;
        EXPECT_FALSE(window->isVisible());
        EXPECT_FALSE(QFile::exists(engine.SettingsFileName())) << c.closeButton;
        EXPECT_EQ(closed, expectedCloses);
        EXPECT_EQ(sender, window.get());
        EXPECT_EQ(window->Engine(), &engine) << "the window is kept for the next run";
    }
    EXPECT_TRUE(log.entries.isEmpty()) << log.texts().join(QLatin1Char('|')).toStdString();
}

// ---- printing ----------------------------------------------------------------------------------------------

TEST_F(PreviewWindowTest, PrintingAPageRangeWithSwappedBoundsReachesTheTestPrinterInAscendingOrder)
{
    begin(5);
    show();
    click("NextPageBtn");
    click("NextPageBtn");
    ASSERT_EQ(engine.CurrentPage(), 3);
    ScriptedPrinterDialogs dialogs;
    dialogs.answerPrint(printToTestPrinter(false, 4, 2));
    const int jobBefore = SystemPrinter::instance().lastJobId();
    clearRecorded();
    click("PrintBtn");

    ASSERT_EQ(dialogs.requests().size(), 1);
    const PrintRange& proposed = dialogs.requests()[0].range;
    EXPECT_TRUE(proposed.pageRangeEnabled);
    EXPECT_EQ(proposed.fromPage, 3);
    EXPECT_EQ(proposed.toPage, 3);
    EXPECT_EQ(proposed.minPage, 1);
    EXPECT_EQ(proposed.maxPage, 5);

    EXPECT_EQ(printedPages(), (QVector<int> { 2, 3, 4 }));
    EXPECT_EQ(recorded.last(), 3) << "the remembered page is shown again";
    EXPECT_FALSE(printingFlags.last());
    EXPECT_EQ(engine.FromPage(), 4);
    EXPECT_EQ(engine.ToPage(), 2);
    EXPECT_EQ(engine.CurrentPage(), 3);
    EXPECT_TRUE(shownTexts().contains(pageText(3)));
    EXPECT_TRUE(button("PrintBtn")->isEnabled());
    EXPECT_TRUE(log.entries.isEmpty()) << log.texts().join(QLatin1Char('|')).toStdString();

    const QString pdf = jobOutput(jobBefore);
    if (pdf.isEmpty())
        return;
    EXPECT_EQ(CupsTestPrinter::pdfInfo(pdf).pages, 3);
    const QString text = CupsTestPrinter::pdfText(pdf);
    const int p2 = text.indexOf(pageText(2));
    const int p3 = text.indexOf(pageText(3));
    const int p4 = text.indexOf(pageText(4));
    EXPECT_GE(p2, 0) << text.toStdString();
    EXPECT_GT(p3, p2);
    EXPECT_GT(p4, p3);
    EXPECT_FALSE(text.contains(pageText(1)));
    EXPECT_FALSE(text.contains(pageText(5)));
    CupsTestPrinter::removeOutput(pdf);
}

TEST_F(PreviewWindowTest, PrintingAllPagesStartsAtPageOneAndShowsTheRememberedPageAfterwards)
{
    begin(4);
    show();
    click("NextPageBtn");
    ScriptedPrinterDialogs dialogs;
    dialogs.answerPrint(printToTestPrinter(true));
    clearRecorded();
    click("PrintBtn");
    EXPECT_EQ(printedPages(), (QVector<int> { 1, 2, 3, 4 }));
    EXPECT_EQ(engine.FromPage(), 1);
    EXPECT_EQ(engine.ToPage(), 4);
    EXPECT_EQ(engine.CurrentPage(), 2);
    EXPECT_TRUE(shownTexts().contains(pageText(2)));
    EXPECT_TRUE(log.entries.isEmpty()) << log.texts().join(QLatin1Char('|')).toStdString();
}

TEST_F(PreviewWindowTest, ACancelledPrintDialogLeavesTheRangeAtZeroAndPrintsNothing)
{
    begin(3);
    show();
    ScriptedPrinterDialogs dialogs;
    ScriptedPrinterDialogs::Print cancel;
    cancel.ok = false;
    dialogs.answerPrint(cancel);
    const int jobBefore = SystemPrinter::instance().lastJobId();
    clearRecorded();
    click("PrintBtn");
    EXPECT_EQ(dialogs.requests().size(), 1);
    EXPECT_EQ(engine.FromPage(), 0);
    EXPECT_EQ(engine.ToPage(), 0);
    EXPECT_TRUE(recorded.isEmpty());
    EXPECT_EQ(SystemPrinter::instance().lastJobId(), jobBefore);
    EXPECT_TRUE(button("PrintBtn")->isEnabled());
    EXPECT_TRUE(QFile::exists(engine.SettingsFileName())) << "the snapshot is left as written";

    // The next print sets the range again.
    dialogs.answerPrint(printToTestPrinter(false, 2, 3));
    click("PrintBtn");
    EXPECT_EQ(printedPages(), (QVector<int> { 2, 3 }));
    EXPECT_EQ(engine.FromPage(), 2);
    EXPECT_EQ(engine.ToPage(), 3);
}

TEST_F(PreviewWindowTest, ThePrinterSettingsChosenForPrintingAreUndoneAfterwards)
{
    begin(2);
    show();
    const QString postcardName = printer->PaperName();
    const int postcardWidth = engine.PaperWidth();
    ScriptedPrinterDialogs dialogs;
    ScriptedPrinterDialogs::Print a4 = printToTestPrinter(true);
    a4.printer.paper = DevMode::PaperA4;
    dialogs.answerPrint(a4);
    const int jobBefore = SystemPrinter::instance().lastJobId();
    click("PrintBtn");
    EXPECT_EQ(printer->PaperName(), postcardName);
    EXPECT_EQ(engine.PaperWidth(), postcardWidth);
    EXPECT_EQ(SystemPrinter::instance().devMode().paperSize(), DevMode::PaperJapanesePostcard);
    const QString pdf = jobOutput(jobBefore);
    if (pdf.isEmpty())
        return;
    const CupsTestPrinter::PdfInfo info = CupsTestPrinter::pdfInfo(pdf);
    EXPECT_EQ(info.pages, 2);
    EXPECT_NEAR(info.pageSizePt.width(), 595, 2) << "printed on the paper chosen in the dialog";
    EXPECT_NEAR(info.pageSizePt.height(), 842, 2);
    CupsTestPrinter::removeOutput(pdf);
}

TEST_F(PreviewWindowTest, APageThatFailsWhilePrintingIsReportedAfterTheRestoreSteps)
{
    begin(4);
    show();
    click("NextPageBtn");
    throwOnPrintedPage = 3;
    ScriptedPrinterDialogs dialogs;
    ScriptedPrinterDialogs::Print a4 = printToTestPrinter(false, 2, 4);
    a4.printer.paper = DevMode::PaperA4;
    dialogs.answerPrint(a4);
    const int jobBefore = SystemPrinter::instance().lastJobId();
    clearRecorded();
    click("PrintBtn");
    ASSERT_EQ(log.entries.size(), 1);
    EXPECT_TRUE(log.entries[0].text.contains(QStringLiteral("record is broken")));
    EXPECT_EQ(printedPages(), (QVector<int> { 2, 3 }));
    EXPECT_FALSE(engine.Printing());
    EXPECT_FALSE(SystemPrinter::instance().printing());
    EXPECT_EQ(SystemPrinter::instance().lastJobId(), jobBefore) << "a failed job is withdrawn";
    EXPECT_EQ(engine.CurrentPage(), 2);
    EXPECT_TRUE(shownTexts().contains(pageText(2)));
    EXPECT_EQ(SystemPrinter::instance().devMode().paperSize(), DevMode::PaperJapanesePostcard);
    EXPECT_TRUE(button("PrintBtn")->isEnabled());
    click("NextPageBtn");
    EXPECT_TRUE(shownTexts().contains(pageText(3)));
}

TEST_F(PreviewWindowTest, ALongPrintRunShowsItsProgressAndCanBeStopped)
{
    begin(3);
    show();
    QString label;
    bool windowBlocked = false;
    onDraw = [&](int page) {
        if (!engine.Printing() || page != 2)
            return;
        auto* progress = window->findChild<QProgressDialog*>(QStringLiteral("PrintProgress"));
        if (!progress)
            return;
        label = progress->labelText();
        windowBlocked = QApplication::activeModalWidget() == progress || progress->windowModality() != Qt::NonModal;
        progress->cancel();
    };
    ScriptedPrinterDialogs dialogs;
    dialogs.answerPrint(printToTestPrinter(true));
    const int jobBefore = SystemPrinter::instance().lastJobId();
    clearRecorded();
    click("PrintBtn");
    EXPECT_EQ(label, QStringLiteral("印刷中です．　1 / 3 頁"));
    EXPECT_TRUE(windowBlocked);
    EXPECT_EQ(printedPages(), (QVector<int> { 1, 2 })) << "the run stops after the page in progress";
    EXPECT_EQ(SystemPrinter::instance().lastJobId(), jobBefore) << "a stopped run sends nothing";
    EXPECT_FALSE(engine.Printing());
    EXPECT_TRUE(log.entries.isEmpty()) << log.texts().join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(engine.CurrentPage(), 1);
    EXPECT_TRUE(button("PrintBtn")->isEnabled());
}

namespace {

// A print dialog after which the printer is gone: the scheduler is out of reach.
class VanishingPrinterDialogs final : public PrinterDialogs {
public:
    VanishingPrinterDialogs() { PrinterDialogs::setCurrent(this); }
    ~VanishingPrinterDialogs() override { PrinterDialogs::setCurrent(nullptr); }
    bool printerSetup(QWidget*) override { return false; }
    bool print(PrintRange& range, QWidget*) override
    {
        range.allPages = true;
        gone = std::make_unique<ScopedCupsServer>(QStringLiteral("127.0.0.1:9"));
        return true;
    }
    std::unique_ptr<ScopedCupsServer> gone;
};

} // namespace

TEST_F(PreviewWindowTest, APrinterThatDisappearedGivesAClearMessageAndNothingHangs)
{
    begin(2);
    show();
    QElapsedTimer timer;
    timer.start();
    {
        VanishingPrinterDialogs dialogs;
        click("PrintBtn");
        EXPECT_LT(timer.elapsed(), 30000);
        EXPECT_FALSE(engine.Printing());
        EXPECT_FALSE(SystemPrinter::instance().printing());
        ASSERT_GE(log.entries.size(), 1);
        EXPECT_EQ(log.entries[0].kind, QStringLiteral("exclamation"));
        EXPECT_EQ(log.entries[0].caption, kCaption);
        EXPECT_TRUE(log.entries[0].text.startsWith(QStringLiteral("印刷を開始できません．　　")))
            << log.entries[0].text.toStdString();
    }
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(button("PrintBtn")->isEnabled());
    click("NextPageBtn");
    EXPECT_TRUE(shownTexts().contains(pageText(2)));
}

// ---- printer setup ---------------------------------------------------------------------------------------

TEST_F(PreviewWindowTest, ThePrinterSetupActionWorksThoughItsButtonIsHidden)
{
    begin(3);
    show();
    click("NextPageBtn");
    click("ZoomUpBtn");
    ASSERT_EQ(engine.ZoomType(), TplPrev::ztOther);
    EXPECT_TRUE(button("PrinterSetBtn")->isHidden());
    int setupEvents = 0;
    engine.OnPrinterSetupDialog = [&](QObject*) { ++setupEvents; };
    ScriptedPrinterDialogs dialogs;

    // Cancelled: nothing changes.
    ScriptedPrinterDialogs::Setup cancel;
    cancel.ok = false;
    dialogs.answerPrinterSetup(cancel);
    clearRecorded();
    window->PrinterSetup(true);
    EXPECT_TRUE(recorded.isEmpty());
    EXPECT_EQ(setupEvents, 0);
    EXPECT_EQ(engine.ZoomType(), TplPrev::ztOther);

    ScriptedPrinterDialogs::Setup a4;
    a4.printer = CupsTestPrinter::name();
    a4.paper = DevMode::PaperA4;
    dialogs.answerPrinterSetup(a4);
    window->PrinterSetup(true);
    EXPECT_EQ(setupEvents, 1);
    EXPECT_EQ(recorded, QVector<int> { 2 });
    EXPECT_EQ(engine.PageWidth(), engine.PaperWidth());
    EXPECT_EQ(engine.PageHeight(), engine.PaperHeight());
    EXPECT_NEAR(engine.PageWidth(), 2100, 3);
    EXPECT_NEAR(engine.PageHeight(), 2970, 3);
    EXPECT_EQ(engine.ZoomType(), TplPrev::ztWholePage);
    EXPECT_TRUE(window->statusText(0).contains(printer->PaperName()));
    EXPECT_TRUE(window->statusText(0).endsWith(
        QStringLiteral("( %1 x %2 mm )").arg(engine.PageWidth() / 10.0, 0, 'f', 1).arg(engine.PageHeight() / 10.0, 0, 'f', 1)));

    // Invoked without the dialog it takes the system printer's settings as they are.
    window->PrinterSetup(false);
    EXPECT_EQ(dialogs.requests().size(), 2);
    EXPECT_EQ(setupEvents, 2);
}

// ---- clipboard and hard copy ------------------------------------------------------------------------------

TEST_F(PreviewWindowTest, CopyingThePagePutsSvgAndPngOnTheClipboardThatShowTheSamePage)
{
    begin(3, 1000, 1480);
    show();
    click("NextPageBtn");
    QGuiApplication::clipboard()->clear();
    auto* menu = window->findChild<QMenu*>(QStringLiteral("PopupMenu1"));
    QTest::mousePress(image(), Qt::RightButton, Qt::NoModifier, QPoint(20, 30));
    settle();
    ASSERT_TRUE(menu->isVisible());
    QAction* copy = menu->findChild<QAction*>(QStringLiteral("CopyPageItem"));
    QTest::mouseClick(menu, Qt::LeftButton, Qt::NoModifier, menu->actionGeometry(copy).center());
    settle();

    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    ASSERT_TRUE(data->hasFormat(QStringLiteral("image/svg+xml"))) << data->formats().join(QLatin1Char(' ')).toStdString();
    ASSERT_TRUE(data->hasFormat(QStringLiteral("image/png")));
    EXPECT_TRUE(data->hasImage());

    const QImage png = QImage::fromData(data->data(QStringLiteral("image/png")), "PNG");
    ASSERT_FALSE(png.isNull());
    EXPECT_EQ(png.width(), 1181) << "100 mm at 300 dpi";
    EXPECT_EQ(png.height(), 1748);

    const QByteArray svgBytes = data->data(QStringLiteral("image/svg+xml"));
    EXPECT_TRUE(QString::fromUtf8(svgBytes).contains(pageText(2))) << "the page's text stays text";
    EXPECT_TRUE(svgBytes.contains("width=\"100mm\"") || svgBytes.contains("width=\"100.0mm\"")
                || svgBytes.contains("width=\"99.9"))
        << svgBytes.left(600).toStdString();
    QSvgRenderer svg(svgBytes);
    ASSERT_TRUE(svg.isValid());
    QImage back(png.size(), QImage::Format_ARGB32_Premultiplied);
    back.fill(Qt::white);
    QPainter p(&back);
    svg.render(&p, QRectF(0, 0, back.width(), back.height()));
    p.end();

    // The same page: the ink lands in the same places.
    const QRect inkPng = inkBox(png, png.rect());
    const QRect inkSvg = inkBox(back, back.rect());
    ASSERT_FALSE(inkPng.isEmpty());
    EXPECT_LE((inkPng.topLeft() - inkSvg.topLeft()).manhattanLength(), 6);
    EXPECT_LE((inkPng.bottomRight() - inkSvg.bottomRight()).manhattanLength(), 6);
    int differing = 0;
    const QImage a = png.convertToFormat(QImage::Format_Grayscale8);
    const QImage b = back.convertToFormat(QImage::Format_Grayscale8);
    int inked = 0;
    for (int y = 0; y < a.height(); y += 2) {
        for (int x = 0; x < a.width(); x += 2) {
            const int ga = qGray(a.pixel(x, y));
            const int gb = qGray(b.pixel(x, y));
            if (ga < 128)
                ++inked;
            if (qAbs(ga - gb) > 96)
                ++differing;
        }
    }
    EXPECT_GT(inked, 500);
    EXPECT_LT(differing, inked / 10) << "of " << inked << " inked samples";
}

TEST_F(PreviewWindowTest, CopyingWithoutAPageLeavesTheClipboardAlone)
{
    begin(3);
    throwOnPage = 2;
    show();
    click("NextPageBtn"); // the page fails: there is no page to copy
    log.entries.clear();
    QGuiApplication::clipboard()->setText(QStringLiteral("前の内容"));
    window->CopyPageClick();
    settle();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("前の内容"));
    EXPECT_TRUE(log.entries.isEmpty());
}

TEST_F(PreviewWindowTest, CopyingTheScreenPutsAnImageOfTheWindowOnTheClipboard)
{
    begin(2);
    show();
    QGuiApplication::clipboard()->clear();
    window->activateWindow();
    window->CopyScreenClick();
    settle();
    const QImage shot = QGuiApplication::clipboard()->image();
    ASSERT_FALSE(shot.isNull());
    EXPECT_EQ(shot.size(), window->size() * window->devicePixelRatio());
    // The page with its frame is in the picture.
    const QPoint pageCorner = image()->mapTo(window.get(), QPoint(0, 0));
    EXPECT_EQ(QColor(shot.pixel(pageCorner + QPoint(-1, 5))), QColor(Qt::black)) << "the page frame";
}

TEST_F(PreviewWindowTest, HardCopyPrintsTheWindowPictureAcrossThePageWidth)
{
    begin(2);
    show();
    ScriptedPrinterDialogs dialogs;
    dialogs.answerPrint(printToTestPrinter(true));
    const int jobBefore = SystemPrinter::instance().lastJobId();
    clearRecorded();
    window->HardCopyClick();
    settle();
    ASSERT_EQ(dialogs.requests().size(), 1);
    EXPECT_FALSE(dialogs.requests()[0].range.pageRangeEnabled);
    EXPECT_TRUE(log.entries.isEmpty()) << log.texts().join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(recorded, QVector<int> { 1 }) << "the page is shown again afterwards";
    const QString pdf = jobOutput(jobBefore);
    if (pdf.isEmpty())
        return;
    EXPECT_EQ(CupsTestPrinter::pdfInfo(pdf).pages, 1);
    const QImage page = CupsTestPrinter::renderPage(pdf, 1, 100);
    ASSERT_FALSE(page.isNull());
    // The picture spans the printable width less a tenth on each side, from a twentieth down.
    const QRect ink = inkBox(page, page.rect(), 250); // anything not paper white
    ASSERT_FALSE(ink.isEmpty());
    const double mm = page.width() / 100.0; // the postcard is 100 mm wide
    const double printable = printer->PrintableWidth() * 25.4 / printer->LogPixelsX();
    const double offset = printer->PhysicalOffsetX() * 25.4 / printer->LogPixelsX();
    EXPECT_NEAR(ink.left() / mm, offset + printable / 10, 2.0);
    EXPECT_NEAR(ink.right() / mm, offset + printable * 9 / 10, 2.0);
    CupsTestPrinter::removeOutput(pdf);
}

namespace {

// A second queue whose name says it is an Acrobat printer, for the life of the object.
class AcrobatQueue : public ScopedCupsQueue {
public:
    AcrobatQueue() : ScopedCupsQueue(name(), QStringLiteral(TOVALIN_SOURCE_DIR "/tests/data/TovalinTest.ppd")) { }
    static QString name() { return QStringLiteral("TovalinAcrobatTest%1").arg(QCoreApplication::applicationPid()); }
};

} // namespace

TEST_F(PreviewWindowTest, HardCopyOnAnAcrobatPrinterPrintsNothingButRestoresTheSettings)
{
    AcrobatQueue acrobat;
    if (!acrobat.ok())
        GTEST_SKIP() << "cannot add a CUPS queue here (lpadmin needs the right to administer CUPS)";
    // The component keeps the test printer with postcards.
    ASSERT_EQ(printer->PrinterName(), CupsTestPrinter::name());
    begin(2);
    show();
    ScriptedPrinterDialogs dialogs;
    ScriptedPrinterDialogs::Print toAcrobat;
    toAcrobat.printer.printer = AcrobatQueue::name();
    toAcrobat.printer.paper = DevMode::PaperA4;
    dialogs.answerPrint(toAcrobat);
    const int jobBefore = SystemPrinter::instance().lastJobId();
    window->HardCopyClick();
    settle();
    ASSERT_EQ(dialogs.requests().size(), 1);
    EXPECT_EQ(SystemPrinter::instance().lastJobId(), jobBefore) << "nothing is printed";
    EXPECT_EQ(printer->PrinterName(), CupsTestPrinter::name());
    EXPECT_EQ(SystemPrinter::instance().printerName(), CupsTestPrinter::name());
    EXPECT_EQ(SystemPrinter::instance().devMode().paperSize(), DevMode::PaperJapanesePostcard);
    EXPECT_TRUE(log.entries.isEmpty()) << log.texts().join(QLatin1Char('|')).toStdString();
    // The picture went to the clipboard all the same.
    EXPECT_FALSE(QGuiApplication::clipboard()->image().isNull());
}
