// Reading the installed label template database (glabels-data) into the sheet list: the
// first read of the process (what opening 用紙選択… costs once per session), printed before
// the benchmarks, and repeated reads; then filtering the list as the search box does.

#include "BenchMain.h"

#include "label/LabelTemplates.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <cstdio>

namespace {

void BM_ReadInstalledDatabase(benchmark::State& state)
{
    int products = 0;
    for (auto _ : state) {
        LabelTemplates::Catalog c;
        c.load(LabelTemplates::systemDirectories(), {});
        products = c.products().size();
        benchmark::DoNotOptimize(products);
    }
    state.counters["products"] = products;
}
BENCHMARK(BM_ReadInstalledDatabase)->Unit(benchmark::kMillisecond);

void BM_FilterList(benchmark::State& state)
{
    LabelTemplates::Catalog c;
    c.load(LabelTemplates::systemDirectories(), {});
    int shown = 0;
    for (auto _ : state) {
        shown = 0;
        for (const LabelTemplates::Product& p : c.products())
            shown += p.matches(QStringLiteral("12"));
        benchmark::DoNotOptimize(shown);
    }
    state.counters["shown"] = shown;
}
BENCHMARK(BM_FilterList)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    benchmain::prepare();
    QCoreApplication app(argc, argv);
    QElapsedTimer timer;
    timer.start();
    LabelTemplates::Catalog first;
    first.load(LabelTemplates::systemDirectories(), {});
    std::printf("first read of the installed database: %.1f ms, %d templates, %d sheets listed\n",
                timer.nsecsElapsed() / 1e6, first.templateCount(), int(first.products().size()));
    return benchmain::run(argc, argv);
}
