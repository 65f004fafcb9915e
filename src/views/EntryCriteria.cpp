#include "views/EntryCriteria.h"

#include <limits>

#include "store/TimeEntries.h"
#include "views/EntryFilter.h"

namespace tempolatch {

platform::FileTime criteriaStart(const EntryFilter& criteria) {
    if (criteria.hasDateRange())
        if (const auto start = platform::toFileTime(criteria.startDate))
            return *start;
    return platform::FileTime{1};
}

platform::FileTime criteriaEnd(const EntryFilter& criteria) {
    if (criteria.hasDateRange())
        if (const auto end = platform::toFileTime(criteria.endDate))
            return *end;
    return platform::FileTime{std::numeric_limits<quint64>::max()};
}

void forEachChosenEntry(TimeEntryDatabase& db, const EntryFilter& criteria,
                        const std::function<bool(const TimeEntry&)>& visit) {
    TimeEntries(db).forEachInRange(criteriaStart(criteria), criteriaEnd(criteria),
                                   [&](const TimeEntry& entry) {
                                       return !criteria.matches(entry) || visit(entry);
                                   });
}

}  // namespace tempolatch
