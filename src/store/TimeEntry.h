#pragma once

#include <QByteArray>
#include <QString>

#include "platform/FileTime.h"
#include "platform/Property.h"
#include "store/Databases.h"
#include "store/RecordValues.h"
#include "store/StoreIds.h"
#include "store/StoredRecord.h"

namespace tempolatch {

// One block of work time, a record of "Tempolatch Data 1". Copies are deep:
// the note bytes are a value like every other field.
class TimeEntry : public StoredRecord {
public:
    // Why an entry cannot be stored: durations and breaks are kept in 16
    // bits and rates as unsigned numbers, so anything outside would come
    // back as another value.
    enum class Problem { None, DurationOutOfRange, BreakOutOfRange, NegativeRate };

    EntryStatus status = EntryStatus::NonBillable;
    RateType rateType = RateType::Normal;
    QString client;
    QString project;
    QString phase;
    QString task;
    QString currency;
    QString billTo;
    QString custom1;
    QString custom2;
    QString custom3;
    platform::FileTime date;  // its time of day is the start time, if any
    platform::FileTime paidDate;
    QByteArray note;      // empty: no note
    qint32 duration = 0;  // hundredths of an hour
    qint32 breakTime = 0;
    qint32 rate = 0;  // hundredths per hour, or the whole amount when Fixed
    platform::FileTime modified;
    quint16 changeFlags = 0;

    void clear() { *this = TimeEntry(); }

    // The entry as stored in these properties (legacy ones included);
    // unknown properties are ignored. The record id is left as it is.
    void setFromProperties(const platform::PropertyList& props);

    platform::PropertyList propertiesForAdd(quint16 changeFlags) const override;
    platform::PropertyList propertiesForUpdate(quint16 changeFlags) const override;
    bool hasChangeFlags() const override { return true; }
    bool isStorable() const override { return problem() == Problem::None; }
    Problem problem() const;

    qint32 noteSize() const { return qint32(note.size()); }
    // An entry has a start time when its seconds or milliseconds are set.
    bool hasStartTime() const;

    // In currency units. Fixed entries are worth their rate; the others
    // rate x hours, with the ten-minute fractions taken exactly when
    // `precise` (the settings' precise calculation) is set.
    double amount(bool precise) const;
    int durationMinutes() const { return wholeMinutes(duration); }
    int breakMinutes() const { return wholeMinutes(breakTime); }
    platform::FileTime endTime() const;

    bool operator==(const TimeEntry&) const = default;
};

}  // namespace tempolatch
