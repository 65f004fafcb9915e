#pragma once

#include <QList>

#include "common/TestDates.h"
#include "platform/FileTime.h"
#include "platform/Property.h"
#include "store/RecordDatabase.h"

namespace tempolatch::test {


// The raw properties of a stored record, as another reader would see them.
inline platform::PropertyList rawRecord(RecordDatabase& db, quint32 recordId) {
    platform::PropertyList props;
    if (db.seekRecord(recordId) != 0)
        db.readCurrent(props);
    return props;
}

inline QList<quint32> idsOf(const platform::PropertyList& props) {
    QList<quint32> ids;
    for (const platform::Property& p : props)
        ids.append(p.id);
    return ids;
}

}  // namespace tempolatch::test
