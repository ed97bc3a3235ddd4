// Preview window: the next page (record and paint a postcard page at whole-page zoom) and
// one zoom step (resize and paint the page). Uses the CUPS test printer for the page
// metrics (TOVALIN_TEST_PRINTER, default TovalinTest).
//
//   preview_window_bench                     the timing benchmarks
//   preview_window_bench --screenshots DIR   shows a five-card document and writes window
//                                            pictures at whole page, page width and zoomed in,
//                                            the copied page as PNG and its SVG drawn back
//                                            (run it under xvfb-run for a real X server)

#include "BenchMain.h"

#include "preview/SamplePages.h"
#include "support/PrinterPaper.h"

#include "platform/DevMode.h"
#include "platform/JapaneseFonts.h"
#include "platform/PrinterDialogs.h"
#include "platform/SystemPrinter.h"
#include "preview/PageExport.h"
#include "preview/TplPrev.h"
#include "preview/TplSetPrinter.h"
#include "preview/ui/PreviewImage.h"
#include "preview/ui/TplPrevPost.h"
#include "support/ScriptedPrinterDialogs.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMimeData>
#include <QPainter>
#include <QProgressDialog>
#include <QScreen>
#include <QTimer>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QToolButton>

#include <cstdio>
#include <cstring>

namespace {

void settle(int ms = 0)
{
    QElapsedTimer t;
    t.start();
    do {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    } while (t.elapsed() < ms);
}

struct Setup {
    QTemporaryDir dir;
    QString stamp;
    std::unique_ptr<TplSetPrinter> printer;
    std::unique_ptr<TplPrev> engine;
    std::unique_ptr<TplPrevPost> window;

    explicit Setup(int pages)
    {
        stamp = dir.filePath(QStringLiteral("STAMP.JPG"));
        samplepages::writeStampJpeg(stamp);
        printer = std::make_unique<TplSetPrinter>(QStringLiteral("plSetPrinter1"));
        printer->setPrinterName(qEnvironmentVariable("TOVALIN_TEST_PRINTER", QStringLiteral("TovalinTest")));
        printerpaper::usePaper(*printer, DevMode::PaperJapanesePostcard);
        engine = std::make_unique<TplPrev>();
        engine->setPlSetPrinter(printer.get());
        engine->setFormName(QStringLiteral("plPrevPost"));
        engine->setTitle(QStringLiteral("ハガキ宛名印刷"));
        engine->setPageCount(pages);
        TplPrev* e = engine.get();
        const QString s = stamp;
        engine->BeginPreview([e, s] { samplepages::drawPostcard(*e, s, e->CurrentPage() - 1); });
        engine->setFormWindowState(TplPrev::fwWorkArea);
        window = std::make_unique<TplPrevPost>();
        window->Bind(engine.get());
        window->show();
        PreviewImage* image = this->image();
        QElapsedTimer t;
        t.start();
        while (!image->hasPage() && t.elapsed() < 10000)
            settle();
        settle(100);
    }

