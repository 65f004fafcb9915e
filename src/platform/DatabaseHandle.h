#pragma once

#include <QByteArray>
#include <QList>
#include <deque>
#include <initializer_list>
#include <span>

#include "platform/ObjectStore.h"
#include "platform/Property.h"

namespace tempolatch::platform {

// An open database with its seek pointer. Seeks return the record id found
// (0: none) and make it current. Walks read ahead in small batches and never
// keep a statement open between calls, so nothing pins an old snapshot and
// writes from this or another process are seen by the next batch.
class DatabaseHandle {
public:
    enum ReadResult { Read = 0, NoCurrentRecord = 1, ReadFailed = -1 };

    DatabaseHandle(ObjectStore& store, quint32 databaseId, quint32 sortProp, int sortColumn);

    quint32 databaseId() const { return m_databaseId; }
    quint32 sortProperty() const { return m_sortProp; }
    quint32 currentId() const { return m_currentId; }

    quint32 seekBeginning();
    quint32 seekCurrent(int delta);  // by n records from the current one
    quint32 seekEnd();
    quint32 seekRecord(quint32 recordId);
    quint32 seekFirstEqual(const Property& key);
    quint32 seekNextEqual(const Property& key);
    quint32 seekGreaterOrEqual(const Property& key);

    ReadResult readCurrent(PropertyList& out);
    ReadResult readCurrent(PropertyList& out, std::initializer_list<quint32> propIds);

    // Writes become current, as on the handheld.
    quint32 write(quint32 recordId, const PropertyList& props);
    // New records at once (ObjectStore::addRecords): the first one's id, 0
    // when none was added. None of them becomes current.
    quint32 addAll(std::span<const PropertyList> records);
    bool deleteRecord(quint32 recordId);

    int recordCount() const;

private:
    using Row = ObjectStore::KeyedRow;

    quint32 moveTo(const QByteArray& key, quint32 id);  // first record after (key, id)
    quint32 stepForward();
    quint32 stepBackward(int count);
    void fetchAhead();
    void setCurrent(const Row* row);
    void clearAhead();

    ObjectStore& m_store;
    quint32 m_databaseId;
    quint32 m_sortProp;
    int m_sortColumn;

    // Position: the current record, or the point a walk continues from.
    quint32 m_currentId = 0;
    QByteArray m_positionKey;
    quint32 m_positionId = 0;
    QByteArray m_currentProps;
    quint64 m_currentGeneration = 0;

    std::deque<Row> m_ahead;
    bool m_aheadExhausted = false;
    quint64 m_aheadGeneration = 0;
    int m_batchSize = 8;
};

}  // namespace tempolatch::platform
