#pragma once

#include "store/TimeEntry.h"

namespace tempolatch {

class RecordStore;

// Writes an edited entry and adds what the user typed that the client
// structure and the drop lists do not have yet: the client, its project and
// task pair (or client task), the bill-to contact, and the phase, currency
// and custom values.
class EntrySaver {
public:
    explicit EntrySaver(RecordStore& store) : m_store(store) {}

    // Stamps the modified time, then adds the entry (which gets its record
    // id) or rewrites its record. False when the entry was not written.
    bool save(TimeEntry& entry);

private:
    void addStructure(const TimeEntry& entry);

    RecordStore& m_store;
};

}  // namespace tempolatch
