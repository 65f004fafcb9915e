// Report files of 1,000 to 100,000 entries of a heavy user's data, each
// against its baseline: a PDF report against the HTML page of the same
// report (the PDF's rows per second should stay within a fifth of the
// page's, and grow with the rows, not with their square), and the peak
// memory of each (an HTML page should hold no more than a fixed part of
// itself: its peak per entry stays flat from 1,000 entries to 100,000).
#include <benchmark/benchmark.h>

#include "LargeProfile.h"
#include "PeakMemory.h"
#include "platform/Registry.h"
#include "platform/Ui.h"
#include "records/EntryFilter.h"
#include "reports/ReportFiles.h"
#include "reports/ReportLayout.h"
#include "settings/Context.h"
#include "settings/Settings.h"

using namespace tempolatch;

namespace {

// The report of `kind` over every entry of a store of `entries`, written to
// a file ending in `suffix`, with its peak memory in MB and per entry in KB.
void writeReport(benchmark::State& state, const char* suffix) {
    const int entries = int(state.range(0));
    bench::LargeProfile& profile = bench::largeProfile(entries);
    const ReportLayout layout = ReportLayout::builtInDefault(int(state.range(1)));
    const QString path = profile.dir.filePath(QLatin1String("report") + QLatin1String(suffix));
    Settings settings;
    platform::ConsoleUi ui;
    platform::Registry registry(profile.dir.filePath(QStringLiteral("registry.db")));
    Context context{profile.store, settings, ui, registry};
    bool ok = true;
    double peak = 0;
    for (auto _ : state) {
        bench::PeakMemory memory;
        ok = writeReportFile(context, layout, EntryFilter(), path) && ok;
        peak = std::max(peak, memory.bytes());
    }
    if (!ok)
        state.SkipWithError("the report failed");
    state.SetItemsProcessed(state.iterations() * entries);
    state.counters["peak_MB"] = peak / 1e6;
    state.counters["peak_KB_per_entry"] = peak / 1e3 / entries;
}

void BM_PdfReport(benchmark::State& state) {
    writeReport(state, ".pdf");
}

void BM_HtmlReport(benchmark::State& state) {
    writeReport(state, ".html");
}

void sizes(benchmark::internal::Benchmark* b, std::initializer_list<int> entries) {
    for (const int kind : {ReportLayout::Tabular, ReportLayout::GroupBy, ReportLayout::Invoice})
        for (const int n : entries)
            b->Args({n, kind});
    b->ArgNames({"entries", "kind"})->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
}

BENCHMARK(BM_PdfReport)->Apply([](auto* b) { sizes(b, {1'000, 10'000, 30'000}); });
BENCHMARK(BM_HtmlReport)->Apply([](auto* b) { sizes(b, {1'000, 10'000, 30'000, 100'000}); });

}  // namespace
