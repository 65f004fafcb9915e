#pragma once

#include <QString>
#include <optional>

namespace tempolatch {

class ClientStructureStore;
class RecordStore;

// The store side of the clients setup: each call writes at once. Names are
// kept as the store keeps them (cut to its name length) and compare
// exactly. Empty names change nothing, and no change ever gives a client,
// or one client's project, task or contact, a second record of the same name.
class ClientStructureEditor {
public:
    explicit ClientStructureEditor(RecordStore& store);

    // The record a name ended up in: new, or the one that already had it.
    struct Added {
        quint32 recordId = 0;
        quint32 clientId = 0;
        QString name;
        bool existed = false;
    };

    // nullopt when the name is empty or the store refused the write.
    std::optional<Added> addClient(const QString& name);
    // A project without a task: one record with an empty task name.
    std::optional<Added> addProject(quint32 clientId, const QString& project);
    std::optional<Added> addProjectTask(quint32 clientId, const QString& project,
                                        const QString& task);
    std::optional<Added> addTask(quint32 clientId, const QString& name);
    std::optional<Added> addContact(quint32 clientId, const QString& name);

    // Renames write nothing and answer false when the new name is empty or
    // another item of the same level already has it; an unchanged name is
    // a success that writes nothing.
    bool renameClient(quint32 recordId, const QString& name);
    // Renames the project in every record of the client. Answers the record
    // the project's item stands for afterwards (0: nothing renamed).
    quint32 renameProject(quint32 clientId, const QString& oldName, const QString& newName);
    bool renameProjectTask(quint32 recordId, quint32 clientId, const QString& project,
                           const QString& task);
    bool renameTask(quint32 recordId, quint32 clientId, const QString& name);
    bool renameContact(quint32 recordId, quint32 clientId, const QString& name);

    // Deletes the client with its projects, tasks, contacts and rates, all
    // or nothing. Time entries and expenses name clients by text and stay.
    bool deleteClient(quint32 recordId);
    bool deleteProject(quint32 clientId, const QString& project);
    // Deletes one project and task pair. The project itself stays: when
    // that pair was its last record, the record is kept with an empty task.
    // Answers a record the project still has (0 on failure).
    quint32 deleteProjectTask(quint32 recordId, quint32 clientId, const QString& project);
    bool deleteTask(quint32 recordId);
    bool deleteContact(quint32 recordId);

    // The client id of a client record; 0 when it cannot be read.
    quint32 clientIdOf(quint32 clientRecordId);

private:
    std::optional<Added> addPair(quint32 clientId, const QString& project, const QString& task,
                                 const QString& name);

    ClientStructureStore& structure();

    RecordStore& m_records;
};

}  // namespace tempolatch
