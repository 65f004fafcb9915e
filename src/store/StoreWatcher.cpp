#include "store/StoreWatcher.h"

#include "platform/ObjectStore.h"
#include "store/RecordStore.h"

namespace tempolatch {

StoreWatcher::StoreWatcher(RecordStore& store, QObject* parent)
    : QObject(parent), m_records(store) {
    connect(&m_timer, &QTimer::timeout, this, [this] { check(); });
}

void StoreWatcher::start(int intervalMs) {
    // Start from what is there now: only later changes are news.
    m_watched = store();
    m_version = m_watched ? m_watched->externalDataVersion() : -1;
    m_timer.start(intervalMs);
}

void StoreWatcher::stop() {
    m_timer.stop();
}

platform::ObjectStore* StoreWatcher::store() const {
    // Only a store that is already open is watched; polling must not open it.
    return m_records.isOpen() ? m_records.objectStore() : nullptr;
}

bool StoreWatcher::check() {
    const platform::ObjectStore* current = store();
    if (!current) {
        m_watched = nullptr;
        m_version = -1;
        return false;
    }
    const qint64 version = current->externalDataVersion();
    if (current != m_watched) {
        // A store opened anew (profile switch, removal of all data) is a
        // fresh start, not a change made by someone else.
        m_watched = current;
        m_version = version;
        return false;
    }
    if (version == m_version)
        return false;
    m_version = version;
    Q_EMIT storeChanged();
    return true;
}

}  // namespace tempolatch
