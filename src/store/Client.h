#pragma once

#include <QList>
#include <QString>

#include "store/Databases.h"

namespace tempolatch {

// A client of "Tempolatch Clients": its id links the client's projects,
// tasks, contacts and rates; entries and expenses name it by text.
struct Client {
    quint32 clientId = 0;
    QString name;
    quint32 recordId = 0;
};

// What findClientId answers for a name no client has.
inline constexpr quint32 NoClientId = 0xFFFFFFFF;

// Names are read cut to MaxNameLength, and written so.
QString structureName(const QString& name);

ReadResult readClient(ClientsDatabase& db, Client& client);
Client clientOf(const platform::PropertyList& props, quint32 recordId);
// Every client in name order.
QList<Client> listClients(ClientsDatabase& db);
quint32 findClientId(ClientsDatabase& db, const QString& name);
// 0 when the record cannot be read.
quint32 clientIdOfRecord(ClientsDatabase& db, quint32 recordId);

// Adds a client with the next id of the counter and returns the new record
// id. Nothing is written (result 0) when the name is empty, a client of that
// name exists or no id can be taken: client id 0 is the default rate set's
// and is never given to a client. Check, id and write are one transaction,
// so programs adding clients at the same time never share an id or a name.
quint32 addClient(ClientsDatabase& db, Client& client);
// Rewrites only the name of the current record.
bool renameClient(ClientsDatabase& db, const QString& name);

}  // namespace tempolatch
