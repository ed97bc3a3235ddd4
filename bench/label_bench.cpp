// The label page routine on the example's address label layout moved to a 3 x 8 sheet:
// composing and recording one sheet of 24 labels, and whole runs into a PDF as
// tovalin-print label writes them (the engine on an A4 sheet of its own, no printer needed).
//
// The command-line figures (wall time and peak memory of tovalin-print label for 1,000 and
// 10,000 records) come from scripts/bench-tovalin-print-label.sh.

#include "app/AppSettings.h"
#include "app/CsvSource.h"
#include "label/LabelComposer.h"
#include "platform/JapaneseFonts.h"
#include "preview/TplPrev.h"

#include <QGuiApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

// The example's layout over `count` records (the example's 30 repeated), 3 x 8 labels.
LabelSnapshot exampleSnapshot(int count)
{
    const QString dir = QStringLiteral(TOVALIN_SOURCE_DIR "/examples/label/");
    AppSettings s;
    LoadSettings(s, dir + QStringLiteral("POSTCSV.INI"));
    s.labelSheet = LabelSheet{3, 8, 85, 85, 85, 85, 20, 20};
    const QStringList example = CsvRecordLines(ReadCsvLines(dir + s.csv.fileName), s.csv.hasHeader);
    QStringList records;
    for (int i = 0; i < count; ++i)
        records << example.at(i % example.size());
    return LabelSnapshot::fromSettings(s, records, HonorificChoice{true, QStringLiteral("様")}, true, 1, 1);
}

void BM_RecordOneSheet(benchmark::State& state)
{
    const LabelSnapshot s = exampleSnapshot(24 * 20);
    TplPrev engine;
    engine.setFileSheet(2100, 2970);
    engine.setPageCount(s.pageCount());
    engine.BeginPreview([&] { DrawLabelPage(engine, s); });
    int page = 1;
    for (auto _ : state) {
        engine.setCurrentPage(page);
        benchmark::DoNotOptimize(engine.RenderPage());
        page = page % s.pageCount() + 1;
    }
}
BENCHMARK(BM_RecordOneSheet)->Unit(benchmark::kMicrosecond);

void BM_LabelsIntoPdf(benchmark::State& state)
{
    const int records = int(state.range(0));
    const LabelSnapshot s = exampleSnapshot(records);
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("labels.pdf"));
    for (auto _ : state) {
        TplPrev engine;
        engine.setFileSheet(2100, 2970);
        engine.setPageCount(s.pageCount());
        engine.BeginPreview([&] { DrawLabelPage(engine, s); });
        if (!engine.PrintToPdf(pdf))
            state.SkipWithError("the PDF was not written");
    }
    state.counters["per_label_us"] = benchmark::Counter(double(records), benchmark::Counter::kIsIterationInvariantRate
                                                                             | benchmark::Counter::kInvert);
}
BENCHMARK(BM_LabelsIntoPdf)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

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
