#include "clients/ClientStructureEditor.h"

#include "store/ClientStructure.h"
#include "store/RecordStore.h"
#include "store/StoreTransaction.h"

namespace tempolatch {

ClientStructureEditor::ClientStructureEditor(RecordStore& store) : m_records(store) {}

// Asked for at each use: the store makes its databases anew when it is
// reopened or emptied.
ClientStructureStore& ClientStructureEditor::structure() {
    return m_records.clientStructure();
}

namespace {

// The record of a client's project and task pair; 0 when there is none.
quint32 findProjectTask(ProjectsDatabase& db, quint32 clientId, const QString& project,
                        const QString& task) {
    for (const Project& record : projectRecords(db, clientId))
        if (record.project == project && record.task == task)
            return record.recordId;
    return 0;
}

quint32 findName(RecordDatabase& db, quint32 clientId, const QString& name) {
    for (const ClientName& record : clientnames::records(db, clientId))
        if (record.name == name)
            return record.recordId;
    return 0;
}

std::optional<ClientStructureEditor::Added> addName(RecordDatabase& db, quint32 clientId,
                                                    const QString& given) {
    const QString name = structureName(given);
    if (name.isEmpty())
        return std::nullopt;
    if (const quint32 existing = findName(db, clientId, name))
        return ClientStructureEditor::Added{existing, clientId, name, true};
    const quint32 recordId = clientnames::add(db, clientId, name);
    if (recordId == 0)
        return std::nullopt;
    return ClientStructureEditor::Added{recordId, clientId, name, false};
}

// A client-level task or contact: the client must not have the new name yet.
bool renameName(RecordDatabase& db, quint32 recordId, quint32 clientId, const QString& given) {
    const QString name = structureName(given);
    if (name.isEmpty())
        return false;
    const quint32 holder = findName(db, clientId, name);
    if (holder != 0)
        return holder == recordId;
    return ClientNameRecords(db).rename(recordId, name) == WriteResult::Written;
}

bool deleteOne(RecordDatabase& db, quint32 recordId) {
    return recordId != 0 && db.deleteRecord(recordId);
}

}  // namespace

std::optional<ClientStructureEditor::Added> ClientStructureEditor::addClient(const QString& given) {
    Client client{0, structureName(given), 0};
    if (client.name.isEmpty())
        return std::nullopt;
    const WriteResult result = ClientStructure(structure()).addClient(client);
    if (!succeeded(result) || client.recordId == 0)
        return std::nullopt;
    return Added{client.recordId, client.clientId, client.name, result == WriteResult::Unchanged};
}

std::optional<ClientStructureEditor::Added> ClientStructureEditor::addPair(quint32 clientId,
                                                                           const QString& project,
                                                                           const QString& task,
                                                                           const QString& name) {
    if (project.isEmpty() || name.isEmpty())
        return std::nullopt;
    if (const quint32 existing = findProjectTask(structure().projects, clientId, project, task))
        return Added{existing, clientId, name, true};
    const quint32 recordId =
        tempolatch::addProjectTask(structure().projects, clientId, project, task);
    if (recordId == 0)
        return std::nullopt;
    return Added{recordId, clientId, name, false};
}

std::optional<ClientStructureEditor::Added> ClientStructureEditor::addProject(
    quint32 clientId, const QString& project) {
    const QString name = structureName(project);
    return addPair(clientId, name, QString(), name);
}

std::optional<ClientStructureEditor::Added> ClientStructureEditor::addProjectTask(
    quint32 clientId, const QString& project, const QString& task) {
    const QString name = structureName(task);
    return addPair(clientId, structureName(project), name, name);
}

std::optional<ClientStructureEditor::Added> ClientStructureEditor::addTask(quint32 clientId,
                                                                           const QString& name) {
    return addName(structure().tasks, clientId, name);
}

std::optional<ClientStructureEditor::Added> ClientStructureEditor::addContact(quint32 clientId,
                                                                              const QString& name) {
    return addName(structure().contacts, clientId, name);
}

bool ClientStructureEditor::renameClient(quint32 recordId, const QString& given) {
    const QString name = structureName(given);
    if (name.isEmpty())
        return false;
    ClientStructure records(structure());
    if (const auto holder = records.findClientNamed(name))
        return holder->recordId == recordId;
    return records.renameClient(recordId, name) == WriteResult::Written;
}

quint32 ClientStructureEditor::renameProject(quint32 clientId, const QString& oldName,
                                             const QString& given) {
    const QString name = structureName(given);
    ProjectsDatabase& db = structure().projects;
    if (name.isEmpty() || !db.isOpen())
        return 0;
    QList<quint32> records;
    bool taken = false;
    for (const Project& record : projectRecords(db, clientId)) {
        if (record.project == oldName)
            records.append(record.recordId);
        else if (record.project == name)
            taken = true;
    }
    if (taken)
        return 0;
    if (name == oldName && !records.isEmpty())
        return records.first();
    StoreTransaction transaction(m_records);
    if (records.isEmpty()) {
        // The project lost its records elsewhere; keep the one the tree shows.
        const quint32 recordId = tempolatch::addProjectTask(db, clientId, name, QString());
        return recordId != 0 && transaction.commit().succeeded() ? recordId : 0;
    }
    ClientStructure names(structure());
    for (quint32 id : records)
        if (names.renameProject(id, name) != WriteResult::Written)
            return 0;
    return transaction.commit().succeeded() ? records.first() : 0;
}

bool ClientStructureEditor::renameProjectTask(quint32 recordId, quint32 clientId,
                                              const QString& project, const QString& given) {
    const QString task = structureName(given);
    ProjectsDatabase& db = structure().projects;
    if (task.isEmpty())
        return false;
    const quint32 holder = findProjectTask(db, clientId, project, task);
    if (holder != 0)
        return holder == recordId;
    return ClientStructure(structure()).renameProjectTask(recordId, task) == WriteResult::Written;
}

bool ClientStructureEditor::renameTask(quint32 recordId, quint32 clientId, const QString& name) {
    return renameName(structure().tasks, recordId, clientId, name);
}

bool ClientStructureEditor::renameContact(quint32 recordId, quint32 clientId, const QString& name) {
    return renameName(structure().contacts, recordId, clientId, name);
}

quint32 ClientStructureEditor::clientIdOf(quint32 clientRecordId) {
    return clientIdOfRecord(structure().clients, clientRecordId);
}

bool ClientStructureEditor::deleteClient(quint32 recordId) {
    const quint32 clientId = clientIdOf(recordId);
    // Client id 0 owns the default rates: a record that cannot be read must
    // never lead to deleting them.
    if (clientId == 0 || !structure().clients.isOpen())
        return false;
    StoreTransaction transaction(m_records);
    if (!transaction.isActive())
        return false;
    deleteProjectsOfClient(structure().projects, clientId);
    deleteTasksOfClient(structure().tasks, clientId);
    deleteContactsOfClient(structure().contacts, clientId);
    deleteRatesOfClient(structure().rates, clientId);
    if (!structure().clients.deleteRecord(recordId))
        return false;
    return transaction.commit().succeeded();
}

bool ClientStructureEditor::deleteProject(quint32 clientId, const QString& project) {
    return tempolatch::deleteProject(structure().projects, clientId, project);
}

quint32 ClientStructureEditor::deleteProjectTask(quint32 recordId, quint32 clientId,
                                                 const QString& project) {
    ProjectsDatabase& db = structure().projects;
    bool known = false;
    quint32 other = 0;
    for (const Project& record : projectRecords(db, clientId)) {
        if (record.project != project)
            continue;
        if (record.recordId == recordId)
            known = true;
        else if (other == 0)
            other = record.recordId;
    }
    if (!known)
        return 0;
    if (other != 0)
        return deleteOne(db, recordId) ? other : 0;
    const Project emptied{clientId, project, QString(), recordId};
    return ClientStructure(structure()).updateProject(emptied) == WriteResult::Written ? recordId
                                                                                       : 0;
}

bool ClientStructureEditor::deleteTask(quint32 recordId) {
    return deleteOne(structure().tasks, recordId);
}

bool ClientStructureEditor::deleteContact(quint32 recordId) {
    return deleteOne(structure().contacts, recordId);
}

}  // namespace tempolatch
