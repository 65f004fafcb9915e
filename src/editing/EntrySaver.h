#pragma once

#include "records/RecordSaving.h"
#include "store/TimeEntry.h"

namespace tempolatch {

class RecordStore;

// Writes an edited entry and adds what the user typed that the client
// structure and the drop lists do not have yet: the client, its project and
// task pair (or client task), the bill-to contact, and the phase, currency
// and custom values. All of it lands together or none of it does.
class EntrySaver {
public:
    explicit EntrySaver(RecordStore& store) : m_store(store) {}

    // Stamps the modified time, then adds the entry (which gets its record
    // id) or rewrites its record. When any write is refused, nothing is
    // written and the entry is left as it was; error() says why. With
    // `asRead`, an entry someone else changed since is left alone (Refused,
    // error() ErrorChangedElsewhere).
    WriteResult save(TimeEntry& entry, const std::optional<TimeEntry>& asRead = std::nullopt);

    // Adds only what the entry names that the client structure and the drop
    // lists lack (Add Timer, which starts no entry yet); all or nothing.
    WriteResult saveStructure(const TimeEntry& entry);

    // The store's error code of a refused save ("Error: %d").
    int error() const { return m_error; }

private:
    WriteResult addStructure(const TimeEntry& entry);

    RecordStore& m_store;
    int m_error = 0;
};

}  // namespace tempolatch
