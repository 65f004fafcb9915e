// A walk over records that all share one key (a dump of entries that all
// start at the same moment), against SQLite reading the same rows in one
// statement: the walk should cost a small multiple of that, and grow with
// the records, whatever the ties.
#include <benchmark/benchmark.h>

#include <map>

#include "BenchSupport.h"
#include "platform/DatabaseHandle.h"
#include "platform/Sqlite.h"
#include "platform/SqliteObjectStore.h"

using namespace tempolatch;
using namespace tempolatch::platform;

namespace {

constexpr quint32 kDate = 0x03E90040;

struct TiedStore {
    bench::TempStore temp;
    quint32 db = 0;
    explicit TiedStore(int count) {
        ObjectStore& store = *temp.store;
        db = store.createDatabase(QStringLiteral("Tempolatch Data 1"), 0x04C48CF1, {kDate});
        StoreBatch batch(store);
        for (int i = 0; i < count; ++i)
            store.writeRecord(
                db, 0,
                {Property::fileTime(kDate, bench::firstDay()),
                 Property::string(0x03EA001F, QStringLiteral("Client %1").arg(i % 50)),
                 Property::ui2(0x03EE0012, 150)});
        batch.commit();
    }
};

TiedStore& tiedStore(int count) {
    static std::map<int, std::unique_ptr<TiedStore>> stores;
    auto& slot = stores[count];
    if (!slot)
        slot = std::make_unique<TiedStore>(count);
    return *slot;
}

void BM_WalkEqualKeys(benchmark::State& state) {
    TiedStore& tied = tiedStore(int(state.range(0)));
    auto handle = tied.temp.store->openDatabase(tied.db, kDate);
    PropertyList props;
    int read = 0;
    for (auto _ : state) {
        read = 0;
        for (quint32 id = handle->seekBeginning(); id; id = handle->seekCurrent(1)) {
            handle->readCurrent(props);
            ++read;
        }
    }
    state.SetItemsProcessed(state.iterations() * read);
}
BENCHMARK(BM_WalkEqualKeys)->Arg(25'000)->Arg(100'000)->Unit(benchmark::kMillisecond);

// The baseline: the same rows in the same order from one statement.
void BM_WalkEqualKeysSqlite(benchmark::State& state) {
    TiedStore& tied = tiedStore(int(state.range(0)));
    SqliteStatement all =
        static_cast<platform::SqliteObjectStore&>(*tied.temp.store)
            .connection()
            .prepare("SELECT id, k1, props FROM records WHERE db = ?1 ORDER BY k1, id");
    int read = 0;
    for (auto _ : state) {
        read = 0;
        all.reset().bind(1, qint64(tied.db));
        while (all.step()) {
            benchmark::DoNotOptimize(all.blob(2));
            ++read;
        }
        all.reset();
    }
    state.SetItemsProcessed(state.iterations() * read);
}
BENCHMARK(BM_WalkEqualKeysSqlite)->Arg(25'000)->Arg(100'000)->Unit(benchmark::kMillisecond);

}  // namespace
