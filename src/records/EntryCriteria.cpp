#include "records/EntryCriteria.h"

#include <limits>

#include "records/EntryFilter.h"
#include "records/FilterChoices.h"
#include "records/PeriodMath.h"
#include "store/TimeEntries.h"

namespace tempolatch {

platform::FileTime criteriaStart(const EntryFilter& criteria) {
    if (criteria.hasDateRange())
        if (const auto start = platform::toFileTime(criteria.startDate))
            return *start;
    // Every date is also 0: an entry that older data left without a date
    // is still exported and reported rather than silently left out.
    return platform::FileTime{0};
}

platform::FileTime criteriaEnd(const EntryFilter& criteria) {
    if (criteria.hasDateRange())
        if (const auto end = platform::toFileTime(criteria.endDate))
            return *end;
    return platform::FileTime{std::numeric_limits<quint64>::max()};
}

void forEachChosenEntry(RecordStore& db, const EntryFilter& criteria,
                        const std::function<bool(const TimeEntry&)>& visit) {
    TimeEntries(db).forEachInRange(
        criteriaStart(criteria), criteriaEnd(criteria),
        [&](const TimeEntry& entry) { return !criteria.matches(entry) || visit(entry); });
}

StatusBoxesEnabled statusBoxesEnabled(CriteriaMode mode) {
    StatusBoxesEnabled enabled;
    switch (mode) {
        case CriteriaMode::MarkBilled:
            enabled.unpaid = false;
            enabled.billed = false;
            [[fallthrough]];
        case CriteriaMode::MarkPaid:
            enabled.paid = false;
            enabled.nonBillable = false;
            break;
        case CriteriaMode::Any:
            break;
    }
    return enabled;
}

EntryFilter presetCriteria(CriteriaMode mode, const platform::SystemTime& periodStart,
                           const platform::SystemTime& periodEnd) {
    EntryFilter criteria;
    criteria.startDate = periodmath::dateOnly(periodStart);
    criteria.endDate = periodmath::endOfDay(periodEnd);
    applyModeStatuses(mode, criteria);
    return criteria;
}

EntryFilter criteriaOf(CriteriaMode mode, const CriteriaChoices& range,
                       const FilterChoices& lists) {
    EntryFilter criteria;
    // The end picker names a day: every entry of that day is in, also one
    // started in its last minute.
    criteria.startDate = periodmath::dateOnly(range.startDay);
    criteria.endDate = periodmath::endOfDay(range.endDay);
    lists.apply(criteria);
    criteria.task = range.task;
    applyModeStatuses(mode, criteria);
    return criteria;
}

}  // namespace tempolatch
