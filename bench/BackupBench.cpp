// Backup and restore of a large data set: 100,000 time entries, 10,000
// expenses and 200 clients with their projects, tasks, contacts and rates;
// also a tenth and a fifth of the entries and expenses, to show how the
// cost grows.
#include <benchmark/benchmark.h>

#include <QFile>
#include <QTemporaryDir>
#include <map>

#include "BackupStore.h"
#include "platform/Profile.h"
#include "store/RecordStore.h"
#include "transfer/BackupOperation.h"

using namespace tempolatch;
using namespace tempolatch::platform;

namespace {

// One profile with the data set of `entries` time entries and a file for
// its backup, made once per size.
struct BackupFixture {
    QTemporaryDir dir;
    QString file;
    RecordStore store;
    explicit BackupFixture(int entries) {
        Profile::setFolder(dir.filePath(QStringLiteral("profile")));
        store.openAll();
        bench::fillBackupStore(store, entries);
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
    state.SetItemsProcessed(state.iterations() * bench::backupRecordsOf(entries));
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
    state.SetItemsProcessed(state.iterations() * bench::backupRecordsOf(entries));
}
BENCHMARK(BM_Restore)->Apply(sizes);

}  // namespace
