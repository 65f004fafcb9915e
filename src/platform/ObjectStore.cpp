#include "platform/ObjectStore.h"

#include "platform/DatabaseHandle.h"
#include "platform/SortKey.h"
#include "platform/SqliteObjectStore.h"
#include "platform/StoreAddress.h"
#include "platform/postgres/PostgresObjectStore.h"

namespace tempolatch::platform {

namespace {

PropertyList merged(PropertyList existing, const PropertyList& changes) {
    existing.reserve(existing.size() + changes.size());
    for (const Property& change : changes) {
        auto it = std::find_if(existing.begin(), existing.end(),
                               [&](const Property& p) { return p.id == change.id; });
        if (change.isDelete()) {
            if (it != existing.end())
                existing.erase(it);
        } else if (it != existing.end()) {
            *it = change;
            it->flags = 0;
        } else {
            existing.append(change);
            existing.last().flags = 0;
        }
    }
    return existing;
}

}  // namespace

ObjectStore::ObjectStore(const QString& path, bool readOnly) : m_path(path), m_readOnly(readOnly) {}

ObjectStore::~ObjectStore() = default;

std::unique_ptr<ObjectStore> ObjectStore::open(const QString& address, Access access,
                                               const QString& collationLocale, QString* error) {
    if (isServerAddress(address))
        return PostgresObjectStore::open(address, access, collationLocale, error);
    return SqliteObjectStore::open(address, access, collationLocale, error);
}

void ObjectStore::setKeys(std::unique_ptr<SortKeyMaker> keys) {
    m_keys = std::move(keys);
}

QList<DatabaseInfo> ObjectStore::databases() const {
    QList<DatabaseInfo> out;
    for (quint32 id : databaseIds())
        if (auto info = databaseInfo(id))
            out.append(*info);
    return out;
}

std::unique_ptr<DatabaseHandle> ObjectStore::openDatabase(quint32 databaseId, quint32 sortProp) {
    const int column = int(sortOrdersOf(databaseId).indexOf(sortProp)) + 1;
    if (column == 0)
        return nullptr;
    return std::make_unique<DatabaseHandle>(*this, databaseId, sortProp, column);
}

std::optional<PropertyList> ObjectStore::readRecord(quint32 databaseId, quint32 recordId) const {
    const auto props = readProps(databaseId, recordId);
    if (!props)
        return std::nullopt;
    return decodeProperties(*props);
}

bool ObjectStore::checkWritable(const PropertyList& props) {
    if (m_readOnly)
        return refuse(ErrorAccessDenied) != 0;
    for (const Property& p : props)
        if (!isKnownPropType(p.type()))
            return refuse(ErrorInvalidParameter) != 0;
    return true;
}

bool ObjectStore::lookUpSorts(quint32 databaseId) {
    // Within a batch the write lock keeps other programs from changing the
    // databases, so their sort orders are looked up once per batch.
    if (inBatch() && m_sortsOf.databaseId == databaseId)
        return true;
    const QList<quint32> sorts = sortOrdersOf(databaseId);
    if (sorts.isEmpty())
        return refuse(ErrorInvalidHandle) != 0;
    m_sortsOf = {databaseId, sorts[0], sorts.value(1), sorts.size() > 1};
    return true;
}

ObjectStore::StoredRow ObjectStore::storedRow(const PropertyList& record) const {
    return {m_keys->keyOf(record, m_sortsOf.sort1),
            m_sortsOf.hasSort2 ? m_keys->keyOf(record, m_sortsOf.sort2) : QByteArray(),
            encodeProperties(record)};
}

ObjectStore::StoredRow ObjectStore::newRow(const PropertyList& changes) const {
    return storedRow(merged({}, changes));
}

quint32 ObjectStore::writeRecord(quint32 databaseId, quint32 recordId, const PropertyList& props,
                                 StoredRow* stored) {
    // Each write reports its own failure, never one left from an earlier write.
    m_lastError = 0;
    if (!checkWritable(props) || !lookUpSorts(databaseId))
        return 0;

    PropertyList record;
    if (recordId != 0) {
        const auto existing = readRecord(databaseId, recordId);
        if (!existing)
            return refuse(ErrorNotFound);
        record = merged(*existing, props);
    } else {
        record = merged({}, props);
    }
    const StoredRow row = storedRow(record);
    const quint32 written =
        recordId == 0 ? insertRow(databaseId, row) : (updateRow(recordId, row) ? recordId : 0);
    noteWrite(written != 0);
    if (written != 0 && stored)
        *stored = row;
    return written;
}

quint32 ObjectStore::addRecords(quint32 databaseId, std::span<const PropertyList> records) {
    m_lastError = 0;
    for (const PropertyList& props : records)
        if (!checkWritable(props))
            return 0;
    if (records.empty())
        return refuse(ErrorInvalidParameter);
    // A batch of its own: a refused record takes the others back with it.
    StoreBatch batch(*this);
    if (!batch.isActive()) {
        noteWrite(false);
        return 0;
    }
    if (!lookUpSorts(databaseId))
        return 0;
    const quint32 first = insertRows(databaseId, records);
    const bool ok = first != 0 && batch.commit();
    noteWrite(ok);
    return ok ? first : 0;
}

quint32 ObjectStore::refuse(int error) {
    m_lastError = error;
    return 0;
}

void ObjectStore::noteWrite(bool ok) {
    ++m_generation;
    if (!ok && m_lastError == 0) {
        const int code = backendErrorCode();
        m_lastError = code != 0 ? code : ErrorWriteFault;
    }
}

}  // namespace tempolatch::platform
