#pragma once

#include <QList>
#include <QStringList>

#include "store/Databases.h"

namespace tempolatch {

// A task of a client outside any project ("Tempolatch Tasks"), or a contact
// the client's entries can be billed to ("Tempolatch Contacts"): both are a
// client id and a name, unique per client.
struct ClientName {
    quint32 clientId = 0;
    QString name;
    quint32 recordId = 0;
};
using Task = ClientName;
using Contact = ClientName;

// The operations both databases share.
namespace clientnames {
ReadResult read(RecordDatabase& db, ClientName& record);
ClientName recordOf(const platform::PropertyList& props, quint32 recordId);
QList<ClientName> records(RecordDatabase& db, quint32 clientId);
bool exists(RecordDatabase& db, quint32 clientId, const QString& name);
// The new record id; 0 when the name is empty or the client has it.
quint32 add(RecordDatabase& db, quint32 clientId, const QString& name);
// The same without looking for the name first.
quint32 insert(RecordDatabase& db, quint32 clientId, const QString& name);
bool rename(RecordDatabase& db, const QString& name);
QStringList list(RecordDatabase& db, quint32 clientId);
}  // namespace clientnames

inline bool taskExists(TasksDatabase& db, quint32 clientId, const QString& name) {
    return clientnames::exists(db, clientId, name);
}
inline quint32 addTask(TasksDatabase& db, quint32 clientId, const QString& name) {
    return clientnames::add(db, clientId, name);
}
inline bool renameTask(TasksDatabase& db, const QString& name) {
    return clientnames::rename(db, name);
}
inline QStringList listTasks(TasksDatabase& db, quint32 clientId) {
    return clientnames::list(db, clientId);
}
inline void deleteTasksOfClient(TasksDatabase& db, quint32 clientId) {
    db.deleteAllOfClient(clientId);
}

inline bool contactExists(ContactsDatabase& db, quint32 clientId, const QString& name) {
    return clientnames::exists(db, clientId, name);
}
inline quint32 addContact(ContactsDatabase& db, quint32 clientId, const QString& name) {
    return clientnames::add(db, clientId, name);
}
inline bool renameContact(ContactsDatabase& db, const QString& name) {
    return clientnames::rename(db, name);
}
inline QStringList listContacts(ContactsDatabase& db, quint32 clientId) {
    return clientnames::list(db, clientId);
}
inline void deleteContactsOfClient(ContactsDatabase& db, quint32 clientId) {
    db.deleteAllOfClient(clientId);
}

}  // namespace tempolatch