    QToolButton* button(const char* name) const { return window->findChild<QToolButton*>(QLatin1String(name)); }
    PreviewImage* image() const { return window->findChild<PreviewImage*>(QStringLiteral("Image1")); }
};

void BM_NextPageAtWholePage(benchmark::State& state)
{
    Setup s(1000000);
    if (!s.image()->hasPage()) {
        state.SkipWithError("no page shown (is the test printer there?)");
        return;
    }
    s.button("PageWholeBtn")->click();
    for (auto _ : state) {
        s.button("NextPageBtn")->click(); // records the page
        s.image()->repaint();             // and paints it
    }
    state.counters["image_px"] = double(s.image()->width()) * s.image()->height();
}
BENCHMARK(BM_NextPageAtWholePage)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_ZoomStep(benchmark::State& state)
{
    Setup s(10);
    if (!s.image()->hasPage()) {
        state.SkipWithError("no page shown (is the test printer there?)");
        return;
    }
    s.button("PageWholeBtn")->click();
    bool up = true;
    for (auto _ : state) {
        s.button(up ? "ZoomUpBtn" : "ZoomDownBtn")->click();
        s.image()->repaint();
        up = !up;
    }
    state.counters["image_px"] = double(s.image()->width()) * s.image()->height();
}
BENCHMARK(BM_ZoomStep)->Unit(benchmark::kMillisecond)->MinTime(2.0);

bool save(const QImage& image, const QString& file)
{
    const bool ok = image.save(file);
    std::printf("%s %s (%dx%d)\n", ok ? "wrote" : "FAILED", qPrintable(file), image.width(), image.height());
    return ok;
}

QImage screenOf(QWidget* w)
{
    // Through the X server when there is one, so the picture is what the screen shows.
    QScreen* screen = w->screen();
    QImage shot;
    if (screen && QGuiApplication::platformName() == QLatin1String("xcb"))
        shot = screen->grabWindow(w->winId()).toImage();
    if (shot.isNull())
        shot = w->grab().toImage();
    return shot;
}

int screenshots(const QString& dir)
{
    QDir().mkpath(dir);
    Setup s(5);
    if (!s.image()->hasPage()) {
        std::printf("no page shown\n");
        return 1;
    }
    auto click = [&](const char* name) {
        s.button(name)->click();
        settle(200);
    };
    bool ok = true;
    click("NextPageBtn");
    click("PageWholeBtn");
    ok &= save(screenOf(s.window.get()), dir + QStringLiteral("/whole-page.png"));
    click("PageWidthBtn");
    ok &= save(screenOf(s.window.get()), dir + QStringLiteral("/page-width.png"));
    click("PageWholeBtn");
    for (int i = 0; i < 6; ++i)
        click("ZoomUpBtn");
    ok &= save(screenOf(s.window.get()), dir + QStringLiteral("/zoomed-in.png"));
    click("LastPageBtn");
    click("PageWholeBtn");
    ok &= save(screenOf(s.window.get()), dir + QStringLiteral("/last-page.png"));

    s.window->CopyPageClick();
    settle(100);
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (!data || !data->hasFormat(QStringLiteral("image/svg+xml")) || !data->hasFormat(QStringLiteral("image/png"))) {
        std::printf("the clipboard holds no SVG and PNG\n");
        return 1;
    }
    const QByteArray svg = data->data(QStringLiteral("image/svg+xml"));
    QFile svgFile(dir + QStringLiteral("/copied-page.svg"));
    ok &= svgFile.open(QIODevice::WriteOnly) && svgFile.write(svg) == svg.size();
    svgFile.close();
    const QImage png = QImage::fromData(data->data(QStringLiteral("image/png")), "PNG");
    ok &= save(png, dir + QStringLiteral("/copied-page.png"));
    QSvgRenderer renderer(svg);
    QImage back(png.size(), QImage::Format_ARGB32_Premultiplied);
    back.fill(Qt::white);
    QPainter p(&back);
    renderer.render(&p, QRectF(0, 0, back.width(), back.height()));
    p.end();
    ok &= save(back, dir + QStringLiteral("/copied-page-svg-rendered.png"));

    // A page range printed from the window, bounds swapped, and a hard copy: the jobs' ids
    // tell where cups-pdf put them.
    ScriptedPrinterDialogs dialogs;
    ScriptedPrinterDialogs::Print range;
    range.printer.printer = qEnvironmentVariable("TOVALIN_TEST_PRINTER", QStringLiteral("TovalinTest"));
    range.allPages = false;
    range.fromPage = 4;
    range.toPage = 2;
    dialogs.answerPrint(range);
    click("PrintBtn");
    std::printf("page range 4..2 printed as CUPS job %d\n", SystemPrinter::instance().lastJobId());
    ScriptedPrinterDialogs::Print all = range;
    all.allPages = true;
    dialogs.answerPrint(all);
    s.window->HardCopyClick();
    settle(100);
    std::printf("hard copy printed as CUPS job %d\n", SystemPrinter::instance().lastJobId());
    s.window->close();

    // A long run shows its progress; it is stopped once the picture is taken.
    Setup longRun(3000);
    dialogs.answerPrint(all);
    QTimer::singleShot(2500, longRun.window.get(), [&] {
        ok &= save(screenOf(longRun.window.get()), dir + QStringLiteral("/printing-progress.png"));
        if (auto* progress = longRun.window->findChild<QProgressDialog*>(QStringLiteral("PrintProgress")))
            progress->cancel();
    });
    const int before = SystemPrinter::instance().lastJobId();
    longRun.window->findChild<QToolButton*>(QStringLiteral("PrintBtn"))->click();
    std::printf("long run stopped; a job was %s\n", SystemPrinter::instance().lastJobId() == before ? "not sent" : "SENT");
    longRun.window->close();
    return ok ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    benchmain::prepare(true);
    QApplication app(argc, argv);
    JapaneseFonts::install();
    if (argc == 3 && std::strcmp(argv[1], "--screenshots") == 0)
        return screenshots(QString::fromLocal8Bit(argv[2]));
    return benchmain::run(argc, argv);
}
