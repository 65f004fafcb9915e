// The client structure under one large client: adding a task name checks
// that the client does not have it yet, which must cost the same whether
// the client has a thousand names or sixteen thousand.
#include <benchmark/benchmark.h>

#include <map>

#include "BenchSupport.h"
#include "store/ClientNames.h"
#include "store/Databases.h"

using namespace tempolatch;
using namespace tempolatch::platform;

namespace {

constexpr quint32 kClient = 7;

struct TaskStore {
    bench::TempStore temp;
    TasksDatabase db{temp.store.get()};

    explicit TaskStore(int count) {
        db.open();
        StoreBatch batch(*temp.store);
        for (int i = 0; i < count; ++i)
            addTask(db, kClient, QStringLiteral("Task %1").arg(i));
        batch.commit();
    }
};

TaskStore& taskStore(int count) {
    static std::map<int, std::unique_ptr<TaskStore>> stores;
    auto& slot = stores[count];
    if (!slot)
        slot = std::make_unique<TaskStore>(count);
    return *slot;
}

// One more name for the client, then gone again, inside a batch that is
// rolled back so that every iteration meets the same store.
void BM_AddTaskToLargeClient(benchmark::State& state) {
    TaskStore& store = taskStore(int(state.range(0)));
    int next = 0;
    for (auto _ : state) {
        StoreBatch batch(*store.temp.store);
        const quint32 id = addTask(store.db, kClient, QStringLiteral("New %1").arg(next++));
        benchmark::DoNotOptimize(id);
        if (id == 0)
            state.SkipWithError("the task was not added");
    }
}
BENCHMARK(BM_AddTaskToLargeClient)->Arg(1'000)->Arg(16'000)->Unit(benchmark::kMicrosecond);

// Restoring a client's names walks the same check for each of them.
void BM_AddAllTasksOfOneClient(benchmark::State& state) {
    const int count = int(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        {
            bench::TempStore temp;
            TasksDatabase db(temp.store.get());
            db.open();
            state.ResumeTiming();
            StoreBatch batch(*temp.store);
            for (int i = 0; i < count; ++i)
                addTask(db, kClient, QStringLiteral("Task %1").arg(i));
            batch.commit();
            state.PauseTiming();
        }
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_AddAllTasksOfOneClient)
    ->Arg(1'000)
    ->Arg(16'000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

}  // namespace
