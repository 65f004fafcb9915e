// The XML export and the Tabular report of 100,000 entries of a heavy
// user's data, the Mileage Expense report of 20,000 expenses, and the
// report page's document at 1,000 and 10,000 rows, whose times should grow
// tenfold, not a hundredfold.
#include <benchmark/benchmark.h>

#include <QDir>
#include <QTemporaryDir>
#include <map>

#include "BenchSupport.h"
#include "LargeStore.h"
#include "platform/ObjectStore.h"
#include "platform/Profile.h"
#include "platform/Registry.h"
#include "platform/Ui.h"
#include "records/EntryFilter.h"
#include "records/ExpenseCriteria.h"
#include "reports/ReportFiles.h"
#include "reports/ReportLayout.h"
#include "reports/ReportPage.h"
#include "settings/Context.h"
#include "settings/Settings.h"
#include "store/ExpenseEntry.h"
#include "store/Expenses.h"
#include "store/RecordStore.h"

using namespace tempolatch;

namespace {

// The profile folder, made, whose registry the fixture opens.
QString enterProfile(const QString& folder) {
    QDir().mkpath(folder);
    platform::Profile::setFolder(folder);
    return platform::Profile::registryPath();
}

struct ReportFixture {
    QTemporaryDir dir;
    RecordStore store;
    Settings settings;
    platform::ConsoleUi ui;
    platform::Registry registry{enterProfile(dir.filePath(QStringLiteral("profile")))};
    Context context{store, settings, ui, registry};
    explicit ReportFixture(int entries) {
        store.openAll();
        bench::generateLargeStore(store, entries);
    }
    QString file(const char* name) const { return dir.filePath(QLatin1String(name)); }
};

ReportFixture& fixture(int entries) {
    static std::map<int, std::unique_ptr<ReportFixture>> fixtures;
    auto& slot = fixtures[entries];
    if (!slot)
        slot = std::make_unique<ReportFixture>(entries);
    return *slot;
}

void entries(benchmark::internal::Benchmark* b) {
    b->Arg(100'000)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
}

// Every entry, in the UTF-8 and the Shift_JIS encodings.
void BM_XmlExport(benchmark::State& state) {
    ReportFixture& f = fixture(int(state.range(0)));
    f.settings.encoding = quint16(state.range(1));
    bool ok = true;
    for (auto _ : state)
        ok = writeXmlFile(f.store, f.settings, EntryFilter(), f.file("entries.xml")) && ok;
    if (!ok)
        state.SkipWithError("the export failed");
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_XmlExport)
    ->Args({100'000, 1})
    ->Args({100'000, 5})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->UseRealTime();

void BM_TabularReport(benchmark::State& state) {
    ReportFixture& f = fixture(int(state.range(0)));
    ReportLayout layout = ReportLayout::builtInDefault(ReportLayout::Tabular);
    layout.setFieldMask(0x3FFFF);  // every field, the note's text included
    bool ok = true;
    for (auto _ : state)
        ok = writeReportFile(f.context, layout, EntryFilter(), f.file("report.html")) && ok;
    if (!ok)
        state.SkipWithError("the report failed");
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_TabularReport)->Apply(entries);

// Every expense of a store of `count` mileage and general expenses, half of
// them mileage, into the Mileage Expense report with every field shown.
void BM_MileageExpenseReport(benchmark::State& state) {
    const int count = int(state.range(0));
    QTemporaryDir dir;
    platform::Profile::setFolder(dir.filePath(QStringLiteral("profile")));
    RecordStore store;
    store.openAll();
    {
        platform::StoreBatch batch(*store.objectStore());
        Expenses expenses(store);
        for (int i = 0; i < count; ++i) {
            ExpenseEntry e;
            e.type = i % 2 ? ExpenseType::General : ExpenseType::Mileage;
            e.date = bench::instantOf(i);
            e.modified = e.date;
            e.description = QStringLiteral("Trip %1").arg(i);
            e.client = QStringLiteral("Client %1").arg(i % 40);
            e.billTo = QStringLiteral("Accounts");
            e.currency = QStringLiteral("USD");
            e.amount = 35;
            e.startOdometer = 1000 + i;
            e.distance = 1 + i % 90;
            e.receipt = i % 3 == 0;
            expenses.add(e);
        }
        batch.commit();
    }
    Settings settings;
    ReportLayout layout = ReportLayout::builtInDefault(ReportLayout::MileageExpense);
    layout.setFieldMask((1u << ReportLayout::ExpenseFields) - 1);
    bool ok = true;
    for (auto _ : state)
        ok = writeExpenseReportFile(store, settings, layout, ExpenseCriteria(),
                                    dir.filePath(QStringLiteral("miles.html"))) &&
             ok;
    if (!ok)
        state.SkipWithError("the report failed");
    state.SetItemsProcessed(state.iterations() * count / 2);
}
BENCHMARK(BM_MileageExpenseReport)->Arg(20'000)->Unit(benchmark::kMillisecond)->UseRealTime();

// A report page of `rows` rows of eight cells, built and read as text.
void BM_ReportPageRows(benchmark::State& state) {
    const int rows = int(state.range(0));
    const QStringList captions = {QStringLiteral("Entry Date"), QStringLiteral("Client"),
                                  QStringLiteral("Project"),    QStringLiteral("Phase"),
                                  QStringLiteral("Task"),       QStringLiteral("Bill To"),
                                  QStringLiteral("Start Time"), QStringLiteral("Duration")};
    for (auto _ : state) {
        ReportPage page;
        page.frame(QStringLiteral("Rows"), QStringLiteral("UTF-8"));
        page.beginTable(captions);
        for (int i = 0; i < rows; ++i) {
            QList<ReportPage::Cell> cells;
            for (int c = 0; c < 8; ++c)
                cells.append({QStringLiteral("cell %1 & %2").arg(i).arg(c), c == 7});
            page.addRow(cells);
        }
        page.endTable();
        benchmark::DoNotOptimize(page.text());
    }
    state.SetItemsProcessed(state.iterations() * rows);
}
BENCHMARK(BM_ReportPageRows)->Arg(1'000)->Arg(10'000)->Unit(benchmark::kMillisecond);

}  // namespace
