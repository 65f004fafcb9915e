#include "store/ClientStructure.h"

#include <QSet>

#include "store/ClientWalk.h"

namespace tempolatch {

namespace {

// Makes the record of `recordId` current; false when there is none.
bool seek(RecordDatabase& db, quint32 recordId) {
    return recordId != 0 && db.seekRecord(recordId) == recordId;
}

template <typename Record, typename Db>
std::optional<Record> readAt(Db& db, quint32 recordId, ReadResult (*read)(Db&, Record&)) {
    Record record;
    if (!seek(db, recordId) || read(db, record) != ReadResult::Read)
        return std::nullopt;
    return record;
}

template <typename Record>
std::optional<QList<Record>> collect(RecordDatabase& db, std::optional<quint32> clientId,
                                     Record (*decode)(const platform::PropertyList&, quint32)) {
    QList<Record> out;
    const bool read = walkClient(db, clientId, [&](const platform::PropertyList& props) {
        out.append(decode(props, db.currentId()));
        return true;
    });
    return read ? std::optional<QList<Record>>(out) : std::nullopt;
}

Rate rateOf(const platform::PropertyList& props, quint32 recordId) {
    Rate rate;
    rate.recordId = recordId;
    rate.setFromProperties(props);
    return rate;
}

WriteResult written(bool ok) {
    return ok ? WriteResult::Written : WriteResult::Refused;
}

// Adds each item of `wanted` whose key is not in `have` yet, through
// `insert` (which returns the new record id, 0 when refused).
template <typename Item, typename Key, typename Insert>
WriteResult addMissingItems(const QList<Item>& wanted, QSet<Key>& have, Key (*keyOf)(const Item&),
                            Insert insert) {
    WriteResult result = WriteResult::Unchanged;
    for (const Item& item : wanted) {
        const Key key = keyOf(item);
        if (have.contains(key))
            continue;
        if (insert(item) == 0)
            return WriteResult::Refused;
        have.insert(key);
        result = WriteResult::Written;
    }
    return result;
}

QString nameKey(const QString& name) {
    return structureName(name);
}

using PairKey = std::pair<QString, QString>;

PairKey pairKey(const PairKey& pair) {
    return {structureName(pair.first), structureName(pair.second)};
}

}  // namespace

std::optional<Client> ClientStructure::findClient(quint32 recordId) {
    return readAt(m_dbs.clients, recordId, readClient);
}

std::optional<Client> ClientStructure::findClientNamed(const QString& name) {
    Client client;
    ClientsDatabase& db = m_dbs.clients;
    if (db.seekFirst(platform::Property::string(prop::ClientName, structureName(name))) == 0 ||
        readClient(db, client) != ReadResult::Read)
        return std::nullopt;
    return client;
}

WriteResult ClientStructure::addClient(Client& client) {
    if (structureName(client.name).isEmpty())
        return WriteResult::Unchanged;
    if (const auto existing = findClientNamed(client.name)) {
        client = *existing;
        return WriteResult::Unchanged;
    }
    return written(tempolatch::addClient(m_dbs.clients, client) != 0);
}

WriteResult ClientStructure::renameClient(quint32 recordId, const QString& name) {
    if (!seek(m_dbs.clients, recordId))
        return WriteResult::NotFound;
    return written(tempolatch::renameClient(m_dbs.clients, name));
}

std::optional<Project> ClientStructure::findProject(quint32 recordId) {
    return readAt(m_dbs.projects, recordId, readProject);
}

WriteResult ClientStructure::addProjectTask(quint32 clientId, const QString& project,
                                            const QString& task) {
    if (project.isEmpty() || projectTaskExists(m_dbs.projects, clientId, project, task))
        return WriteResult::Unchanged;
    return written(insertProjectTask(m_dbs.projects, clientId, project, task) != 0);
}

WriteResult ClientStructure::addMissingProjectTasks(
    quint32 clientId, const QList<std::pair<QString, QString>>& pairs) {
    const auto existing = projectsOf(clientId);
    if (!existing)
        return WriteResult::Refused;
    QSet<PairKey> have;
    for (const Project& project : *existing)
        have.insert({project.project, project.task});
    have.insert({QString(), QString()});  // a pair without a project is never added
    QList<PairKey> named;
    for (const PairKey& pair : pairs)
        named.append(pair.first.isEmpty() ? PairKey() : pair);
    return addMissingItems(named, have, pairKey, [&](const PairKey& pair) {
        return insertProjectTask(m_dbs.projects, clientId, pair.first, pair.second);
    });
}

WriteResult ClientStructure::updateProject(const Project& project) {
    if (!seek(m_dbs.projects, project.recordId))
        return WriteResult::NotFound;
    return written(
        updateProjectTask(m_dbs.projects, project.clientId, project.project, project.task));
}

WriteResult ClientStructure::renameProject(quint32 recordId, const QString& project) {
    if (!seek(m_dbs.projects, recordId))
        return WriteResult::NotFound;
    return written(tempolatch::renameProject(m_dbs.projects, project));
}

WriteResult ClientStructure::renameProjectTask(quint32 recordId, const QString& task) {
    if (!seek(m_dbs.projects, recordId))
        return WriteResult::NotFound;
    return written(tempolatch::renameProjectTask(m_dbs.projects, task));
}

std::optional<ClientName> ClientNameRecords::find(quint32 recordId) {
    return readAt<ClientName, RecordDatabase>(m_db, recordId, clientnames::read);
}

WriteResult ClientNameRecords::add(quint32 clientId, const QString& name) {
    if (name.isEmpty() || clientnames::exists(m_db, clientId, name))
        return WriteResult::Unchanged;
    return written(clientnames::add(m_db, clientId, name) != 0);
}

WriteResult ClientNameRecords::addMissing(quint32 clientId, const QStringList& names) {
    const auto existing = of(clientId);
    if (!existing)
        return WriteResult::Refused;
    QSet<QString> have{QString()};  // an empty name is never added
    for (const ClientName& record : *existing)
        have.insert(record.name);
    return addMissingItems(names, have, nameKey, [&](const QString& name) {
        return clientnames::insert(m_db, clientId, name);
    });
}

WriteResult ClientNameRecords::rename(quint32 recordId, const QString& name) {
    if (!seek(m_db, recordId))
        return WriteResult::NotFound;
    return written(clientnames::rename(m_db, name));
}

std::optional<QList<ClientName>> ClientNameRecords::of(quint32 clientId) {
    return collect(m_db, clientId, clientnames::recordOf);
}

std::optional<QList<Client>> ClientStructure::clients() {
    return collect(m_dbs.clients, std::nullopt, clientOf);
}

std::optional<QList<Project>> ClientStructure::projectsOf(quint32 clientId) {
    return collect(m_dbs.projects, clientId, projectOf);
}

std::optional<QList<Rate>> ClientStructure::ratesOf(quint32 clientId) {
    return collect(m_dbs.rates, clientId, rateOf);
}

}  // namespace tempolatch
