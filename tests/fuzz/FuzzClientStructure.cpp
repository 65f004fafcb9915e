// Client structure files, as Import... of the Clients setup reads them:
// clients are merged by name and each gets what it lacks. Whatever the
// file repeats, no client ends up with a project and task pair, a task or
// a contact twice.
#include <QSet>
#include <cstdlib>

#include "FuzzStore.h"
#include "store/ClientStructure.h"
#include "transfer/ClientStructureOperation.h"

namespace {

template <typename Item, typename Key>
bool allOnce(const std::optional<QList<Item>>& items, Key (*key)(const Item&)) {
    if (!items)
        return false;
    QSet<Key> seen;
    for (const Item& item : *items) {
        if (seen.contains(key(item)))
            return false;
        seen.insert(key(item));
    }
    return true;
}

std::pair<QString, QString> pairOf(const tempolatch::Project& p) {
    return {p.project, p.task};
}

QString nameOf(const tempolatch::ClientName& n) {
    return n.name;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tempolatch::RecordStore& records = tempolatch::fuzz::store();
    const QString path = tempolatch::fuzz::inputFile(data, size, "input.tlc");
    if (path.isEmpty())
        return 0;
    const int result = tempolatch::ClientStructureOperation(records).importFrom(path);
    tempolatch::ClientStructure structure(records);
    const auto clients = structure.clients();
    if (!clients)
        std::abort();
    if (result != tempolatch::BackupOperation::RestoreOk) {
        if (!clients->isEmpty())
            std::abort();  // a refused file added something
        return 0;
    }
    for (const tempolatch::Client& client : *clients) {
        if (!allOnce(structure.projectsOf(client.clientId), pairOf) ||
            !allOnce(structure.tasks().of(client.clientId), nameOf) ||
            !allOnce(structure.contacts().of(client.clientId), nameOf))
            std::abort();
    }
    if (!clients->isEmpty())
        records.deleteAllData();
    return 0;
}
