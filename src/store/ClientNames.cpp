#include "store/ClientNames.h"

#include "store/Client.h"
#include "store/ClientWalk.h"

namespace tempolatch::clientnames {

using platform::Property;
using platform::PropertyList;

ClientName recordOf(const PropertyList& props, quint32 recordId) {
    return {clientIdProperty(props), nameProperty(props, prop::StructureName), recordId};
}

ReadResult read(RecordDatabase& db, ClientName& record) {
    PropertyList props;
    const ReadResult result = db.readCurrent(props);
    record = recordOf(props, db.currentId());
    return result;
}

QList<ClientName> records(RecordDatabase& db, quint32 clientId) {
    QList<ClientName> out;
    walkClient(db, clientId, [&](const PropertyList& props) {
        out.append(recordOf(props, db.currentId()));
        return true;
    });
    return out;
}

// Through the name's sort order: only the records of that exact name are
// read, however many names the client has.
bool exists(RecordDatabase& db, quint32 clientId, const QString& name) {
    const Property key = Property::string(prop::StructureName, structureName(name));
    return db.findEqual(key, [clientId](const PropertyList& props) {
        return clientIdProperty(props) == clientId;
    }) != 0;
}

quint32 add(RecordDatabase& db, quint32 clientId, const QString& name) {
    if (name.isEmpty() || exists(db, clientId, name))
        return 0;
    return insert(db, clientId, name);
}

quint32 insert(RecordDatabase& db, quint32 clientId, const QString& name) {
    return db.addProperties({Property::ui4(prop::ClientId, clientId),
                             Property::string(prop::StructureName, structureName(name))});
}

bool rename(RecordDatabase& db, const QString& name) {
    return db.updateProperties({Property::string(prop::StructureName, structureName(name))});
}

QStringList list(RecordDatabase& db, quint32 clientId) {
    QStringList names;
    for (const ClientName& record : records(db, clientId))
        names.append(record.name);
    return names;
}

}  // namespace tempolatch::clientnames
