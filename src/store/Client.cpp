#include "store/Client.h"

#include "platform/ObjectStore.h"
#include "store/ClientIdCounter.h"
#include "store/ClientWalk.h"
#include "store/StoreIds.h"

namespace tempolatch {

using platform::Property;
using platform::PropertyList;

QString structureName(const QString& name) {
    return name.left(MaxNameLength);
}

Client clientOf(const PropertyList& props, quint32 recordId) {
    return {clientIdProperty(props), nameProperty(props, prop::ClientName), recordId};
}

ReadResult readClient(ClientsDatabase& db, Client& client) {
    PropertyList props;
    const ReadResult result = db.readCurrent(props);
    client = clientOf(props, db.currentId());
    return result;
}

QList<Client> listClients(ClientsDatabase& db) {
    QList<Client> clients;
    Client client;
    for (quint32 id = db.seekFirst(); id != 0; id = db.seekNext()) {
        if (readClient(db, client) != ReadResult::Read)
            break;
        clients.append(client);
    }
    return clients;
}

quint32 findClientId(ClientsDatabase& db, const QString& name) {
    Client client;
    if (db.seekFirst(Property::string(prop::ClientName, structureName(name))) == 0 ||
        readClient(db, client) != ReadResult::Read)
        return NoClientId;
    return client.clientId;
}

quint32 clientIdOfRecord(ClientsDatabase& db, quint32 recordId) {
    Client client;
    if (db.seekRecord(recordId) == 0 || readClient(db, client) != ReadResult::Read)
        return 0;
    return client.clientId;
}

quint32 addClient(ClientsDatabase& db, Client& client) {
    const QString name = structureName(client.name);
    if (name.isEmpty() || !db.isOpen())
        return 0;
    platform::StoreBatch batch(*db.objectStore());
    if (!batch.isActive() || db.seekFirst(Property::string(prop::ClientName, name)) != 0)
        return 0;
    const quint32 clientId = ClientIdCounter(db.objectStore()).next();
    if (clientId == 0)
        return 0;
    const quint32 recordId = db.addProperties(
        {Property::ui4(prop::ClientId, clientId), Property::string(prop::ClientName, name)});
    if (recordId == 0 || !batch.commit())
        return 0;
    client.clientId = clientId;
    client.name = name;
    client.recordId = recordId;
    return recordId;
}

bool renameClient(ClientsDatabase& db, const QString& name) {
    return db.updateProperties({Property::string(prop::ClientName, structureName(name))});
}

}  // namespace tempolatch
