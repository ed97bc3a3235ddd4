// The "宛名選択" dialog on the 100,000-record benchmark list: opening it (the list shown and
// painted once), and filtering it as a word is typed, one keystroke at a time, the first
// keystroke included (it prepares the searchable text).

#include "BenchMain.h"

#include "layout/RecordListModel.h"
#include "layout/ui/TFrmRecordSelect.h"
#include "support/SampleAddresses.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>

namespace {

const QStringList& records()
{
    static const QStringList r = testaddresses::benchmarkRecords(100000);
    return r;
}

void BM_OpenRecordSelect100k(benchmark::State& state)
{
    const CsvColumnMap map = testaddresses::columns();
    for (auto _ : state) {
        TFrmRecordSelect d(records(), map, RecordChoice());
        d.show();
        QApplication::processEvents();
        benchmark::DoNotOptimize(d.grab());
    }
}
BENCHMARK(BM_OpenRecordSelect100k)->Unit(benchmark::kMillisecond)->Iterations(10);

// Each keystroke of "サンプル123" on a freshly opened dialog, timed alone (the slowest is
// the figure that matters: the first one, or one that shows many rows).
void BM_FilterKeystroke100k(benchmark::State& state)
{
    const CsvColumnMap map = testaddresses::columns();
    const QString word = QStringLiteral("サンプル123");
    const int k = int(state.range(0)); // which keystroke
    for (auto _ : state) {
        state.PauseTiming();
        auto d = std::make_unique<TFrmRecordSelect>(records(), map, RecordChoice());
        d->show();
        d->edtSearch->setText(word.left(k - 1));
        QApplication::processEvents();
        state.ResumeTiming();
        d->edtSearch->setText(word.left(k));
        QApplication::processEvents();
        state.PauseTiming();
        d.reset();
        state.ResumeTiming();
    }
    state.SetLabel(word.left(k).toStdString());
}
// A fixed count: each timed keystroke needs a dialog opened and typed into untimed first.
BENCHMARK(BM_FilterKeystroke100k)->DenseRange(1, 8)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

int main(int argc, char** argv)
{
    benchmain::prepare(true);
    QApplication app(argc, argv);
    return benchmain::run(argc, argv);
}
