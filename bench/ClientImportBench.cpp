// Importing a client structure file whose clients share their project,
// task and contact names, as clients of one agency do: the cost must grow
// with the number of clients, not with its square.
#include <benchmark/benchmark.h>

#include <QTemporaryDir>
#include <map>
#include <utility>

#include "platform/Profile.h"
#include "store/ClientStructure.h"
#include "store/RecordStore.h"
#include "transfer/ClientStructureOperation.h"

using namespace tempolatch;
using namespace tempolatch::platform;

namespace {

// A file of `clients` clients, each with the same two projects of two
// tasks, one task of its own and one contact (or, with `unique`, names of
// its own for all of them), made once per size.
struct ClientsFile {
    QTemporaryDir dir;
    QString path;
    ClientsFile(int clients, bool unique) {
        Profile::setFolder(dir.filePath(QStringLiteral("source")));
        RecordStore store;
        store.openAll();
        ClientStructure structure(store);
        for (int i = 0; i < clients; ++i) {
            Client client{0, QStringLiteral("Client %1").arg(i), 0};
            structure.addClient(client);
            const QString own = unique ? QStringLiteral(" %1").arg(i) : QString();
            for (const char* project : {"Development", "Support"})
                for (const char* task : {"Coding", "Review"})
                    structure.addProjectTask(client.clientId, QString::fromLatin1(project) + own,
                                             QString::fromLatin1(task) + own);
            structure.tasks().add(client.clientId, QStringLiteral("Meeting") + own);
            structure.contacts().add(client.clientId, QStringLiteral("Accounts") + own);
        }
        path = dir.filePath(QStringLiteral("clients.tlc"));
        ClientStructureOperation(store).exportTo(path);
    }
};

ClientsFile& clientsFile(int clients, bool unique) {
    static std::map<std::pair<int, bool>, std::unique_ptr<ClientsFile>> files;
    auto& slot = files[{clients, unique}];
    if (!slot)
        slot = std::make_unique<ClientsFile>(clients, unique);
    return *slot;
}

void importClients(benchmark::State& state, bool unique) {
    const int clients = int(state.range(0));
    ClientsFile& file = clientsFile(clients, unique);
    for (auto _ : state) {
        state.PauseTiming();
        QTemporaryDir profile;
        Profile::setFolder(profile.path());
        RecordStore store;
        store.openAll();
        state.ResumeTiming();
        if (ClientStructureOperation(store).importFrom(file.path) != 0)
            state.SkipWithError("the file was not imported");
    }
    state.SetItemsProcessed(state.iterations() * clients);
}

void BM_ImportClientsSharingNames(benchmark::State& state) {
    importClients(state, false);
}
BENCHMARK(BM_ImportClientsSharingNames)
    ->Arg(250)
    ->Arg(500)
    ->Arg(1'000)
    ->Arg(3'000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

// The same clients with names of their own: what sharing names may cost
// at most.
void BM_ImportClientsWithOwnNames(benchmark::State& state) {
    importClients(state, true);
}
BENCHMARK(BM_ImportClientsWithOwnNames)->Arg(3'000)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
