#pragma once

#include <QString>
#include <optional>

#include "editing/QuickEntryParser.h"
#include "platform/FileTime.h"

namespace tempolatch {

class RecordStore;
class Settings;
class TimeEntry;

namespace quickentry {

// The clients, projects and tasks of the store's client structure.
KnownNames storeNames(RecordStore& store);

// The entry a quick line makes on `day`: what a new entry of the editor
// gets (status and currency of the new-entry options, the duration rounded
// to the duration step when that option is on, the client's first rate or
// else the first default rate when billable), with the line's time, names
// and note.
TimeEntry entryOf(const QuickEntry& quick, const platform::SystemTime& day, RecordStore& store,
                  const Settings& settings);

// What writing the line came to: the new entry's record id, or why not.
struct QuickEntryWritten {
    std::optional<quint32> recordId;
    QString problem;
};

QuickEntryWritten write(const QuickEntry& quick, const platform::SystemTime& day,
                        RecordStore& store, const Settings& settings);

}  // namespace quickentry
}  // namespace tempolatch
