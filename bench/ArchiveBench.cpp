// Archiving with deletion the older half of 200,000 time entries (with
// 20,000 expenses, all of which every archive carries), and loading that
// archive back. Compare with BM_Backup/100000 and BM_Restore/100000: the
// same number of entries written and read.
#include <benchmark/benchmark.h>

#include <QTemporaryDir>

#include "BackupStore.h"
#include "BenchSupport.h"
#include "platform/Profile.h"
#include "store/RecordStore.h"
#include "transfer/ArchiveOperation.h"

using namespace tempolatch;
using namespace tempolatch::platform;

namespace {

constexpr int kEntries = 200'000;
constexpr int kArchived = 100'000;

struct ArchiveFixture {
    QTemporaryDir dir;
    QString file;
    RecordStore store;
    ArchiveFixture() {
        Profile::setFolder(dir.filePath(QStringLiteral("profile")));
        store.openAll();
        bench::fillBackupStore(store, kEntries);
        file = dir.filePath(QStringLiteral("half.tla"));
    }
    // The first half of the entries (they lie one second after instantOf).
    ArchiveOperation::ArchiveResult archiveHalf(bool deleteArchived = true) {
        ArchiveOperation archive(
            store, bench::firstDay(),
            bench::instantOf(kArchived - 1).addTicks(FileTime::TicksPerSecond));
        const auto result = archive.archive(file, deleteArchived);
        return int(archive.archivedIds().size()) == kArchived
                   ? result
                   : ArchiveOperation::ArchiveResult::WriteFailed;
    }
};

ArchiveFixture& fixture() {
    static ArchiveFixture instance;
    return instance;
}

// The same file without the deletion: what the deletion costs.
void BM_ArchiveKeeping(benchmark::State& state) {
    ArchiveFixture& f = fixture();
    auto result = ArchiveOperation::ArchiveResult::WriteFailed;
    for (auto _ : state)
        result = f.archiveHalf(false);
    if (result != ArchiveOperation::ArchiveResult::Written || f.store.entryCount() != kEntries)
        state.SkipWithError("the archive failed");
    state.SetItemsProcessed(state.iterations() * (kArchived + kEntries / 10));
}
BENCHMARK(BM_ArchiveKeeping)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

void BM_ArchiveWithDeletion(benchmark::State& state) {
    ArchiveFixture& f = fixture();
    if (f.store.entryCount() != kEntries) {
        state.SkipWithError("the store does not hold every entry");
        return;
    }
    auto result = ArchiveOperation::ArchiveResult::WriteFailed;
    for (auto _ : state)
        result = f.archiveHalf();
    if (result != ArchiveOperation::ArchiveResult::Written ||
        f.store.entryCount() != kEntries - kArchived)
        state.SkipWithError("the archive failed");
    state.SetItemsProcessed(state.iterations() * (kArchived + kEntries / 10));
}
BENCHMARK(BM_ArchiveWithDeletion)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

// Adds the archived half back; every expense of the file is in the store
// already and is looked up rather than added.
void BM_LoadArchive(benchmark::State& state) {
    ArchiveFixture& f = fixture();
    if (f.store.entryCount() == kEntries &&
        f.archiveHalf() != ArchiveOperation::ArchiveResult::Written) {
        state.SkipWithError("the archive failed");
        return;
    }
    int result = BackupOperation::RestoreFailed;
    int skipped = 0;
    for (auto _ : state) {
        ArchiveOperation load(f.store);
        result = load.loadArchive(f.file);
        skipped = load.skippedExpenses();
    }
    if (result != BackupOperation::RestoreOk || f.store.entryCount() != kEntries ||
        skipped != kEntries / 10)
        state.SkipWithError("loading the archive failed");
    state.SetItemsProcessed(state.iterations() * (kArchived + kEntries / 10));
}
BENCHMARK(BM_LoadArchive)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

}  // namespace
