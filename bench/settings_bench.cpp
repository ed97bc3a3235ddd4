// LoadSettings of the default POSTCSV.INI.

#include "BenchMain.h"

#include "app/AppSettings.h"

#include <QCoreApplication>
#include <QTemporaryDir>

namespace {

void BM_LoadDefaultSettings(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("POSTCSV.INI");
    WriteDefaultSettingsFile(path);
    AppSettings s;
    for (auto _ : state) {
        const bool ok = LoadSettings(s, path);
        benchmark::DoNotOptimize(ok);
    }
}
BENCHMARK(BM_LoadDefaultSettings)->Unit(benchmark::kMicrosecond);

void BM_SaveLabelGroup(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("POSTCSV.INI");
    WriteDefaultSettingsFile(path);
    AppSettings s;
    LoadSettings(s, path);
    for (auto _ : state) {
        const bool ok = SaveLayoutSettings(s, SettingsGroup::Label, path);
        benchmark::DoNotOptimize(ok);
    }
}
BENCHMARK(BM_SaveLabelGroup)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    benchmain::prepare();
    QCoreApplication app(argc, argv);
    return benchmain::run(argc, argv);
}
