#pragma once
// What every benchmark program's main() does around its own application object: the
// allocator set up as tovalin and tovalin-print set it (so that the figures are the
// programs' figures), and Google Benchmark's command line and run.

#include "platform/Allocator.h"

#include <QByteArray>
#include <QtGlobal>
#include <benchmark/benchmark.h>

namespace benchmain {

// First thing in main(). Without a display platform named, the programs that draw use the
// offscreen one (a program with windows keeps an X display when there is one).
inline void prepare(bool keepDisplay = false)
{
    Allocator::keepPageBuffers();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !(keepDisplay && !qEnvironmentVariableIsEmpty("DISPLAY")))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

// Runs the benchmarks the command line selects; 1 for arguments it does not know.
inline int run(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace benchmain
