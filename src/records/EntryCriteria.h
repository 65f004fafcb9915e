#pragma once

#include <QString>
#include <functional>

#include "platform/FileTime.h"

namespace tempolatch {

class RecordStore;

class EntryFilter;
class TimeEntry;
struct FilterChoices;

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
void forEachChosenEntry(RecordStore& db, const EntryFilter& criteria,
                        const std::function<bool(const TimeEntry&)>& visit);

// The entry criteria sheet's rules, apart from its window.

// What the sheet is opened for: the statuses it offers follow from it.
enum class CriteriaMode { Any = 0, MarkPaid = 1, MarkBilled = 2 };

// Which status boxes the user may change in a mode; the others keep the
// mode's preset. Marking paid leaves Paid and Non Billable out; marking
// billed takes only Billable entries, so Unpaid stays checked and fixed.
struct StatusBoxesEnabled {
    bool unpaid = true;
    bool billed = true;
    bool paid = true;
    bool nonBillable = true;
};
StatusBoxesEnabled statusBoxesEnabled(CriteriaMode mode);

// The statuses a mode presets, over whatever else the filter holds (an
// EntryFilter, or an ExpenseFilter, which keeps its statuses alike).
template <typename Criteria>
void applyModeStatuses(CriteriaMode mode, Criteria& criteria) {
    switch (mode) {
        case CriteriaMode::MarkBilled:
            criteria.billable = true;
            criteria.billed = false;
            [[fallthrough]];
        case CriteriaMode::MarkPaid:
            criteria.paid = false;
            criteria.nonBillable = false;
            break;
        case CriteriaMode::Any:
            break;
    }
}

// What the sheet opens with: the period from the start of its first day to
// the end of its last, every other criterion "(All)", the mode's statuses.
EntryFilter presetCriteria(CriteriaMode mode, const platform::SystemTime& periodStart,
                           const platform::SystemTime& periodEnd);

// What the sheet's pages hold when OK is pressed. Empty texts are "(All)".
struct CriteriaChoices {
    platform::SystemTime startDay;  // the pickers' days; their times are ignored
    platform::SystemTime endDay;
    QString task;
};

// The criteria OK writes: the range from 00:00:00 of the start day to
// 23:59:59 of the end day, the lists' and boxes' choices, and the statuses
// a mode fixes, whatever the boxes say.
EntryFilter criteriaOf(CriteriaMode mode, const CriteriaChoices& range, const FilterChoices& lists);

}  // namespace tempolatch
