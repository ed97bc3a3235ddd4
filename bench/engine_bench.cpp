// Preview engine: recording a postcard page and replaying it into a PDF, and the memory a
// long run needs. Uses the CUPS test printer for the page metrics (TOVALIN_TEST_PRINTER,
// default TovalinTest).
//
//   engine_bench                       the timing benchmarks
//   engine_bench --pdf-pages N FILE    writes N pages into FILE and prints the peak RSS (kB)

#include "BenchMain.h"

#include "preview/SamplePages.h"
#include "support/PrinterPaper.h"

#include "platform/DevMode.h"
#include "platform/Messages.h"
#include "platform/SystemPrinter.h"
#include "preview/TplPrev.h"
#include "preview/TplSetPrinter.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>
#include <cstring>
#include <sys/resource.h>

namespace {

struct Setup {
    QTemporaryDir dir;
    QString stamp;
    std::unique_ptr<TplSetPrinter> printer;
    std::unique_ptr<TplPrev> engine;

    Setup()
    {
        stamp = dir.filePath(QStringLiteral("STAMP.JPG"));
        samplepages::writeStampJpeg(stamp);
        printer = std::make_unique<TplSetPrinter>(QStringLiteral("plSetPrinter1"));
        printer->setPrinterName(qEnvironmentVariable("TOVALIN_TEST_PRINTER", QStringLiteral("TovalinTest")));
        printerpaper::usePaper(*printer, DevMode::PaperJapanesePostcard);
        engine = std::make_unique<TplPrev>();
        engine->setPlSetPrinter(printer.get());
        engine->setPageCount(1000000);
        TplPrev* e = engine.get();
        const QString s = stamp;
        engine->BeginPreview([e, s] { samplepages::drawPostcard(*e, s, e->CurrentPage()); });
    }
};

void configure(QPdfWriter& writer, const TplPrev& e)
{
    writer.setResolution(e.DpiX() > 0 ? e.DpiX() : 600);
    writer.setPageLayout(QPageLayout(QPageSize(QSizeF(e.PaperWidth() / 10.0, e.PaperHeight() / 10.0),
                                               QPageSize::Millimeter),
                                     QPageLayout::Portrait, QMarginsF()));
}

// Records page n and replays it onto the PDF page as the print job does.
void printOne(TplPrev& e, QPainter& painter, int page)
{
    e.setCurrentPage(page);
    const PageRecording* rec = e.RenderPage();
    if (!rec)
        return;
    painter.save();
    painter.setTransform(e.printerTransform());
    painter.setClipRect(e.printableRect());
    rec->replay(&painter);
    painter.restore();
}

void BM_RecordPostcardPage(benchmark::State& state)
{
    Setup s;
    int page = 1;
    for (auto _ : state) {
        s.engine->setCurrentPage(page++);
        benchmark::DoNotOptimize(s.engine->RenderPage());
    }
}
BENCHMARK(BM_RecordPostcardPage)->Unit(benchmark::kMicrosecond);

void BM_RecordAndReplayPostcardIntoPdf(benchmark::State& state)
{
    Setup s;
    const QString file = s.dir.filePath(QStringLiteral("bench.pdf"));
    QPdfWriter writer(file);
    configure(writer, *s.engine);
    QPainter painter(&writer);
    int page = 1;
    // Warm-up: fonts, the stamp and the PDF's font subsets are prepared on the first pages.
    for (int i = 0; i < 20; ++i) {
        printOne(*s.engine, painter, page++);
        writer.newPage();
    }
    for (auto _ : state) {
        printOne(*s.engine, painter, page++);
        writer.newPage();
    }
    painter.end();
    state.counters["pages"] = double(page - 1);
}
BENCHMARK(BM_RecordAndReplayPostcardIntoPdf)->Unit(benchmark::kMicrosecond)->MinTime(2.0);

long runChild(int pages, const QString& file)
{
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(),
                { QStringLiteral("--pdf-pages"), QString::number(pages), file });
    child.waitForFinished(-1);
    return QString::fromLatin1(child.readAllStandardOutput()).trimmed().toLong();
}

// Peak memory of a 10,000-page PDF against a 100-page one, each in a fresh process.
void BM_PeakMemoryOfALongRun(benchmark::State& state)
{
    QTemporaryDir dir;
    long small = 0, large = 0;
    for (auto _ : state) {
        small = runChild(100, dir.filePath(QStringLiteral("p100.pdf")));
        large = runChild(10000, dir.filePath(QStringLiteral("p10000.pdf")));
    }
    state.counters["peak_kB_100_pages"] = double(small);
    state.counters["peak_kB_10000_pages"] = double(large);
    state.counters["growth_kB"] = double(large - small);
    state.counters["pdf_MB_10000_pages"] = double(QFileInfo(dir.filePath(QStringLiteral("p10000.pdf"))).size()) / 1e6;
}
BENCHMARK(BM_PeakMemoryOfALongRun)->Iterations(1)->Unit(benchmark::kSecond);

int writePages(int pages, const QString& file)
{
    Setup s;
    {
        QPdfWriter writer(file);
        configure(writer, *s.engine);
        QPainter painter(&writer);
        for (int p = 1; p <= pages; ++p) {
            printOne(*s.engine, painter, p);
            if (p < pages)
                writer.newPage();
        }
        painter.end();
    }
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("%ld\n", usage.ru_maxrss);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    benchmain::prepare();
    QGuiApplication app(argc, argv);
    if (argc == 4 && std::strcmp(argv[1], "--pdf-pages") == 0)
        return writePages(std::atoi(argv[2]), QString::fromLocal8Bit(argv[3]));
    return benchmain::run(argc, argv);
}
