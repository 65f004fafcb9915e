#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>
#include <utility>

#include "store/Client.h"
#include "store/ClientNames.h"
#include "store/Databases.h"
#include "store/Project.h"
#include "store/Rates.h"
#include "store/RecordStore.h"

namespace tempolatch {

// A client's tasks outside projects, or its contacts: both are a client id
// and a name, unique per client.
class ClientNameRecords {
public:
    explicit ClientNameRecords(RecordDatabase& db) : m_db(db) {}

    std::optional<ClientName> find(quint32 recordId);
    WriteResult add(quint32 clientId, const QString& name);
    WriteResult rename(quint32 recordId, const QString& name);
    // Adds those of `names` the client lacks, each once. The client's
    // records are read once, not once a name (a lookup by name reads that
    // name's records of every client), so that a file of many clients
    // sharing names is taken in linear time. Refused at the first refused
    // write.
    WriteResult addMissing(quint32 clientId, const QStringList& names);
    // The client's records in the order of the store; nullopt when one
    // cannot be read.
    std::optional<QList<ClientName>> of(quint32 clientId);
    // Those read up to the first that cannot be read, for the pickers and trees.
    QList<ClientName> readable(quint32 clientId) { return clientnames::records(m_db, clientId); }

private:
    RecordDatabase& m_db;
};

// Clients with their projects, tasks, contacts and rates, reached by
// record id; the databases' cursors stay in here. Names are kept cut to
// the store's name length and compare exactly. Adds write nothing
// (Unchanged) for an empty name or one the client already has.
class ClientStructure {
public:
    explicit ClientStructure(RecordStore& store) : ClientStructure(store.clientStructure()) {}
    // The structure of databases outside a profile's store (an upgrade, a copy).
    explicit ClientStructure(ClientStructureStore& dbs) : m_dbs(dbs), m_rates(dbs.rates) {}

    std::optional<Client> findClient(quint32 recordId);
    std::optional<Client> findClientNamed(const QString& name);
    // The client gets its ids; one of that name already there fills it in.
    WriteResult addClient(Client& client);
    // Rewrites only the name.
    WriteResult renameClient(quint32 recordId, const QString& name);

    std::optional<Project> findProject(quint32 recordId);
    WriteResult addProjectTask(quint32 clientId, const QString& project, const QString& task);
    // The pairs (project, task) the client lacks, as ClientNameRecords::addMissing.
    WriteResult addMissingProjectTasks(quint32 clientId,
                                       const QList<std::pair<QString, QString>>& pairs);
    // Rewrites the record of project.recordId with its three values.
    WriteResult updateProject(const Project& project);
    // Rewrite only the project name, or only the task name, of one record.
    WriteResult renameProject(quint32 recordId, const QString& project);
    WriteResult renameProjectTask(quint32 recordId, const QString& task);

    ClientNameRecords tasks() { return ClientNameRecords(m_dbs.tasks); }
    ClientNameRecords contacts() { return ClientNameRecords(m_dbs.contacts); }

    // The records in the order of the store; nullopt when one cannot be read.
    std::optional<QList<Client>> clients();
    std::optional<QList<Project>> projectsOf(quint32 clientId);
    std::optional<QList<Rate>> ratesOf(quint32 clientId);

    Rates& rates() { return m_rates; }

    // What the pickers and trees show: the records read up to the first
    // that cannot be read, names as stored.
    QList<Client> clientList() { return listClients(m_dbs.clients); }
    int clientCount() const { return m_dbs.clients.recordCount(); }
    // The client id of that name; NoClientId when there is none.
    quint32 clientIdOf(const QString& name) { return findClientId(m_dbs.clients, name); }
    QList<Project> projectList(quint32 clientId) {
        return projectRecords(m_dbs.projects, clientId);
    }
    // The project names of one client, or of all clients.
    QStringList projectNames(std::optional<quint32> clientId) {
        return listProjects(m_dbs.projects, clientId);
    }
    QStringList taskNames(quint32 clientId) { return listTasks(m_dbs.tasks, clientId); }
    // The task names under one project of the client.
    QStringList projectTaskNames(quint32 clientId, const QString& project) {
        return listProjectTasks(m_dbs.projects, clientId, project);
    }
    QStringList contactNames(quint32 clientId) { return listContacts(m_dbs.contacts, clientId); }
    QList<Rate> rateList(quint32 clientId) { return listRates(m_dbs.rates, clientId); }
    // The same in the order of the rates setup.
    QList<Rate> sortedRateList(quint32 clientId) { return listSortedRates(m_dbs.rates, clientId); }

    // The store's error code of the last refused write.
    int lastError() const { return m_dbs.clients.lastError(); }

private:
    ClientStructureStore& m_dbs;
    Rates m_rates;
};

}  // namespace tempolatch
