#include <benchmark/benchmark.h>

#include <QApplication>

#include "platform/Allocator.h"

int main(int argc, char** argv) {
    // As the program itself starts.
    tempolatch::platform::tuneAllocator();
    // The view benchmarks fill real list widgets; no screen is needed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
