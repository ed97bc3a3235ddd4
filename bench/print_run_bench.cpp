// The page routines on the examples' layouts, as tovalin-print drives them: composing and
// recording one page, and whole runs into a PDF (the engine on a sheet of its own, no
// printer needed). The postcard is the New Year card example; the labels are the address
// label example moved to a 3 x 8 sheet.
//
// The command-line figures (wall time and peak memory of tovalin-print for 100 to 10,000
// records) come from scripts/bench-tovalin-print.sh.

#include "BenchMain.h"

#include "app/AppSettings.h"
#include "app/CsvSource.h"
#include "label/LabelComposer.h"
#include "platform/JapaneseFonts.h"
#include "postcard/PostcardComposer.h"
#include "preview/TplPrev.h"

#include <QGuiApplication>
#include <QTemporaryDir>

namespace {

// One kind of print run: its example folder and its sheet (0.1 mm).
struct Run {
    const char* example;
    int sheetWidth;
    int sheetHeight;
};
const Run kPostcard{"postcard", 1000, 1480};
const Run kLabel{"label", 2100, 2970};

QString exampleDir(const Run& run)
{
    return QStringLiteral(TOVALIN_SOURCE_DIR "/examples/%1/").arg(QLatin1String(run.example));
}

// The example's settings and `count` records (the example's 30 repeated).
AppSettings exampleSettings(const Run& run, QStringList* records, int count)
{
    const QString dir = exampleDir(run);
    AppSettings s;
    LoadSettings(s, dir + QStringLiteral("POSTCSV.INI"));
    const QStringList example = CsvRecordLines(ReadCsvLines(dir + s.csv.fileName), s.csv.hasHeader);
    records->clear();
    for (int i = 0; i < count; ++i)
        *records << example.at(i % example.size());
    return s;
}

PostcardSnapshot postcardSnapshot(int count)
{
    QStringList records;
    AppSettings s = exampleSettings(kPostcard, &records, count);
    s.postcardImage.path = exampleDir(kPostcard) + s.postcardImage.path;
    return PostcardSnapshot::fromSettings(s, records, HonorificChoice{true, QStringLiteral("様")});
}

LabelSnapshot labelSnapshot(int count)
{
    QStringList records;
    AppSettings s = exampleSettings(kLabel, &records, count);
    s.labelSheet = LabelSheet{3, 8, 85, 85, 85, 85, 20, 20};
    return LabelSnapshot::fromSettings(s, records, HonorificChoice{true, QStringLiteral("様")}, true, 1, 1);
}

void drawPage(TplPrev& engine, const PostcardSnapshot& s)
{
    DrawPostcardPage(engine, s);
}

void drawPage(TplPrev& engine, const LabelSnapshot& s)
{
    DrawLabelPage(engine, s);
}

template <class Snapshot>
void startRun(TplPrev& engine, const Run& run, const Snapshot& s)
{
    engine.setFileSheet(run.sheetWidth, run.sheetHeight);
    engine.setPageCount(s.pageCount());
    engine.BeginPreview([&engine, &s] { drawPage(engine, s); });
}

// Records the pages of a run one after the other, over and over.
template <class Snapshot>
void recordPages(benchmark::State& state, const Run& run, const Snapshot& s)
{
    TplPrev engine;
    startRun(engine, run, s);
    int page = 1;
    for (auto _ : state) {
        engine.setCurrentPage(page);
        benchmark::DoNotOptimize(engine.RenderPage());
        page = page % s.pageCount() + 1;
    }
}

// Whole runs into one PDF file; the counter is the time per record.
template <class Snapshot>
void intoPdf(benchmark::State& state, const Run& run, const Snapshot& s, const char* counter)
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("run.pdf"));
    for (auto _ : state) {
        TplPrev engine;
        startRun(engine, run, s);
        if (!engine.PrintToPdf(pdf))
            state.SkipWithError("the PDF was not written");
    }
    state.counters[counter] = benchmark::Counter(double(state.range(0)), benchmark::Counter::kIsIterationInvariantRate
                                                                              | benchmark::Counter::kInvert);
}

void BM_RecordOneCard(benchmark::State& state)
{
    recordPages(state, kPostcard, postcardSnapshot(1000));
}
BENCHMARK(BM_RecordOneCard)->Unit(benchmark::kMicrosecond);

void BM_CardsIntoPdf(benchmark::State& state)
{
    intoPdf(state, kPostcard, postcardSnapshot(int(state.range(0))), "per_page_us");
}
BENCHMARK(BM_CardsIntoPdf)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

// One sheet of 24 labels.
void BM_RecordOneSheet(benchmark::State& state)
{
    recordPages(state, kLabel, labelSnapshot(24 * 20));
}
BENCHMARK(BM_RecordOneSheet)->Unit(benchmark::kMicrosecond);

void BM_LabelsIntoPdf(benchmark::State& state)
{
    intoPdf(state, kLabel, labelSnapshot(int(state.range(0))), "per_label_us");
}
BENCHMARK(BM_LabelsIntoPdf)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    benchmain::prepare();
    QGuiApplication app(argc, argv);
    JapaneseFonts::install();
    return benchmain::run(argc, argv);
}
