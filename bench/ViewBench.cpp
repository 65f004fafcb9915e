// The full reload of a Week view with the Simple list: seek and walk the
// week, filter, build the rows, arrange them and fill the list widget. It
// should cost the same in a small and a large store.
#include <benchmark/benchmark.h>

#include <map>

#include "BenchSupport.h"
#include "platform/Registry.h"
#include "records/EntryFilter.h"
#include "settings/Settings.h"
#include "store/TimeEntries.h"
#include "store/TimeEntry.h"
#include "views/PeriodView.h"
#include "views/SimpleEntryList.h"
#include "views/TimeEntryRows.h"

using namespace tempolatch;
using namespace tempolatch::platform;

namespace {

struct WeekStore {
    bench::TempStore temp;
    RecordStore records;

    explicit WeekStore(int count) : records(std::move(temp.store)) {
        records.openAll();
        StoreBatch batch(*records.objectStore());
        for (int i = 0; i < count; ++i) {
            TimeEntry e;
            e.date = bench::instantOf(i).addTicks(FileTime::TicksPerSecond);
            e.client = QStringLiteral("Client %1").arg(i % 50);
            e.project = QStringLiteral("Project %1").arg(i % 7);
            e.task = QStringLiteral("Task %1").arg(i % 11);
            e.currency = QStringLiteral("USD");
            e.status = EntryStatus(i % 4);
            e.duration = 150;
            e.rate = 6000;
            e.modified = e.date;
            TimeEntries(records).add(e);
        }
        batch.commit();
    }
};

WeekStore& weekStore(int count) {
    static std::map<int, std::unique_ptr<WeekStore>> stores;
    auto& slot = stores[count];
    if (!slot)
        slot = std::make_unique<WeekStore>(count);
    return *slot;
}

void BM_WeekReloadSimpleList(benchmark::State& state) {
    const int count = int(state.range(0));
    WeekStore& store = weekStore(count);
    Settings settings;
    settings.sort = 1;  // arranged by client
    EntryFilter filter;
    filter.paid = false;  // the filter has work to do
    TimeEntryRecords records(filter, settings, store.records);
    // The list keeps its column widths in a registry beside the store.
    platform::Registry registry(store.temp.dir.filePath(QStringLiteral("registry.db")));
    SimpleEntryList list(ColumnLayout::timeEntries(), registry);
    list.resize(800, 600);
    auto view = PeriodView::make(PeriodView::Week, settings);
    view->attach(&list, &records);
    const SystemTime middle =
        *toSystemTime(bench::instantOf(count / bench::kPerWeek / 2 * bench::kPerWeek));
    view->setPeriod(middle, middle);
    for (auto _ : state)
        view->reload(0, 0);
    state.counters["rows"] = double(list.recordIds().size());
}
BENCHMARK(BM_WeekReloadSimpleList)->Arg(1000)->Arg(100'000)->Unit(benchmark::kMicrosecond);

}  // namespace
