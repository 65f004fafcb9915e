#pragma once

#include <functional>

#include "platform/FileTime.h"
#include "store/Databases.h"

namespace tempolatch {

class EntryFilter;
class TimeEntry;

// The entries that criteria choose (the entry criteria sheet's filter, or
// the command line's): the walk from the range's start to its end in date
// order, and the filter's other criteria. Bulk commands, exports and
// reports all take their entries this way.

// The first and last instants of the criteria's range: the start with its
// time of day, the end with its own (the sheet's end picker gives the end of
// its day). Without a range, every date.
platform::FileTime criteriaStart(const EntryFilter& criteria);
platform::FileTime criteriaEnd(const EntryFilter& criteria);

// Every chosen entry in date order until visit answers false.
void forEachChosenEntry(TimeEntryDatabase& db, const EntryFilter& criteria,
                        const std::function<bool(const TimeEntry&)>& visit);

}  // namespace tempolatch
