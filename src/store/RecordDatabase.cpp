#include "store/RecordDatabase.h"

#include "platform/ObjectStore.h"
#include "platform/WorkProgress.h"
#include "store/RecordJournal.h"
#include "store/StoreIds.h"
#include "store/StoredRecord.h"

namespace tempolatch {

using platform::Property;
using platform::PropertyList;

RecordDatabase::RecordDatabase(platform::ObjectStore* store) : m_store(store) {}

RecordDatabase::~RecordDatabase() = default;

bool RecordDatabase::exists(const QString& name) const {
    return m_store && m_store->findDatabase(name) != 0;
}

bool RecordDatabase::create() {
    if (!m_store)
        return false;
    m_databaseId = m_store->createDatabase(databaseName(), typeId(), sortOrders());
    return m_databaseId != 0;
}

bool RecordDatabase::open(quint32 /*flags*/, QObject* notifyTarget) {
    close();
    if (!m_store)
        return false;
    m_notifyTarget = notifyTarget;
    m_name = databaseName();
    m_databaseId = m_store->findDatabase(m_name);
    if (m_databaseId == 0 && !create())
        return false;
    if (!ensureSortOrders())
        return false;
    m_handle = m_store->openDatabase(m_databaseId, sortProperty());
    return m_handle != nullptr;
}

bool RecordDatabase::ensureSortOrders() {
    // Read on every open: the sort orders only, never a count of the records.
    const QList<quint32> stored = m_store->sortOrdersOf(m_databaseId);
    const QList<quint32> wanted = sortOrders();
    if (stored.isEmpty() || stored == wanted)
        return !stored.isEmpty();
    // Only a sort order added behind the stored ones is ours to add; a
    // read-only store keeps walking by the ones it has.
    const bool added = wanted.size() > stored.size() && wanted.mid(0, stored.size()) == stored;
    if (!added || m_store->isReadOnly())
        return true;
    return m_store->setSortOrders(m_databaseId, wanted);
}

// A handle of its own, so that a lookup never moves the walk of the caller.
platform::DatabaseHandle* RecordDatabase::lookupHandle(quint32 sortProp) {
    if (!m_handle)
        return nullptr;
    if (!m_lookup || m_lookup->sortProperty() != sortProp)
        m_lookup = m_store->openDatabase(m_databaseId, sortProp);
    return m_lookup.get();
}

quint32 RecordDatabase::findEqual(const Property& key,
                                  const std::function<bool(const PropertyList&)>& match) {
    platform::DatabaseHandle* handle = lookupHandle(key.id);
    if (!handle)
        return 0;
    quint32 found = 0;
    PropertyList props;
    for (quint32 id = handle->seekFirstEqual(key); id != 0 && found == 0;
         id = handle->seekNextEqual(key)) {
        if (handle->readCurrent(props) == platform::DatabaseHandle::Read && match(props))
            found = id;
    }
    return found;
}

void RecordDatabase::close() {
    m_lookup.reset();
    m_handle.reset();
    m_currentId = 0;
    m_searchKey.reset();
}

quint32 RecordDatabase::track(quint32 found) {
    m_currentId = found;
    return found;
}

quint32 RecordDatabase::seekFirst(const Property& key) {
    if (!m_handle)
        return 0;
    m_searchKey = key;
    return track(m_handle->seekFirstEqual(key));
}

quint32 RecordDatabase::seekFirst() {
    if (!m_handle)
        return 0;
    m_searchKey.reset();
    return track(m_handle->seekBeginning());
}

quint32 RecordDatabase::seekNext() {
    // Each step of a walk is a row of the work on this thread; a cancelled
    // work's walk ends here.
    if (!m_handle || !platform::WorkProgress::countRows())
        return 0;
    if (m_searchKey)
        return track(m_handle->seekNextEqual(*m_searchKey));
    return track(m_handle->seekCurrent(1));
}

quint32 RecordDatabase::seekRecord(quint32 recordId) {
    return m_handle ? track(m_handle->seekRecord(recordId)) : 0;
}

quint32 RecordDatabase::seekFrom(platform::FileTime instant) {
    if (!m_handle)
        return 0;
    m_searchKey.reset();
    return track(m_handle->seekGreaterOrEqual(Property::fileTime(sortProperty(), instant)));
}

quint32 RecordDatabase::seekLast() {
    if (!m_handle)
        return 0;
    m_searchKey.reset();
    return track(m_handle->seekEnd());
}

quint32 RecordDatabase::seekPrevious() {
    if (!m_handle || !platform::WorkProgress::countRows())
        return 0;
    m_searchKey.reset();
    return track(m_handle->seekCurrent(-1));
}

namespace {
ReadResult resultOf(platform::DatabaseHandle::ReadResult result) {
    switch (result) {
        case platform::DatabaseHandle::Read:
            return ReadResult::Read;
        case platform::DatabaseHandle::NoCurrentRecord:
            return ReadResult::NoCurrentRecord;
        default:
            return ReadResult::Failed;
    }
}
}  // namespace

ReadResult RecordDatabase::readCurrent(PropertyList& props) {
    if (!m_handle) {
        props.clear();
        return ReadResult::Failed;
    }
    return resultOf(m_handle->readCurrent(props));
}

ReadResult RecordDatabase::readProperty(PropertyList& props, std::initializer_list<quint32> ids) {
    if (!m_handle) {
        props.clear();
        return ReadResult::Failed;
    }
    return resultOf(m_handle->readCurrent(props, ids));
}

quint32 RecordDatabase::addProperties(const PropertyList& props) {
    if (!m_handle)
        return 0;
    const quint32 id = track(m_handle->write(0, props));
    RecordJournal::added(m_store, m_databaseId, id);
    return id;
}

bool RecordDatabase::updateProperties(const PropertyList& props) {
    if (!m_handle || m_currentId == 0)
        return false;
    RecordJournal::aboutToWrite(m_store, m_databaseId, m_currentId);
    return m_handle->write(m_currentId, props) != 0;
}

WriteResult RecordDatabase::add(StoredRecord& record, quint16 changeFlags) {
    if (!record.isStorable())
        return WriteResult::NotStorable;
    const quint32 id = addProperties(record.propertiesForAdd(changeFlags));
    if (id == 0)
        return WriteResult::Refused;
    record.recordId = id;
    return WriteResult::Written;
}

WriteResult RecordDatabase::addAll(std::span<StoredRecord* const> records, quint16 changeFlags) {
    if (records.empty())
        return WriteResult::Unchanged;
    std::vector<PropertyList> props;
    props.reserve(records.size());
    for (const StoredRecord* record : records) {
        if (!record->isStorable())
            return WriteResult::NotStorable;
        props.push_back(record->propertiesForAdd(changeFlags));
    }
    if (!m_handle)
        return WriteResult::Refused;
    m_currentId = 0;
    const quint32 first = m_handle->addAll(props);
    if (first == 0)
        return WriteResult::Refused;
    for (size_t i = 0; i < records.size(); ++i) {
        records[i]->recordId = first + quint32(i);
        RecordJournal::added(m_store, m_databaseId, records[i]->recordId);
    }
    return WriteResult::Written;
}

WriteResult RecordDatabase::update(StoredRecord& record, quint16 changeFlags) {
    if (!record.isStorable())
        return WriteResult::NotStorable;
    if (m_currentId == 0)
        return WriteResult::NotFound;
    const quint16 flags = record.hasChangeFlags() ? changeFlagsForUpdate(changeFlags) : changeFlags;
    return updateProperties(record.propertiesForUpdate(flags)) ? WriteResult::Written
                                                               : WriteResult::Refused;
}

quint16 RecordDatabase::changeFlagsForUpdate(quint16 passed) {
    PropertyList stored;
    quint16 old = 0;
    if (readProperty(stored, {prop::ChangeFlags}) == ReadResult::Read && !stored.isEmpty())
        old = stored.first().toUi2();
    const quint16 result = quint16(passed | old);
    return (result == 3 && old == 3) ? quint16(7) : result;
}

bool RecordDatabase::deleteCurrent() {
    return deleteRecord(m_currentId);
}

bool RecordDatabase::deleteRecord(quint32 recordId) {
    if (!m_handle || recordId == 0)
        return false;
    RecordJournal::aboutToWrite(m_store, m_databaseId, recordId);
    const bool ok = m_handle->deleteRecord(recordId);
    if (ok && recordId == m_currentId)
        m_currentId = 0;
    return ok;
}

void RecordDatabase::deleteAllOfClient(quint32 clientId) {
    if (!m_handle)
        return;
    const Property key = Property::ui4(prop::ClientId, clientId);
    platform::StoreBatch batch(*m_store);
    while (seekFirst(key) != 0)
        if (!deleteCurrent())
            return;
    batch.commit();
}

int RecordDatabase::recordCount() const {
    return m_handle ? m_handle->recordCount() : -1;
}

int RecordDatabase::lastError() const {
    return m_store ? m_store->lastError() : 0;
}

}  // namespace tempolatch
