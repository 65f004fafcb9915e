// Store benchmarks: bulk adds, and the week walk that views and reports do,
// in small and large stores (the walk should cost the same in both).
#include <benchmark/benchmark.h>

#include <map>

#include "BenchSupport.h"
#include "platform/DatabaseHandle.h"

using namespace tempolatch;
using namespace tempolatch::platform;

namespace {

constexpr quint32 kDate = 0x03E90040;

PropertyList recordAt(int i) {
    return {Property::fileTime(kDate, bench::instantOf(i)),
            Property::string(0x03EA001F, QStringLiteral("Client %1").arg(i % 50)),
            Property::string(0x03ED001F, QStringLiteral("Design")), Property::ui2(0x03EE0012, 150),
            Property::ui4(0x03F00013, 6000)};
}

quint32 fill(ObjectStore& store, int count) {
    const quint32 db =
        store.createDatabase(QStringLiteral("Tempolatch Data 1"), 0x04C48CF1, {kDate});
    StoreBatch batch(store);
    for (int i = 0; i < count; ++i)
        store.writeRecord(db, 0, recordAt(i));
    batch.commit();
    return db;
}

void BM_StoreAdd100k(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        bench::TempStore temp;
        state.ResumeTiming();
        fill(*temp.store, 100'000);
    }
    state.SetItemsProcessed(state.iterations() * 100'000);
}
BENCHMARK(BM_StoreAdd100k)->Unit(benchmark::kMillisecond)->Iterations(1);

struct FilledStore {
    bench::TempStore temp;
    quint32 db = 0;
};

FilledStore& filledStore(int count) {
    static std::map<int, std::unique_ptr<FilledStore>> stores;
    auto& slot = stores[count];
    if (!slot) {
        slot = std::make_unique<FilledStore>();
        slot->db = fill(*slot->temp.store, count);
    }
    return *slot;
}

void BM_StoreWeekWalk(benchmark::State& state) {
    const int count = int(state.range(0));
    FilledStore& filled = filledStore(count);
    auto handle = filled.temp.store->openDatabase(filled.db, kDate);
    const int middleWeek = count / bench::kPerWeek / 2;
    const FileTime start = bench::instantOf(middleWeek * bench::kPerWeek).addMinutes(-60);
    const FileTime end = start.addDays(7);
    PropertyList props;
    int read = 0;
    for (auto _ : state) {
        read = 0;
        for (quint32 id = handle->seekGreaterOrEqual(Property::fileTime(kDate, start)); id;
             id = handle->seekCurrent(1)) {
            handle->readCurrent(props);
            if (findProperty(props, kDate)->toFileTime() > end)
                break;
            ++read;
        }
        benchmark::DoNotOptimize(props);
    }
    state.counters["records"] = read;
}
BENCHMARK(BM_StoreWeekWalk)->Arg(1000)->Arg(100'000)->Unit(benchmark::kMicrosecond);

}  // namespace
