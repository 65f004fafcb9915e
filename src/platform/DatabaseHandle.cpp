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

// A seek past (key, id) goes in two steps, the records of the same key after
// the id, then those of greater keys: written as one "(k1, id) > (?, ?)",
// SQLite seeks by the key alone and reads every record of that key again,
// so that a walk over many equal keys cost their square.
const char* const kTiesAfter[] = {
    "SELECT id, k1, props FROM records WHERE db = ?1 AND k1 = ?2 AND id > ?3 "
    "ORDER BY id LIMIT ?4",
    "SELECT id, k2, props FROM records WHERE db = ?1 AND k2 IS NOT NULL AND k2 = ?2 AND id > ?3 "
    "ORDER BY id LIMIT ?4"};
const char* const kKeysAfter[] = {
    "SELECT id, k1, props FROM records WHERE db = ?1 AND k1 > ?2 ORDER BY k1, id LIMIT ?3",
    "SELECT id, k2, props FROM records WHERE db = ?1 AND k2 IS NOT NULL AND k2 > ?2 "
    "ORDER BY k2, id LIMIT ?3"};
const char* const kTiesBefore[] = {
    "SELECT id, k1, props FROM records WHERE db = ?1 AND k1 = ?2 AND id < ?3 "
    "ORDER BY id DESC LIMIT 1 OFFSET ?4",
    "SELECT id, k2, props FROM records WHERE db = ?1 AND k2 IS NOT NULL AND k2 = ?2 AND id < ?3 "
    "ORDER BY id DESC LIMIT 1 OFFSET ?4"};
const char* const kTiesBeforeCount[] = {
    "SELECT count(*) FROM records WHERE db = ?1 AND k1 = ?2 AND id < ?3",
    "SELECT count(*) FROM records WHERE db = ?1 AND k2 IS NOT NULL AND k2 = ?2 AND id < ?3"};
const char* const kKeysBefore[] = {
    "SELECT id, k1, props FROM records WHERE db = ?1 AND k1 < ?2 "
    "ORDER BY k1 DESC, id DESC LIMIT 1 OFFSET ?3",
    "SELECT id, k2, props FROM records WHERE db = ?1 AND k2 IS NOT NULL AND k2 < ?2 "
    "ORDER BY k2 DESC, id DESC LIMIT 1 OFFSET ?3"};
const char* const kById1 = "SELECT k1, props FROM records WHERE id = ?1 AND db = ?2";
const char* const kById2 = "SELECT k2, props FROM records WHERE id = ?1 AND db = ?2";

// The statements of a sort order: the first or the second key column.
int sortIndex(int sortColumn) {
    return sortColumn == 1 ? 0 : 1;
}

// The rows of a query (id, key, properties) to the end of `rows`; how many.
template <typename Rows>
int fetchInto(SqliteStatement& query, Rows& rows) {
    int fetched = 0;
    while (query.step()) {
        rows.push_back({quint32(query.int64(0)), query.blob(1), query.blob(2)});
        ++fetched;
    }
    query.reset();
    return fetched;
}

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
    auto& ties = m_store.connection().cached(kTiesAfter[sortIndex(m_sortColumn)]);
    ties.bind(1, qint64(m_databaseId))
        .bind(2, m_positionKey)
        .bind(3, qint64(m_positionId))
        .bind(4, qint64(m_batchSize));
    int fetched = fetchInto(ties, m_ahead);
    if (fetched < m_batchSize) {
        auto& after = m_store.connection().cached(kKeysAfter[sortIndex(m_sortColumn)]);
        after.bind(1, qint64(m_databaseId))
            .bind(2, m_positionKey)
            .bind(3, qint64(m_batchSize - fetched));
        fetched += fetchInto(after, m_ahead);
    }
    m_aheadExhausted = fetched < m_batchSize;
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
    // The records of the same key before the id first, then those of
    // smaller keys, skipping as many as the first step had.
    auto& ties = m_store.connection().cached(kTiesBefore[sortIndex(m_sortColumn)]);
    ties.bind(1, qint64(m_databaseId))
        .bind(2, m_positionKey)
        .bind(3, qint64(m_positionId))
        .bind(4, qint64(count - 1));
    if (fetchInto(ties, m_ahead) == 0) {
        auto& tieCount = m_store.connection().cached(kTiesBeforeCount[sortIndex(m_sortColumn)]);
        tieCount.bind(1, qint64(m_databaseId)).bind(2, m_positionKey).bind(3, qint64(m_positionId));
        const qint64 skipped = tieCount.step() ? tieCount.int64(0) : 0;
        tieCount.reset();
        auto& before = m_store.connection().cached(kKeysBefore[sortIndex(m_sortColumn)]);
        before.bind(1, qint64(m_databaseId))
            .bind(2, m_positionKey)
            .bind(3, qint64(count - 1) - skipped);
        fetchInto(before, m_ahead);
    }
    if (m_ahead.empty()) {
        setCurrent(nullptr);
        return 0;
    }
    const Row row = std::move(m_ahead.front());
    m_ahead.clear();
    setCurrent(&row);
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
    auto& q = m_store.connection().cached(m_sortColumn == 1 ? kById1 : kById2);
    q.bind(1, qint64(recordId)).bind(2, qint64(m_databaseId));
    if (!q.step()) {
        setCurrent(nullptr);
        return 0;
    }
    const Row row{recordId, q.blob(0), q.blob(1)};
    q.reset();
    setCurrent(&row);
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
