#pragma once

#include <QString>
#include <QStringList>

#include "platform/FileTime.h"
#include "store/TimeEntry.h"

namespace tempolatch {

class Settings;

// How the entry editor reads and writes durations, breaks and rates as text,
// and the rules of the General page and the start/end time dialog. Plain
// functions, so that they are tested without a window.
namespace entryvalues {

// The longest leading decimal number of the text, as the C library's atof
// reads it ("1,5" is 1, "abc" is 0). Only the first 64 bytes of the text's
// 8-bit form are read.
double leadingNumber(const QString& text);
// An empty text passes; any letter fails. Digits, signs, separators and
// spaces pass.
bool isNumericText(const QString& text);

// Hundredths of `value` (hours or currency units), truncated toward zero.
// Values beyond 32 bits are clamped so that range checks refuse them.
qint32 hundredthsOf(double value);

// Sets the duration from hours, rounded up to the settings' step when the
// duration granularity is on.
void setDurationHours(TimeEntry& entry, double hours, const Settings& settings);
void setDurationText(TimeEntry& entry, const QString& text, const Settings& settings);
void setBreakText(TimeEntry& entry, const QString& text);
void setRateText(TimeEntry& entry, const QString& text);

// The choices of a duration box: one step to 12 hours, "%.02f" of hours.
QStringList durationChoices(int stepMinutes);

// A fresh entry dated today (local date, no start time), with `from`
// copied over it when given; entries not yet stored get the new-entry
// defaults unless `keepValues` is set.
TimeEntry openingEntry(const TimeEntry* from, bool keepValues, const Settings& settings);

// The date part and the start time of an entry's date-time. A start time
// is marked by one second past the minute.
platform::SystemTime dateTimeOf(const TimeEntry& entry);
void setDate(TimeEntry& entry, int year, int month, int day);
void setStartTime(TimeEntry& entry, int hour, int minute);
void clearStartTime(TimeEntry& entry);

// The start/end time dialog's result: the duration from start to end, less
// the break, in hours. An end before the start is on the next day.
double spanHours(int startHour, int startMinute, int endHour, int endMinute, double breakHours);

// The message (string id) for a duration or break the store cannot keep;
// 0 when both fit.
int rangeMessage(const TimeEntry& entry);

}  // namespace entryvalues
}  // namespace tempolatch
