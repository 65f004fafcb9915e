// Replace Field Text over a large store: a client that 100,000 of 200,000
// entries carry is renamed, beside the store's own walk that rewrites the
// same entries in one transaction. Each run renames the client back and
// forth, so every iteration changes the same 100,000 entries.
#include <benchmark/benchmark.h>

#include <QTemporaryDir>
#include <memory>

#include "BenchSupport.h"
#include "clients/FieldReplacement.h"
#include "platform/ObjectStore.h"
#include "platform/Profile.h"
#include "store/ClientStructure.h"
#include "store/RecordStore.h"
#include "store/TimeEntries.h"

using namespace tempolatch;

namespace {

constexpr int kEntries = 200000;

struct ReplaceProfile {
    QTemporaryDir dir;
    RecordStore store;
    bool flipped = false;  // the client is called "Beta" now

    ReplaceProfile() {
        platform::Profile::setFolder(dir.path());
        if (!store.openAll() || !fill())
            qFatal("cannot generate the store");
    }

    bool fill() {
        platform::StoreBatch batch(*store.objectStore());
        ClientStructure structure(store);
        for (const char* name : {"Alpha", "Other"}) {
            Client client{0, QString::fromLatin1(name), 0};
            if (!succeeded(structure.addClient(client)))
                return false;
            structure.addProjectTask(client.clientId, QStringLiteral("Website"),
                                     QStringLiteral("Design"));
        }
        TimeEntries entries(store);
        for (int i = 0; i < kEntries; ++i) {
            TimeEntry e;
            e.client = QString::fromLatin1(i % 2 == 0 ? "Alpha" : "Other");
            e.project = QStringLiteral("Website");
            e.task = QStringLiteral("Design");
            e.phase = QStringLiteral("Build");
            e.status = EntryStatus::Billable;
            e.date = bench::instantOf(i);
            e.modified = e.date;
            e.duration = 150;
            e.rate = 6000;
            if (entries.add(e) != WriteResult::Written)
                return false;
        }
        return batch.commit();
    }

    // The current name and the next.
    std::pair<QString, QString> names() {
        const QString alpha = QStringLiteral("Alpha"), beta = QStringLiteral("Beta");
        flipped = !flipped;
        return flipped ? std::pair{alpha, beta} : std::pair{beta, alpha};
    }
};

ReplaceProfile& profile() {
    static auto instance = std::make_unique<ReplaceProfile>();
    return *instance;
}

void BM_ReplaceClientText(benchmark::State& state) {
    ReplaceProfile& p = profile();
    int changed = 0;
    for (auto _ : state) {
        const auto [from, to] = p.names();
        const ReplaceOutcome outcome =
            replaceFieldText(p.store, ReplaceField::Client, from, to, bench::firstDay());
        if (!outcome.ok)
            state.SkipWithError("replace failed");
        changed = outcome.entriesChanged;
    }
    state.counters["changed"] = changed;
}

// The baseline: one transaction, walk every entry, rewrite those of the client.
void BM_WalkAndUpdateBaseline(benchmark::State& state) {
    ReplaceProfile& p = profile();
    int changed = 0;
    for (auto _ : state) {
        const auto [from, to] = p.names();
        platform::StoreBatch batch(*p.store.objectStore());
        TimeEntries entries(p.store);
        changed = 0;
        entries.forEach([&](const TimeEntry& stored) {
            if (stored.client != from)
                return true;
            TimeEntry e = stored;
            e.client = to;
            e.modified = bench::firstDay();
            ++changed;
            return entries.update(e) == WriteResult::Written;
        });
        if (!batch.commit())
            state.SkipWithError("commit failed");
    }
    state.counters["changed"] = changed;
}

}  // namespace

BENCHMARK(BM_WalkAndUpdateBaseline)->Unit(benchmark::kMillisecond)->Iterations(4);
BENCHMARK(BM_ReplaceClientText)->Unit(benchmark::kMillisecond)->Iterations(4);
