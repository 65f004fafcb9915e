// Backup and restore of a large data set: 100,000 time entries, 10,000
// expenses and 200 clients with their projects, tasks, contacts and rates;
// also a tenth and a fifth of the entries and expenses, to show how the
// cost grows.
#include <benchmark/benchmark.h>

#include <QFile>
#include <QTemporaryDir>
#include <map>

#include "BenchSupport.h"
#include "platform/Profile.h"
#include "store/Client.h"
#include "store/ClientNames.h"
#include "store/ExpenseEntry.h"
#include "store/Expenses.h"
#include "store/Project.h"
#include "store/Rate.h"
#include "store/Rates.h"
#include "store/RecordStore.h"
#include "store/TimeEntries.h"
#include "store/TimeEntry.h"
#include "transfer/BackupOperation.h"

using namespace tempolatch;
using namespace tempolatch::platform;

namespace {

constexpr int kClients = 200;

// Records of the client structure: per client 4 pairs, 2 tasks, 2 contacts
// and 2 rates, plus 3 default rates.
constexpr int kStructureRecords = kClients * (1 + 4 + 2 + 2 + 2) + 3;

int recordsOf(int entries) {
    return entries + entries / 10 + kStructureRecords;
}

void fillStore(RecordStore& store, int entries) {
    StoreBatch batch(*store.objectStore());
    for (int i = 0; i < entries; ++i) {
        TimeEntry e;
        e.date = bench::instantOf(i).addTicks(FileTime::TicksPerSecond);
        e.client = QStringLiteral("Client %1").arg(i % kClients);
        e.project = QStringLiteral("Project %1").arg(i % 4);
        e.task = QStringLiteral("Design");
        e.currency = QStringLiteral("USD");
        e.status = EntryStatus::Billable;
        e.duration = 150;
        e.rate = 6000;
        e.modified = e.date;
        if (i % 10 == 0)
            e.note = QByteArray(200, 'n');
        TimeEntries(store.entries()).add(e);
    }
    for (int i = 0; i < entries / 10; ++i) {
        ExpenseEntry x;
        x.date = bench::instantOf(i * 10);
        x.client = QStringLiteral("Client %1").arg(i % kClients);
        x.description = QStringLiteral("Lunch");
        x.category = QStringLiteral("Meals");
        x.amount = 1250;
        x.modified = x.date;
        Expenses(store.expenses()).add(x);
    }
    ClientStructureStore& s = store.clientStructure();
    auto addRateOf = [&](quint32 clientId, const QString& description, qint32 value) {
        Rate r;
        r.clientId = clientId;
        r.description = description;
        r.rate = value;
        r.modified = bench::firstDay();
        Rates(s.rates).add(r);
    };
    for (int c = 0; c < kClients; ++c) {
        Client client{0, QStringLiteral("Client %1").arg(c), 0};
        addClient(s.clients, client);
        for (int p = 0; p < 4; ++p)
            addProjectTask(s.projects, client.clientId, QStringLiteral("Project %1").arg(p),
                           QStringLiteral("Design"));
        addTask(s.tasks, client.clientId, QStringLiteral("Admin"));
        addTask(s.tasks, client.clientId, QStringLiteral("Travel"));
        addContact(s.contacts, client.clientId, QStringLiteral("Accounts"));
        addContact(s.contacts, client.clientId, QStringLiteral("Owner"));
        addRateOf(client.clientId, QStringLiteral("Standard"), 8000);
        addRateOf(client.clientId, QStringLiteral("Late"), 12000);
    }
    for (int d = 0; d < 3; ++d)
        addRateOf(0, QStringLiteral("Default %1").arg(d), 5000 + d);
    batch.commit();
}

// One profile with the data set of `entries` time entries and a file for
// its backup, made once per size.
struct BackupFixture {
    QTemporaryDir dir;
    QString file;
    RecordStore store;
    explicit BackupFixture(int entries) {
        Profile::setFolder(dir.filePath(QStringLiteral("profile")));
        store.openAll();
        fillStore(store, entries);
        file = dir.filePath(QStringLiteral("large.tld"));
    }
};

BackupFixture& fixture(int entries) {
    static std::map<int, std::unique_ptr<BackupFixture>> fixtures;
    auto& slot = fixtures[entries];
    if (!slot)
        slot = std::make_unique<BackupFixture>(entries);
    return *slot;
}

// One slow run per size: 10,000, 20,000 and 100,000 entries.
void sizes(benchmark::internal::Benchmark* b) {
    b->Arg(10'000)->Arg(20'000)->Arg(100'000);
    b->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
}

void BM_Backup(benchmark::State& state) {
    const int entries = int(state.range(0));
    BackupFixture& f = fixture(entries);
    bool ok = true;
    for (auto _ : state)
        ok = BackupOperation(f.store).backup(f.file) && ok;
    if (!ok)
        state.SkipWithError("the backup failed");
    state.SetItemsProcessed(state.iterations() * recordsOf(entries));
}
BENCHMARK(BM_Backup)->Apply(sizes);

// Deletes all data and restores the backup, in one transaction. The items
// per second are the restore rate in records.
void BM_Restore(benchmark::State& state) {
    const int entries = int(state.range(0));
    BackupFixture& f = fixture(entries);
    // The backup benchmark has usually written the file already.
    if (!QFile::exists(f.file) && !BackupOperation(f.store).backup(f.file)) {
        state.SkipWithError("the backup failed");
        return;
    }
    int result = 0;
    for (auto _ : state)
        result = BackupOperation(f.store).restore(f.file, true);
    if (result != BackupOperation::RestoreOk || f.store.entryCount() != entries)
        state.SkipWithError("the restore failed");
    state.SetItemsProcessed(state.iterations() * recordsOf(entries));
}
BENCHMARK(BM_Restore)->Apply(sizes);

}  // namespace
