#pragma once

#include <QList>

#include "common/TestDates.h"
#include "platform/FileTime.h"
#include "platform/ObjectStore.h"
#include "platform/Property.h"
#include "platform/Sqlite.h"
#include "platform/SqliteObjectStore.h"
#include "store/RecordDatabase.h"
#include "store/Records.h"

namespace tempolatch::test {

// The SQLite connection of a store file, for faults the store cannot make itself.
inline platform::SqliteConnection& sqliteOf(platform::ObjectStore& store) {
    return static_cast<platform::SqliteObjectStore&>(store).connection();
}

// The raw properties of a stored record, as another reader would see them.
inline platform::PropertyList rawRecord(RecordDatabase& db, quint32 recordId) {
    return RecordAccess(db).findProperties(recordId).value_or(platform::PropertyList());
}

// From now on this connection's store refuses to add records to the named
// database (and to rewrite them, with `updates`), as a full disk or a
// damaged file would: SQLite reports a constraint failure (1811).
inline bool refuseWrites(platform::ObjectStore& store, const char* databaseName,
                         bool updates = false) {
    const QByteArray sql = QByteArrayLiteral(
        "CREATE TEMP TRIGGER refuse_%2 BEFORE %1 ON main.records "
        "WHEN NEW.db = (SELECT id FROM main.databases WHERE name = '%3') "
        "BEGIN SELECT RAISE(ABORT, 'refused'); END;");
    bool ok = sqliteOf(store).exec(
        QString::fromLatin1(sql).arg("INSERT", "insert", databaseName).toUtf8().constData());
    if (updates)
        ok = ok && sqliteOf(store).exec(QString::fromLatin1(sql)
                                            .arg("UPDATE", "update", databaseName)
                                            .toUtf8()
                                            .constData());
    return ok;
}

// From now on the store refuses to rewrite the one record, as a lock or a
// damaged page met part-way through a long run of writes: for every
// connection to it, the window's and that of the work it runs on a thread
// of its own. DROP TRIGGER refuse_record_<id> ends it.
inline bool refuseRewriteOf(platform::ObjectStore& store, quint32 recordId) {
    const QString sql = QStringLiteral(
                            "CREATE TRIGGER refuse_record_%1 BEFORE UPDATE ON records "
                            "WHEN OLD.id = %1 BEGIN SELECT RAISE(ABORT, 'refused'); END;")
                            .arg(recordId);
    return sqliteOf(store).exec(sql.toUtf8().constData());
}

inline QList<quint32> idsOf(const platform::PropertyList& props) {
    QList<quint32> ids;
    for (const platform::Property& p : props)
        ids.append(p.id);
    return ids;
}

}  // namespace tempolatch::test
