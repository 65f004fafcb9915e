#include "store/RecordJournal.h"

#include <QMutex>
#include <algorithm>
#include <atomic>
#include <vector>

#include "platform/ObjectStore.h"
#include "store/RecordStore.h"

namespace tempolatch {

namespace {

// The journals that live now. Writes may come from a worker thread while
// the window that made the journal waits: hence the lock. Most writes
// happen with no journal at all and look no further than the count.
QMutex g_lock;
std::vector<RecordJournal*> g_journals;
std::atomic<int> g_count{0};

template <typename Note>
void tellJournals(Note note) {
    if (g_count.load(std::memory_order_acquire) == 0)
        return;
    const QMutexLocker locker(&g_lock);
    for (RecordJournal* journal : g_journals)
        note(journal);
}

std::optional<QByteArray> encodedRecord(platform::ObjectStore* store, quint32 databaseId,
                                        quint32 recordId) {
    if (!store || recordId == 0)
        return std::nullopt;
    const std::optional<platform::PropertyList> props = store->readRecord(databaseId, recordId);
    if (!props)
        return std::nullopt;
    return platform::encodeProperties(*props);
}

}  // namespace

RecordJournal::RecordJournal(RecordStore& store) : m_store(store.objectStore()) {
    const QMutexLocker locker(&g_lock);
    g_journals.push_back(this);
    g_count.fetch_add(1, std::memory_order_release);
}

RecordJournal::~RecordJournal() {
    const QMutexLocker locker(&g_lock);
    g_journals.erase(std::find(g_journals.begin(), g_journals.end(), this));
    g_count.fetch_sub(1, std::memory_order_release);
}

void RecordJournal::aboutToWrite(platform::ObjectStore* store, quint32 databaseId,
                                 quint32 recordId) {
    tellJournals([&](RecordJournal* journal) {
        if (journal->isOf(store))
            journal->note(store, databaseId, recordId, false);
    });
}

void RecordJournal::added(platform::ObjectStore* store, quint32 databaseId, quint32 recordId) {
    tellJournals([&](RecordJournal* journal) {
        if (journal->isOf(store))
            journal->note(store, databaseId, recordId, true);
    });
}

bool RecordJournal::isOf(const platform::ObjectStore* writer) const {
    // Long work writes through a connection of its own to the same store.
    return writer && m_store && (writer == m_store || writer->path() == m_store->path());
}

void RecordJournal::note(platform::ObjectStore* writer, quint32 databaseId, quint32 recordId,
                         bool isNew) {
    const QPair<quint32, quint32> key(databaseId, recordId);
    if (recordId == 0 || m_before.contains(key))
        return;
    m_order.append(key);
    // Read through the writer: inside its transaction it sees the record as
    // its own earlier writes left it.
    m_before.insert(key, isNew ? std::nullopt : encodedRecord(writer, databaseId, recordId));
}

QList<RecordChange> RecordJournal::changes() const {
    QList<RecordChange> out;
    for (const auto& key : m_order) {
        RecordChange change{key.first, key.second, m_before.value(key),
                            encodedRecord(m_store, key.first, key.second)};
        if (change.before != change.after)
            out.append(std::move(change));
    }
    return out;
}

std::optional<QByteArray> storedRecord(RecordStore& store, quint32 databaseId, quint32 recordId) {
    return encodedRecord(store.objectStore(), databaseId, recordId);
}

bool databaseExists(RecordStore& store, quint32 databaseId) {
    platform::ObjectStore* objects = store.objectStore();
    return objects && databaseId != 0 && !objects->sortOrdersOf(databaseId).isEmpty();
}

WriteResult putRecord(RecordStore& store, quint32 databaseId, quint32 recordId,
                      const std::optional<QByteArray>& props) {
    platform::ObjectStore* objects = store.objectStore();
    if (!objects || !objects->inBatch())
        return WriteResult::Refused;
    // Out and in again: the record then holds these properties and no others.
    if (objects->readRecord(databaseId, recordId) && !objects->deleteRecord(databaseId, recordId))
        return WriteResult::Refused;
    if (!props)
        return WriteResult::Written;
    const platform::ObjectStore::KeyedRow row{recordId, {}, *props};
    return objects->insertRecordsAs(databaseId, std::span(&row, 1)) ? WriteResult::Written
                                                                    : WriteResult::Refused;
}

}  // namespace tempolatch
