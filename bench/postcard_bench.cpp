// The postcard page routine on the example's New Year card layout: composing and recording
// one card, and whole runs of cards into a PDF as tovalin-print writes them (the engine on a
// postcard sheet of its own, no printer needed).
//
// The command-line figures (wall time and peak memory of tovalin-print for 100, 1,000 and
// 10,000 records) come from scripts/bench-tovalin-print.sh.

#include "app/AppSettings.h"
#include "app/CsvSource.h"
#include "platform/JapaneseFonts.h"
#include "postcard/PostcardComposer.h"
#include "preview/TplPrev.h"

#include <QDir>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

// The example's layout over `count` records (the example's 30 repeated).
PostcardSnapshot exampleSnapshot(int count)
{
    const QString dir = QStringLiteral(TOVALIN_SOURCE_DIR "/examples/postcard/");
    AppSettings s;
    LoadSettings(s, dir + QStringLiteral("POSTCSV.INI"));
    s.postcardImage.path = dir + s.postcardImage.path;
    const QStringList example = CsvRecordLines(ReadCsvLines(dir + s.csv.fileName), s.csv.hasHeader);
    QStringList records;
    for (int i = 0; i < count; ++i)
        records << example.at(i % example.size());
    return PostcardSnapshot::fromSettings(s, records, HonorificChoice { true, QStringLiteral("様") });
}

void BM_RecordOneCard(benchmark::State& state)
{
    const PostcardSnapshot s = exampleSnapshot(1000);
    TplPrev engine;
    engine.setFileSheet(1000, 1480);
    engine.setPageCount(s.pageCount());
    engine.BeginPreview([&] { DrawPostcardPage(engine, s); });
    int page = 1;
    for (auto _ : state) {
        engine.setCurrentPage(page);
        benchmark::DoNotOptimize(engine.RenderPage());
        page = page % s.pageCount() + 1;
    }
}
BENCHMARK(BM_RecordOneCard)->Unit(benchmark::kMicrosecond);

void BM_CardsIntoPdf(benchmark::State& state)
{
    const int pages = int(state.range(0));
    const PostcardSnapshot s = exampleSnapshot(pages);
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("cards.pdf"));
    for (auto _ : state) {
        TplPrev engine;
        engine.setFileSheet(1000, 1480);
        engine.setPageCount(s.pageCount());
        engine.BeginPreview([&] { DrawPostcardPage(engine, s); });
        if (!engine.PrintToPdf(pdf))
            state.SkipWithError("the PDF was not written");
    }
    state.counters["per_page_us"] = benchmark::Counter(double(pages), benchmark::Counter::kIsIterationInvariantRate
                                                                          | benchmark::Counter::kInvert);
}
BENCHMARK(BM_CardsIntoPdf)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    JapaneseFonts::install();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
