// Time entry benchmarks: bulk adds through the record layer, the week walk
// that views and reports do (it should cost the same in small and large
// stores), and reads by record id.
#include <benchmark/benchmark.h>

#include <map>

#include "BenchSupport.h"
#include "store/TimeEntries.h"
#include "store/TimeEntry.h"

using namespace tempolatch;
using namespace tempolatch::platform;

namespace {

TimeEntry entryAt(int i) {
    TimeEntry e;
    e.date = bench::instantOf(i).addTicks(FileTime::TicksPerSecond);  // with a start time
    e.client = QStringLiteral("Client %1").arg(i % 50);
    e.project = QStringLiteral("Project %1").arg(i % 7);
    e.task = QStringLiteral("Design");
    e.currency = QStringLiteral("USD");
    e.status = EntryStatus::Billable;
    e.duration = 150;
    e.rate = 6000;
    e.modified = e.date;
    return e;
}

struct EntryStore {
    bench::TempStore temp;
    std::unique_ptr<TimeEntryDatabase> db;
    QList<quint32> ids;

    explicit EntryStore(int count) : db(std::make_unique<TimeEntryDatabase>(temp.store.get())) {
        db->open();
        StoreBatch batch(*temp.store);
        for (int i = 0; i < count; ++i) {
            TimeEntry e = entryAt(i);
            if (TimeEntries(*db).add(e) == WriteResult::Written)
                ids.append(e.recordId);
        }
        batch.commit();
    }
};

EntryStore& entryStore(int count) {
    static std::map<int, std::unique_ptr<EntryStore>> stores;
    auto& slot = stores[count];
    if (!slot)
        slot = std::make_unique<EntryStore>(count);
    return *slot;
}

void BM_EntryAdd100k(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        {
            bench::TempStore temp;
            TimeEntryDatabase db(temp.store.get());
            db.open();
            state.ResumeTiming();
            StoreBatch batch(*temp.store);
            for (int i = 0; i < 100'000; ++i) {
                TimeEntry e = entryAt(i);
                TimeEntries(db).add(e);
            }
            batch.commit();
            state.PauseTiming();
        }
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * 100'000);
}
BENCHMARK(BM_EntryAdd100k)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_EntryWeekWalk(benchmark::State& state) {
    const int count = int(state.range(0));
    TimeEntryDatabase& db = *entryStore(count).db;
    const int middleWeek = count / bench::kPerWeek / 2;
    const FileTime start = bench::instantOf(middleWeek * bench::kPerWeek).addMinutes(-60);
    const FileTime end = start.addDays(7);
    TimeEntries entries(db);
    int read = 0;
    for (auto _ : state) {
        read = 0;
        entries.forEachInRange(start, end, [&](const TimeEntry& e) {
            benchmark::DoNotOptimize(&e);
            ++read;
            return true;
        });
    }
    state.counters["entries"] = read;
}
BENCHMARK(BM_EntryWeekWalk)->Arg(1000)->Arg(100'000)->Unit(benchmark::kMicrosecond);

void BM_EntryReadById(benchmark::State& state) {
    EntryStore& store = entryStore(100'000);
    QList<quint32> wanted;
    for (int i = 0; i < 1000; ++i)
        wanted.append(store.ids.at((i * 7919) % store.ids.size()));
    TimeEntries entries(*store.db);
    std::optional<TimeEntry> entry;
    for (auto _ : state) {
        for (quint32 id : wanted)
            entry = entries.find(id);
        benchmark::DoNotOptimize(entry);
    }
    state.SetItemsProcessed(state.iterations() * wanted.size());
}
BENCHMARK(BM_EntryReadById)->Unit(benchmark::kMicrosecond);

}  // namespace
