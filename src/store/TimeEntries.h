#pragma once

#include "store/Databases.h"
#include "store/RecordStore.h"
#include "store/Records.h"
#include "store/TimeEntry.h"

namespace tempolatch {

// The time entries of the store ("Tempolatch Data 1"), by record id or
// walked by date.
class TimeEntries : public Records<TimeEntry> {
public:
    explicit TimeEntries(RecordStore& store) : Records(store.entries()) {}
    // Those of one database outside a profile's store (an upgrade, a copy).
    explicit TimeEntries(TimeEntryDatabase& db) : Records(db) {}
};

}  // namespace tempolatch
