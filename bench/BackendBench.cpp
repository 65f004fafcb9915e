// The same work on the profile's file store and on a server store, side by
// side in one run: a Week reload of the Simple list, a Month of the Tree
// list, a restore of 100,000 entries and a dump of the whole store. The
// server store is made in a schema of its own in the database that
// TEMPOLATCH_BENCH_SERVER names (a postgresql:// address; bench/server.sh
// starts a private server and runs these); without it the server's runs
// are skipped.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

#include "BackupStore.h"
#include "BenchSupport.h"
#include "platform/Profile.h"
#include "platform/Registry.h"
#include "platform/postgres/PgConnection.h"
#include "records/EntryFilter.h"
#include "settings/Settings.h"
#include "store/RecordStore.h"
#include "store/StoreCopy.h"
#include "store/StoreDump.h"
#include "transfer/BackupOperation.h"
#include "views/PeriodView.h"
#include "views/SimpleEntryList.h"
#include "views/TimeEntryRows.h"
#include "views/TreeEntryList.h"

using namespace tempolatch;

namespace {

constexpr int kEntries = 100'000;
enum Backend { File = 0, Server = 1 };

// One profile with the data set in its file, a backup of it, and the same
// data copied into a server store.
struct Backends {
    QTemporaryDir dir;
    QString backup;
    QString server;  // the server store's address; empty when there is none
    QString schema = QStringLiteral("bench_%1").arg(QCoreApplication::applicationPid());

    Backends() {
        platform::Profile::setFolder(dir.filePath(QStringLiteral("profile")));
        backup = dir.filePath(QStringLiteral("large.tld"));
        {
            RecordStore store;
            store.openAll();
            bench::fillBackupStore(store, kEntries);
            BackupOperation(store).backup(backup);
        }
        const QString base = qEnvironmentVariable("TEMPOLATCH_BENCH_SERVER");
        if (base.isEmpty() || !runOnServer(base, "CREATE SCHEMA " + schema.toUtf8()))
            return;
        server = base + (base.contains(QLatin1Char('?')) ? QLatin1Char('&') : QLatin1Char('?')) +
                 QStringLiteral("options=-csearch_path%3D") + schema;
        QString error;
        if (!copyStore(platform::Profile::storePath(), server, &error)) {
            qWarning("the server store was not filled: %s", qPrintable(error));
            server.clear();
        }
    }
    ~Backends() {
        const QString base = qEnvironmentVariable("TEMPOLATCH_BENCH_SERVER");
        if (!base.isEmpty())
            runOnServer(base, "DROP SCHEMA IF EXISTS " + schema.toUtf8() + " CASCADE");
    }
    static bool runOnServer(const QString& address, const QByteArray& sql) {
        QString error;
        auto connection = platform::PgConnection::open(address, &error);
        if (!connection || !connection->exec(sql.constData())) {
            qWarning("%s", qPrintable(connection ? connection->lastError() : error));
            return false;
        }
        return true;
    }
};

Backends& backends() {
    static Backends made;
    return made;
}

// The store of that backend, open; nullptr (the run skipped) when there is none.
std::unique_ptr<RecordStore> openStore(benchmark::State& state) {
    Backends& b = backends();
    const bool onServer = state.range(0) == Server;
    state.SetLabel(onServer ? "server" : "file");
    if (onServer && b.server.isEmpty()) {
        state.SkipWithError("no server store: set TEMPOLATCH_BENCH_SERVER");
        return nullptr;
    }
    platform::Profile::setStore(onServer ? b.server : QString());
    auto store = std::make_unique<RecordStore>();
    if (!store->openAll()) {
        state.SkipWithError("the store did not open");
        return nullptr;
    }
    return store;
}

// The period in the middle of the data.
platform::SystemTime middle() {
    return *platform::toSystemTime(bench::instantOf(kEntries / 2));
}

void reloadPeriod(benchmark::State& state, int kind, EntryListWidget& list) {
    auto store = openStore(state);
    if (!store)
        return;
    Settings settings;
    settings.treeOptions = 0x1F;
    EntryFilter filter;
    TimeEntryRecords records(filter, settings, *store);
    list.widget()->resize(800, 600);
    auto view = PeriodView::make(kind, settings);
    view->attach(&list, &records);
    view->setPeriod(middle(), middle());
    for (auto _ : state)
        view->reload(0, 0);
    state.counters["rows"] = double(list.recordIds().size());
}

void BM_BackendWeekReload(benchmark::State& state) {
    platform::Registry registry(backends().dir.filePath(QStringLiteral("registry.db")));
    SimpleEntryList list(ColumnLayout::timeEntries(), registry);
    reloadPeriod(state, PeriodView::Week, list);
}
BENCHMARK(BM_BackendWeekReload)->Arg(File)->Arg(Server)->Unit(benchmark::kMicrosecond);

void BM_BackendMonthTree(benchmark::State& state) {
    TreeEntryList list;
    reloadPeriod(state, PeriodView::Month, list);
}
BENCHMARK(BM_BackendMonthTree)->Arg(File)->Arg(Server)->Unit(benchmark::kMillisecond);

// Deletes all data and restores the backup of 100,000 entries (and their
// expenses and clients) in one transaction; items per second are records.
void BM_BackendRestore(benchmark::State& state) {
    auto store = openStore(state);
    if (!store)
        return;
    int result = 0;
    for (auto _ : state)
        result = BackupOperation(*store).restore(backends().backup, true);
    if (result != BackupOperation::RestoreOk || store->entryCount() != kEntries)
        state.SkipWithError("the restore failed");
    state.SetItemsProcessed(state.iterations() * bench::backupRecordsOf(kEntries));
}
BENCHMARK(BM_BackendRestore)
    ->Arg(File)
    ->Arg(Server)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->UseRealTime();

// Every record of the store as text, as `tempolatch dump` writes it.
void BM_BackendDump(benchmark::State& state) {
    auto store = openStore(state);
    if (!store)
        return;
    QFile sink(QStringLiteral("/dev/null"));
    sink.open(QIODevice::WriteOnly);
    for (auto _ : state) {
        QTextStream out(&sink);
        dumpStore(*store->objectStore(), out);
    }
    state.SetItemsProcessed(state.iterations() * bench::backupRecordsOf(kEntries));
}
BENCHMARK(BM_BackendDump)
    ->Arg(File)
    ->Arg(Server)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->UseRealTime();

}  // namespace
