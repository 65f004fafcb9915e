// The Quick Summary of a year of a heavy user's store, against SQLite
// reading the same records by id in one read transaction: the summary
// should take a small multiple of that read.
#include <benchmark/benchmark.h>

#include "LargeProfile.h"
#include "platform/ObjectStore.h"
#include "platform/Sqlite.h"
#include "platform/SqliteObjectStore.h"
#include "reports/Summaries.h"
#include "store/TimeEntries.h"

using namespace tempolatch;

namespace {

constexpr int kEntries = 100'000;

// The ids of the entries of the middle year, in date order.
const QList<quint32>& yearIds() {
    static const QList<quint32> ids = [] {
        QList<quint32> out;
        const auto from = platform::toFileTime({bench::kMiddleYear, 1, 0, 1, 0, 0, 0, 0});
        const auto to = platform::toFileTime({bench::kMiddleYear, 12, 0, 31, 23, 59, 59, 0});
        TimeEntries(bench::largeProfile(kEntries).store.entries())
            .forEachInRange(*from, *to, [&](const TimeEntry& e) {
                out.append(e.recordId);
                return true;
            });
        return out;
    }();
    return ids;
}

void BM_QuickSummaryYear(benchmark::State& state) {
    RecordStore& store = bench::largeProfile(kEntries).store;
    const QList<quint32>& ids = yearIds();
    for (auto _ : state)
        benchmark::DoNotOptimize(quickSummaryRows(store, SummaryPeriod(), ids, false));
    state.SetItemsProcessed(state.iterations() * ids.size());
}
BENCHMARK(BM_QuickSummaryYear)->Unit(benchmark::kMillisecond);

void BM_QuickSummaryYearSqlite(benchmark::State& state) {
    platform::ObjectStore& objects = *bench::largeProfile(kEntries).store.objectStore();
    const QList<quint32>& ids = yearIds();
    platform::SqliteStatement byId =
        static_cast<platform::SqliteObjectStore&>(objects).connection().prepare(
            "SELECT props FROM records WHERE id = ?1");
    for (auto _ : state) {
        platform::ReadSnapshot snapshot(objects);
        for (const quint32 id : ids) {
            byId.reset().bind(1, qint64(id));
            if (byId.step())
                benchmark::DoNotOptimize(byId.blob(0));
        }
        byId.reset();
    }
    state.SetItemsProcessed(state.iterations() * ids.size());
}
BENCHMARK(BM_QuickSummaryYearSqlite)->Unit(benchmark::kMillisecond);

}  // namespace
