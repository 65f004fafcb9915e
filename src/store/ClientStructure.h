#pragma once

#include <QList>
#include <QString>
#include <optional>

#include "store/Client.h"
#include "store/ClientNames.h"
#include "store/Databases.h"
#include "store/Project.h"
#include "store/Rates.h"

namespace tempolatch {

// Clients with their projects, tasks, contacts and rates, reached by
// record id; the databases' cursors stay in here. Names are kept cut to
// the store's name length and compare exactly. Adds write nothing
// (Unchanged) for an empty name or one the client already has.
class ClientStructure {
public:
    explicit ClientStructure(ClientStructureStore& dbs) : m_dbs(dbs), m_rates(dbs.rates) {}

    std::optional<Client> findClient(quint32 recordId);
    std::optional<Client> findClientNamed(const QString& name);
    // The client gets its ids; one of that name already there fills it in.
    WriteResult addClient(Client& client);
    // Rewrites only the name.
    WriteResult renameClient(quint32 recordId, const QString& name);

    std::optional<Project> findProject(quint32 recordId);
    WriteResult addProjectTask(quint32 clientId, const QString& project, const QString& task);
    // Rewrites the record of project.recordId with its three values.
    WriteResult updateProject(const Project& project);

    std::optional<ClientName> findTask(quint32 recordId);
    WriteResult addTask(quint32 clientId, const QString& name);
    WriteResult renameTask(quint32 recordId, const QString& name);

    std::optional<ClientName> findContact(quint32 recordId);
    WriteResult addContact(quint32 clientId, const QString& name);
    WriteResult renameContact(quint32 recordId, const QString& name);

    // The records in the order of the store; nullopt when one cannot be read.
    std::optional<QList<Client>> clients();
    std::optional<QList<Project>> projectsOf(quint32 clientId);
    std::optional<QList<ClientName>> tasksOf(quint32 clientId);
    std::optional<QList<ClientName>> contactsOf(quint32 clientId);
    std::optional<QList<Rate>> ratesOf(quint32 clientId);

    Rates& rates() { return m_rates; }

    // The store's error code of the last refused write.
    int lastError() const { return m_dbs.clients.lastError(); }

private:
    ClientStructureStore& m_dbs;
    Rates m_rates;
};

}  // namespace tempolatch
