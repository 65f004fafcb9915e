#pragma once

#include <optional>

#include "store/RecordDatabase.h"
#include "store/StoreIds.h"

namespace tempolatch {

// Walks the records of one client (or of all clients) in a database sorted
// by client id, calling visit(properties) for each; stops when visit
// returns false or a record cannot be read (then the answer is false).
// The visited record is current.
template <typename Visit>
bool walkClient(RecordDatabase& db, std::optional<quint32> clientId, Visit visit) {
    platform::PropertyList props;
    quint32 id = clientId ? db.seekFirst(platform::Property::ui4(prop::ClientId, *clientId))
                          : db.seekFirst();
    for (; id != 0; id = db.seekNext()) {
        if (db.readCurrent(props) != ReadResult::Read)
            return false;
        if (!visit(props))
            return true;
    }
    return true;
}

// A text property of a structure record as read: cut to MaxNameLength.
inline QString nameProperty(const platform::PropertyList& props, quint32 id) {
    const platform::Property* p = platform::findProperty(props, id);
    return p ? p->text.left(MaxNameLength) : QString();
}

inline quint32 clientIdProperty(const platform::PropertyList& props) {
    const platform::Property* p = platform::findProperty(props, prop::ClientId);
    return p ? p->toUi4() : 0;
}

}  // namespace tempolatch
