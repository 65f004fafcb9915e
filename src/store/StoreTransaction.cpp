#include "store/StoreTransaction.h"

#include "platform/ObjectStore.h"
#include "platform/WorkProgress.h"
#include "store/RecordStore.h"

namespace tempolatch {

StoreTransaction::StoreTransaction(RecordStore& store) : m_store(store) {
    platform::ObjectStore* objects = store.objectStore();
    m_active = objects && objects->beginBatch();
}

StoreTransaction::~StoreTransaction() {
    if (m_active)
        m_store.objectStore()->rollbackBatch();
}

StoreOutcome StoreTransaction::refused() {
    return StoreOutcome{WriteResult::Refused, m_store.lastError()};
}

StoreOutcome StoreTransaction::commit() {
    return finish(WriteResult::Written);
}

StoreOutcome StoreTransaction::finish(WriteResult result) {
    if (!m_active)
        return refused();
    m_active = false;
    platform::ObjectStore& objects = *m_store.objectStore();
    // A cancelled work keeps nothing of what it wrote.
    if (platform::WorkProgress::cancelledHere() && tempolatch::succeeded(result))
        result = WriteResult::Refused;
    if (!tempolatch::succeeded(result)) {
        // Read the code before the rollback, which may set one of its own.
        const StoreOutcome outcome{result,
                                   result == WriteResult::Refused ? m_store.lastError() : 0};
        objects.rollbackBatch();
        return outcome;
    }
    if (objects.commitBatch())
        return StoreOutcome{WriteResult::Written, 0};
    const StoreOutcome outcome = refused();
    objects.rollbackBatch();
    return outcome;
}

StoreSnapshot::StoreSnapshot(RecordStore& store) : m_store(store) {
    platform::ObjectStore* objects = store.objectStore();
    m_active = objects && objects->beginSnapshot();
}

StoreSnapshot::~StoreSnapshot() {
    if (m_active)
        m_store.objectStore()->endSnapshot();
}

StoreOutcome writeInOneTransaction(RecordStore& store, const std::function<WriteResult()>& writes) {
    if (!store.isOpen() && !store.openAll())
        return StoreOutcome{WriteResult::Refused, store.lastError()};
    StoreTransaction transaction(store);
    if (!transaction.isActive())
        return transaction.commit();
    return transaction.finish(writes());
}

}  // namespace tempolatch
