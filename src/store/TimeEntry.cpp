#include "store/TimeEntry.h"

#include "store/RecordFields.h"

namespace tempolatch {

using platform::FileTime;
using platform::Property;
using platform::PropertyList;

namespace {

// What older versions stored instead of the status and the start time.
struct LegacyValues {
    std::optional<bool> billable;
    std::optional<bool> paid;
    std::optional<FileTime> startTime;
};

FileTime dayOf(FileTime t) {
    return FileTime{t.ticks - t.ticks % FileTime::TicksPerDay};
}

// The entry's day at the hour, minute and second of `time`, milliseconds 0.
FileTime withTimeOfDay(FileTime day, FileTime time) {
    const quint64 seconds = (time.ticks % FileTime::TicksPerDay) / FileTime::TicksPerSecond;
    return FileTime{dayOf(day).ticks + seconds * FileTime::TicksPerSecond};
}

using Field = RecordField<TimeEntry>;
constexpr Presence Always = Presence::Always;

// Add order; an update moves the note and the break behind the modified time.
const Field kFields[] = {
    {prop::EntryDate, &TimeEntry::date, Always},
    {prop::ClientName, &TimeEntry::client, Always},
    {prop::Project, &TimeEntry::project},
    {prop::Phase, &TimeEntry::phase},
    {prop::TaskName, &TimeEntry::task, Always},
    {prop::Duration, &TimeEntry::duration},
    {prop::Status, &TimeEntry::status},
    {prop::Currency, &TimeEntry::currency},
    {prop::Rate, &TimeEntry::rate},
    {prop::PaidDate, &TimeEntry::paidDate},
    {prop::Note, &TimeEntry::note, Presence::WhenSet, nullptr, true},
    {prop::BillTo, &TimeEntry::billTo},
    {prop::Custom1, &TimeEntry::custom1},
    {prop::Custom2, &TimeEntry::custom2},
    {prop::Custom3, &TimeEntry::custom3},
    {prop::RateType, &TimeEntry::rateType},
    {prop::Break, &TimeEntry::breakTime, Presence::WhenSet, nullptr, true},
    {prop::Modified, &TimeEntry::modified, Always},
};

void noteLegacy(LegacyValues& legacy, const Property& p) {
    if (p.id == prop::LegacyBillable)
        legacy.billable = p.toBool();
    else if (p.id == prop::LegacyPaid)
        legacy.paid = p.toBool();
    else if (p.id == prop::LegacyStartTime)
        legacy.startTime = p.toFileTime();
}

// The legacy flags come before a status property, which decides when
// present; the legacy start time replaces the time of day of the date.
void applyLegacy(TimeEntry& e, const LegacyValues& legacy, const PropertyList& props) {
    if (!platform::findProperty(props, prop::Status)) {
        if (legacy.billable)
            e.status = *legacy.billable ? EntryStatus::Billable : EntryStatus::NonBillable;
        if (legacy.paid && *legacy.paid)
            e.status = EntryStatus::Paid;
    }
    if (legacy.startTime)
        e.date = withTimeOfDay(e.date, *legacy.startTime);
}

}  // namespace

void TimeEntry::setFromProperties(const PropertyList& props) {
    const quint32 id = recordId;
    clear();
    recordId = id;
    LegacyValues legacy;
    for (const Property& p : props) {
        if (!recordfields::read<TimeEntry>(*this, p, kFields))
            noteLegacy(legacy, p);
    }
    applyLegacy(*this, legacy, props);
}

PropertyList TimeEntry::propertiesForAdd(quint16 flags) const {
    return recordfields::write<TimeEntry>(*this, kFields, false, flags);
}

PropertyList TimeEntry::propertiesForUpdate(quint16 flags) const {
    return recordfields::write<TimeEntry>(*this, kFields, true, flags);
}

TimeEntry::Problem TimeEntry::problem() const {
    if (duration < 0 || duration > MaxStoredHundredths)
        return Problem::DurationOutOfRange;
    if (breakTime < 0 || breakTime > MaxStoredHundredths)
        return Problem::BreakOutOfRange;
    if (rate < 0)
        return Problem::NegativeRate;
    return Problem::None;
}

bool TimeEntry::hasStartTime() const {
    return (date.ticks % FileTime::TicksPerMinute) / FileTime::TicksPerMillisecond != 0;
}

double TimeEntry::amount(bool precise) const {
    if (rateType == RateType::Fixed)
        return rate * 0.01;
    return rate * 0.01 * hoursOf(duration, precise);
}

FileTime TimeEntry::endTime() const {
    FileTime end = date;
    if (durationMinutes() > 0)
        end = end.addMinutes(durationMinutes());
    if (breakMinutes() != 0)
        end = end.addMinutes(breakMinutes());
    return end;
}

}  // namespace tempolatch
