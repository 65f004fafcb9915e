#include "store/StoreCopy.h"

#include "platform/Locale.h"
#include "platform/ObjectStore.h"
#include "platform/StoreAddress.h"

namespace tempolatch {

namespace {

using platform::ObjectStore;

constexpr int kRecordsPerCopy = 4096;

bool copyDatabase(ObjectStore& from, ObjectStore& to, const platform::DatabaseInfo& info) {
    if (!to.createDatabaseAs(info))
        return false;
    std::deque<ObjectStore::KeyedRow> rows;
    std::vector<ObjectStore::KeyedRow> piece;
    QByteArray key;
    quint32 id = 0;
    do {
        rows.clear();
        from.rowsAfter(info.id, 1, key, id, kRecordsPerCopy, rows);
        if (rows.empty())
            break;
        key = rows.back().key;
        id = rows.back().id;
        piece.assign(std::make_move_iterator(rows.begin()), std::make_move_iterator(rows.end()));
        if (!to.insertRecordsAs(info.id, piece))
            return false;
    } while (rows.size() == size_t(kRecordsPerCopy));
    return true;
}

QString failure(const QString& what, const QString& address, const ObjectStore& store) {
    return QStringLiteral("%1 %2 (error %3)")
        .arg(what, platform::shownAddress(address))
        .arg(store.failureCode());
}

}  // namespace

bool copyStore(const QString& from, const QString& to, QString* error) {
    QString why;
    auto source = ObjectStore::open(from, ObjectStore::Access::ReadOnly,
                                    platform::Locale::collationName(), &why);
    auto target = source ? ObjectStore::open(to, ObjectStore::Access::ReadWrite,
                                             platform::Locale::collationName(), &why)
                         : nullptr;
    if (!target) {
        *error = why;
        return false;
    }
    platform::ReadSnapshot snapshot(*source);
    platform::StoreBatch batch(*target);
    if (!snapshot.isActive() || !batch.isActive()) {
        *error = failure(QStringLiteral("cannot begin the copy to"), to, *target);
        return false;
    }
    if (!target->databaseIds().isEmpty()) {
        *error = QStringLiteral("the store at %1 is not empty").arg(platform::shownAddress(to));
        return false;
    }
    for (const platform::DatabaseInfo& info : source->databases()) {
        if (!copyDatabase(*source, *target, info)) {
            *error = failure(QStringLiteral("cannot copy the database %1 to").arg(info.name), to,
                             *target);
            return false;
        }
    }
    if (!batch.commit()) {
        *error = failure(QStringLiteral("cannot finish the copy to"), to, *target);
        return false;
    }
    return true;
}

}  // namespace tempolatch
