#include "platform/DatabaseHandle.h"

#include "platform/ObjectStore.h"
#include "platform/SortKey.h"

namespace tempolatch::platform {

namespace {

// Every stored key starts with 0x01 (present) or 0x02 (absent): an empty key
// lies before all of them, 0x03 after all of them.
const QByteArray kBeforeAll;
const QByteArray kAfterAll(1, 0x03);
constexpr int kMaxBatch = 256;

}  // namespace

DatabaseHandle::DatabaseHandle(ObjectStore& store, quint32 databaseId, quint32 sortProp,
                               int sortColumn)
    : m_store(store), m_databaseId(databaseId), m_sortProp(sortProp), m_sortColumn(sortColumn) {}

void DatabaseHandle::clearAhead() {
    m_ahead.clear();
    m_aheadExhausted = false;
    m_batchSize = 8;
}

void DatabaseHandle::setCurrent(const Row* row) {
    if (!row) {
        m_currentId = 0;
        m_currentProps.clear();
        return;
    }
    m_currentId = row->id;
    m_positionKey = row->key;
    m_positionId = row->id;
    m_currentProps = row->props;
    m_currentGeneration = m_store.writeGeneration();
}

void DatabaseHandle::fetchAhead() {
    const size_t before = m_ahead.size();
    m_store.rowsAfter(m_databaseId, m_sortColumn, m_positionKey, m_positionId, m_batchSize,
                      m_ahead);
    m_aheadExhausted = m_ahead.size() - before < size_t(m_batchSize);
    m_batchSize = std::min(m_batchSize * 2, kMaxBatch);
    m_aheadGeneration = m_store.writeGeneration();
}

quint32 DatabaseHandle::stepForward() {
    if (m_aheadGeneration != m_store.writeGeneration())
        clearAhead();
    if (m_ahead.empty() && !m_aheadExhausted)
        fetchAhead();
    if (m_ahead.empty()) {
        setCurrent(nullptr);
        return 0;
    }
    const Row row = std::move(m_ahead.front());
    m_ahead.pop_front();
    setCurrent(&row);
    return m_currentId;
}

quint32 DatabaseHandle::moveTo(const QByteArray& key, quint32 id) {
    m_positionKey = key;
    m_positionId = id;
    clearAhead();
    return stepForward();
}

quint32 DatabaseHandle::stepBackward(int count) {
    clearAhead();
    const auto row =
        m_store.rowBefore(m_databaseId, m_sortColumn, m_positionKey, m_positionId, count - 1);
    setCurrent(row ? &*row : nullptr);
    return m_currentId;
}

quint32 DatabaseHandle::seekBeginning() {
    return moveTo(kBeforeAll, 0);
}

quint32 DatabaseHandle::seekEnd() {
    m_positionKey = kAfterAll;
    m_positionId = 0;
    return stepBackward(1);
}

quint32 DatabaseHandle::seekCurrent(int delta) {
    if (delta < 0)
        return stepBackward(-delta);
    if (delta == 0)
        return m_currentId;
    quint32 id = 0;
    for (int i = 0; i < delta; ++i)
        if ((id = stepForward()) == 0)
            break;
    return id;
}

quint32 DatabaseHandle::seekRecord(quint32 recordId) {
    clearAhead();
    const auto row = m_store.rowById(m_databaseId, m_sortColumn, recordId);
    setCurrent(row ? &*row : nullptr);
    return m_currentId;
}

quint32 DatabaseHandle::seekFirstEqual(const Property& key) {
    const QByteArray wanted = m_store.keys().keyOf(key);
    if (moveTo(wanted, 0) == 0 || m_positionKey != wanted) {
        setCurrent(nullptr);
        return 0;
    }
    return m_currentId;
}

quint32 DatabaseHandle::seekNextEqual(const Property& key) {
    const QByteArray wanted = m_store.keys().keyOf(key);
    if (stepForward() == 0 || m_positionKey != wanted) {
        setCurrent(nullptr);
        return 0;
    }
    return m_currentId;
}

quint32 DatabaseHandle::seekGreaterOrEqual(const Property& key) {
    return moveTo(m_store.keys().keyOf(key), 0);
}

DatabaseHandle::ReadResult DatabaseHandle::readCurrent(PropertyList& out) {
    out.clear();
    if (m_currentId == 0)
        return NoCurrentRecord;
    if (m_currentGeneration != m_store.writeGeneration()) {
        const quint32 id = m_currentId;
        if (seekRecord(id) == 0)
            return NoCurrentRecord;
    }
    auto props = decodeProperties(m_currentProps);
    if (!props)
        return ReadFailed;
    out = std::move(*props);
    return Read;
}

DatabaseHandle::ReadResult DatabaseHandle::readCurrent(PropertyList& out,
                                                       std::initializer_list<quint32> propIds) {
    PropertyList all;
    const ReadResult result = readCurrent(all);
    out.clear();
    for (const Property& p : all)
        if (std::find(propIds.begin(), propIds.end(), p.id) != propIds.end())
            out.append(p);
    return result;
}

quint32 DatabaseHandle::write(quint32 recordId, const PropertyList& props) {
    ObjectStore::StoredRow stored;
    const quint32 written = m_store.writeRecord(m_databaseId, recordId, props, &stored);
    if (written != 0) {
        // On the record as written, without reading it back: a restore
        // writes a million.
        clearAhead();
        const Row row{written, m_sortColumn == 1 ? stored.k1 : stored.k2, stored.props};
        setCurrent(&row);
    }
    return written;
}

quint32 DatabaseHandle::addAll(std::span<const PropertyList> records) {
    const quint32 first = m_store.addRecords(m_databaseId, records);
    clearAhead();
    setCurrent(nullptr);
    return first;
}

bool DatabaseHandle::deleteRecord(quint32 recordId) {
    if (!m_store.deleteRecord(m_databaseId, recordId))
        return false;
    if (recordId == m_currentId) {
        // The walk goes on after the deleted record's place.
        m_currentId = 0;
        m_currentProps.clear();
    }
    clearAhead();
    return true;
}

int DatabaseHandle::recordCount() const {
    return m_store.recordCount(m_databaseId);
}

}  // namespace tempolatch::platform
