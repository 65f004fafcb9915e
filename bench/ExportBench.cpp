// The CSV export and the Client Summary on generated stores. The export
// writes every entry of a store whose entries all carry a text note; its
// rows per second are the figure to watch (at least 100,000 here). The
// Client Summary finds one client's first and last entries from both ends
// and walks only the dates between them.
#include <benchmark/benchmark.h>

#include <QTemporaryDir>

#include "LargeProfile.h"
#include "records/EntryFilter.h"
#include "reports/CsvExport.h"
#include "reports/Summaries.h"
#include "settings/Settings.h"

using namespace tempolatch;

namespace {

void BM_CsvExport(benchmark::State& state) {
    const int entries = int(state.range(0));
    bench::LargeProfile& profile = bench::largeProfile(entries, true);
    Settings settings;
    QTemporaryDir out;
    const QString path = out.filePath(QStringLiteral("entries.csv"));
    for (auto _ : state) {
        if (!exportTimeEntryCsv(profile.store, settings, EntryFilter(), path)) {
            state.SkipWithError("the export failed");
            break;
        }
    }
    state.counters["rows_per_s"] =
        benchmark::Counter(double(entries), benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_CsvExport)->Arg(100'000)->Unit(benchmark::kMillisecond)->Iterations(3);

// One of the 20 clients, whose entries span the whole five years, and the
// same client narrowed to one project and task.
void BM_ClientSummary(benchmark::State& state) {
    const int entries = int(state.range(0));
    bench::LargeProfile& profile = bench::largeProfile(entries);
    ClientSummaryChoice choice{QStringLiteral("Client 07"), QString(), QString()};
    if (state.range(1) != 0) {
        choice.project = QStringLiteral("Project 2");
        choice.task = QStringLiteral("Task 3");
    }
    for (auto _ : state) {
        const ClientSummary summary = computeClientSummary(profile.store, choice, false);
        benchmark::DoNotOptimize(summary.totals.billableHours);
    }
}
BENCHMARK(BM_ClientSummary)
    ->Args({100'000, 0})
    ->Args({100'000, 1})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

}  // namespace
