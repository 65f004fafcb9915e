#include "store/TimeEntry.h"

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

const TextField<TimeEntry> kTextFields[] = {
    {prop::ClientName, &TimeEntry::client}, {prop::Project, &TimeEntry::project},
    {prop::Phase, &TimeEntry::phase},       {prop::TaskName, &TimeEntry::task},
    {prop::Currency, &TimeEntry::currency}, {prop::BillTo, &TimeEntry::billTo},
    {prop::Custom1, &TimeEntry::custom1},   {prop::Custom2, &TimeEntry::custom2},
    {prop::Custom3, &TimeEntry::custom3},
};

bool setNumber(TimeEntry& e, const Property& p) {
    switch (p.id) {
        case prop::EntryDate:
            e.date = p.toFileTime();
            break;
        case prop::PaidDate:
            e.paidDate = p.toFileTime();
            break;
        case prop::Modified:
            e.modified = p.toFileTime();
            break;
        case prop::Duration:
            e.duration = p.toUi2();
            break;
        case prop::Break:
            e.breakTime = p.toUi2();
            break;
        case prop::Rate:
            e.rate = qint32(p.toUi4());
            break;
        case prop::Status:
            e.status = EntryStatus(p.toUi2());
            break;
        case prop::RateType:
            e.rateType = RateType(p.toUi2());
            break;
        case prop::ChangeFlags:
            e.changeFlags = p.toUi2();
            break;
        case prop::Note:
            e.note = p.blob;
            break;
        default:
            return false;
    }
    return true;
}

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
        if (!setTextField(*this, p, kTextFields) && !setNumber(*this, p))
            noteLegacy(legacy, p);
    }
    applyLegacy(*this, legacy, props);
}

PropertyList TimeEntry::propertiesForAdd(quint16 flags) const {
    return properties(false, flags);
}

PropertyList TimeEntry::propertiesForUpdate(quint16 flags) const {
    return properties(true, flags);
}

// Add and update write the same properties; update moves the note and the
// break behind the modified time.
PropertyList TimeEntry::properties(bool forUpdate, quint16 flags) const {
    PropertyWriter w(forUpdate);
    w.always(Property::fileTime(prop::EntryDate, date));
    w.always(Property::string(prop::ClientName, client));
    w.optional(!project.isEmpty(), Property::string(prop::Project, project));
    w.optional(!phase.isEmpty(), Property::string(prop::Phase, phase));
    w.always(Property::string(prop::TaskName, task));
    w.optional(duration > 0, Property::ui2(prop::Duration, quint16(duration)));
    w.optional(status != EntryStatus::NonBillable, Property::ui2(prop::Status, quint16(status)));
    w.optional(!currency.isEmpty(), Property::string(prop::Currency, currency));
    w.optional(rate > 0, Property::ui4(prop::Rate, quint32(rate)));
    w.optional(!paidDate.isNull(), Property::fileTime(prop::PaidDate, paidDate));
    const Property noteProp = Property::bytes(prop::Note, note);
    const Property breakProp = Property::ui2(prop::Break, quint16(breakTime));
    if (!forUpdate)
        w.optional(!note.isEmpty(), noteProp);
    w.optional(!billTo.isEmpty(), Property::string(prop::BillTo, billTo));
    w.optional(!custom1.isEmpty(), Property::string(prop::Custom1, custom1));
    w.optional(!custom2.isEmpty(), Property::string(prop::Custom2, custom2));
    w.optional(!custom3.isEmpty(), Property::string(prop::Custom3, custom3));
    w.optional(rateType != RateType::Normal, Property::ui2(prop::RateType, quint16(rateType)));
    if (!forUpdate)
        w.optional(breakTime > 0, breakProp);
    w.always(Property::fileTime(prop::Modified, modified));
    if (forUpdate) {
        w.optional(!note.isEmpty(), noteProp);
        w.optional(breakTime > 0, breakProp);
    }
    w.always(Property::ui2(prop::ChangeFlags, flags));
    return w.take();
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
