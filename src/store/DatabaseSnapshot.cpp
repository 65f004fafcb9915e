#include "store/DatabaseSnapshot.h"

#include "platform/ObjectStore.h"
#include "store/RecordDatabase.h"

namespace tempolatch {

DatabaseSnapshot::DatabaseSnapshot(RecordDatabase& db) {
    if (platform::ObjectStore* store = db.objectStore())
        m_snapshot = std::make_unique<platform::ReadSnapshot>(*store);
}

DatabaseSnapshot::~DatabaseSnapshot() = default;

}  // namespace tempolatch
