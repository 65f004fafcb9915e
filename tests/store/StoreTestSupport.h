#pragma once

#include <QList>

#include "platform/FileTime.h"
#include "platform/Property.h"
#include "store/RecordDatabase.h"

namespace tempolatch::test {

// A local date-time as the store keeps it.
inline platform::FileTime at(int year, int month, int day, int hour = 0, int minute = 0,
                             int second = 0) {
    return *platform::toFileTime(platform::SystemTime{quint16(year), quint16(month), 0,
                                                      quint16(day), quint16(hour), quint16(minute),
                                                      quint16(second), 0});
}

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
