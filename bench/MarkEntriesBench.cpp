// Mark Paid Entries over a range that holds 100,000 of a store's 200,000
// entries, beside the store's own walk-and-update of the same entries in
// one transaction. The command adds the criteria, the progress callback and
// the stamping to that walk; it should stay within a few times its cost.
// Each run works on a fresh copy of one generated store.
#include <benchmark/benchmark.h>

#include <QFile>
#include <QTemporaryDir>

#include "LargeStore.h"
#include "platform/ObjectStore.h"
#include "platform/Profile.h"
#include "records/EntryCriteria.h"
#include "records/EntryFilter.h"
#include "records/PeriodMath.h"
#include "records/RecordMarking.h"
#include "store/RecordStore.h"
#include "store/TimeEntries.h"

using namespace tempolatch;

namespace {

constexpr int kEntries = 200'000;

// The generated entries run from 2021-01-05 over 1826 days: the first 913
// days hold half of them.
platform::SystemTime rangeStart() {
    return periodmath::dateOnly(platform::SystemTime{2021, 1, 0, 5, 0, 0, 0, 0});
}
platform::SystemTime rangeEnd() {
    return periodmath::endOfDay(periodmath::addDays(rangeStart(), 912));
}

// The generated store, closed, kept as a file to copy.
const QString& pristineStore() {
    static QTemporaryDir dir;
    static const QString path = [] {
        platform::Profile::setFolder(dir.path());
        {
            RecordStore store;
            if (!store.openAll() || !bench::generateLargeStore(store, kEntries))
                qFatal("cannot generate a store of %d entries", kEntries);
        }
        return platform::Profile::storePath();
    }();
    return path;
}

// A copy of the generated store in a profile of its own.
struct WorkingCopy {
    QTemporaryDir dir;
    std::unique_ptr<RecordStore> store;

    WorkingCopy() {
        const QString& source = pristineStore();
        platform::Profile::setFolder(dir.path());
        if (!QFile::copy(source, platform::Profile::storePath()))
            qFatal("cannot copy the store");
        store = std::make_unique<RecordStore>();
        if (!store->openAll())
            qFatal("cannot open the copied store");
    }
};

template <typename Run>
void timeOnCopies(benchmark::State& state, Run run) {
    int marked = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto copy = std::make_unique<WorkingCopy>();
        state.ResumeTiming();
        marked = run(*copy->store);
        state.PauseTiming();
        copy.reset();
        state.ResumeTiming();
    }
    state.counters["marked"] = marked;
}

void BM_MarkPaidEntries(benchmark::State& state) {
    const platform::FileTime now = *platform::toFileTime(rangeEnd());
    const EntryFilter criteria = presetCriteria(CriteriaMode::MarkPaid, rangeStart(), rangeEnd());
    timeOnCopies(state, [&](RecordStore& store) {
        int visited = 0;
        const auto result =
            entrymarking::markEntries(store, criteria, entrymarking::Mark::Paid, now, now,
                                      [&](const TimeEntry&) { ++visited; });
        if (result.result != WriteResult::Written)
            qFatal("marking failed");
        return result.written;
    });
}
BENCHMARK(BM_MarkPaidEntries)->Unit(benchmark::kMillisecond)->Iterations(3);

// The baseline: one transaction, the range walked and every Billable or
// Billed entry rewritten as Paid, nothing else.
void BM_StoreWalkAndUpdate(benchmark::State& state) {
    const platform::FileTime now = *platform::toFileTime(rangeEnd());
    const platform::FileTime from = *platform::toFileTime(rangeStart());
    timeOnCopies(state, [&](RecordStore& store) {
        platform::StoreBatch batch(*store.objectStore());
        TimeEntries entries(store);
        int written = 0;
        entries.forEachInRange(from, now, [&](const TimeEntry& stored) {
            if (stored.status != EntryStatus::Billable && stored.status != EntryStatus::Billed)
                return true;
            TimeEntry entry = stored;
            entry.status = EntryStatus::Paid;
            entry.paidDate = now;
            entry.modified = now;
            written += entries.update(entry) == WriteResult::Written;
            return true;
        });
        if (!batch.commit())
            qFatal("commit failed");
        return written;
    });
}
BENCHMARK(BM_StoreWalkAndUpdate)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
