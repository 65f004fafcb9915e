// A month of a heavy user's store reloaded in each list style: seek and walk
// the month, filter, build the rows and fill the list widget. The cost per
// row should not depend on the size of the store, and the Tree list should
// stay near the flat lists. The 1,000,000-entry store is generated only with
// TEMPOLATCH_BENCH_MILLION=1 (it takes a while); the start-up benchmark
// opens the main window on the same stores.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QTemporaryDir>
#include <map>

#include "LargeProfile.h"
#include "app/MainFrame.h"
#include "notes/NoteStream.h"
#include "platform/Profile.h"
#include "platform/Registry.h"
#include "platform/WidgetUi.h"
#include "records/EntryFilter.h"
#include "settings/Context.h"
#include "settings/Settings.h"
#include "store/RecordStore.h"
#include "views/DefaultEntryList.h"
#include "views/PeriodView.h"
#include "views/SimpleEntryList.h"
#include "views/TimeEntryRows.h"
#include "views/TreeEntryList.h"

using namespace tempolatch;

namespace {

std::unique_ptr<EntryListWidget> makeList(int style, const Settings& settings,
                                          platform::Registry& registry) {
    switch (style) {
        case EntryList::Tree:
            return std::make_unique<TreeEntryList>();
        case EntryList::Simple:
            return std::make_unique<SimpleEntryList>(ColumnLayout::timeEntries(), registry);
        default:
            return std::make_unique<DefaultEntryList>(settings);
    }
}

void BM_MonthReload(benchmark::State& state) {
    const int style = int(state.range(0));
    const int entries = int(state.range(1));
    bench::LargeProfile& profile = bench::largeProfile(entries);
    Settings settings;
    settings.treeOptions = 0x1F;  // a new profile's tree: every group level
    EntryFilter filter;
    TimeEntryRecords records(filter, settings, profile.store);
    platform::Registry registry(platform::Profile::registryPath());
    std::unique_ptr<EntryListWidget> list = makeList(style, settings, registry);
    list->widget()->resize(800, 600);
    auto view = PeriodView::make(PeriodView::Month, settings);
    view->attach(list.get(), &records);
    const platform::SystemTime middle{bench::kMiddleYear, bench::kMiddleMonth, 0, 15, 0, 0, 0, 0};
    view->setPeriod(middle, middle);
    for (auto _ : state)
        view->reload(0, 0);
    const double rows = double(list->recordIds().size());
    state.counters["rows"] = rows;
    state.counters["per_row"] = benchmark::Counter(
        rows, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    state.SetLabel(style == EntryList::Tree     ? "tree"
                   : style == EntryList::Simple ? "simple"
                                                : "default");
}

void monthArgs(benchmark::internal::Benchmark* b) {
    QList<int> sizes = {1000, 100'000};
    if (qEnvironmentVariableIntValue("TEMPOLATCH_BENCH_MILLION") == 1)
        sizes << 1'000'000;
    for (int style : {EntryList::Default, EntryList::Simple, EntryList::Tree})
        for (int entries : sizes)
            b->Args({style, entries});
}
BENCHMARK(BM_MonthReload)->Apply(monthArgs)->Unit(benchmark::kMillisecond);

// The month reloaded through the search box's words, in the Simple list of
// a store whose entries all have text notes: "minutes" stands only in the
// notes (every entry's note is read, every row shown), "client 07" in a
// client's name (a twentieth of the rows; the others' notes are read for
// "07"), "zzz" nowhere (every note read, no row). per_entry is the time for
// each entry of the month walked, shown or not.
void BM_MonthReloadSearch(benchmark::State& state) {
    static const char* const kWords[] = {"minutes", "client 07", "zzz"};
    const int entries = int(state.range(1));
    bench::LargeProfile& profile = bench::largeProfile(entries, true);
    Settings settings;
    EntryFilter filter;
    TimeEntryRecords records(filter, settings, profile.store);
    platform::Registry registry(platform::Profile::registryPath());
    SimpleEntryList list(ColumnLayout::timeEntries(), registry);
    list.widget()->resize(800, 600);
    auto view = PeriodView::make(PeriodView::Month, settings);
    view->attach(&list, &records);
    const platform::SystemTime middle{bench::kMiddleYear, bench::kMiddleMonth, 0, 15, 0, 0, 0, 0};
    view->setPeriod(middle, middle);
    const double walked = double(list.recordIds().size());
    filter.search = SearchWords(QString::fromLatin1(kWords[state.range(0)]), noteToPlainText);
    for (auto _ : state)
        view->reload(0, 0);
    state.counters["rows"] = double(list.recordIds().size());
    state.counters["per_entry"] = benchmark::Counter(
        walked, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    state.SetLabel(kWords[state.range(0)]);
}

void searchArgs(benchmark::internal::Benchmark* b) {
    QList<int> sizes = {1000, 100'000};
    if (qEnvironmentVariableIntValue("TEMPOLATCH_BENCH_MILLION") == 1)
        sizes << 1'000'000;
    for (int words : {0, 1, 2})
        for (int entries : sizes)
            b->Args({words, entries});
}
BENCHMARK(BM_MonthReloadSearch)->Apply(searchArgs)->Unit(benchmark::kMillisecond);

// From nothing to the painted main window (the profile's month view), the
// store already generated: what the program does between its start and its
// first paint, without the process start and the single-instance check.
void BM_StartUp(benchmark::State& state) {
    const int entries = int(state.range(0));
    bench::LargeProfile& profile = bench::largeProfile(entries);
    for (auto _ : state) {
        platform::Profile::setFolder(profile.dir.path());
        platform::WidgetUi ui;
        Settings settings;
        RecordStore store;
        platform::Registry registry(platform::Profile::registryPath());
        Context context{store, settings, ui, registry};
        MainFrame frame(context);
        if (!frame.create()) {
            state.SkipWithError("the main window did not start");
            break;
        }
        frame.show();
        frame.repaint();
        QCoreApplication::processEvents();
    }
}

void startUpArgs(benchmark::internal::Benchmark* b) {
    b->Arg(0)->Arg(1000)->Arg(100'000);
    if (qEnvironmentVariableIntValue("TEMPOLATCH_BENCH_MILLION") == 1)
        b->Arg(1'000'000);
}
BENCHMARK(BM_StartUp)->Apply(startUpArgs)->Unit(benchmark::kMillisecond);

}  // namespace
