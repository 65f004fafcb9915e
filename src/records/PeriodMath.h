#pragma once

#include "platform/FileTime.h"

namespace tempolatch::periodmath {

using platform::SystemTime;

// Day of the week of a date, 0 Sunday .. 6 Saturday, from the date itself
// (a stored day-of-week field may be stale).
int dayOfWeek(int year, int month, int day);
int daysInMonth(int year, int month);

// The date of `st` at 00:00:00, with its day of the week recomputed.
SystemTime dateOnly(const SystemTime& st);
// 23:59:59 of the day of `st`.
SystemTime endOfDay(const SystemTime& st);

// Day steps go through file time so that month and year ends carry
// correctly. A step that leaves the representable range keeps `st`.
SystemTime addDays(const SystemTime& st, int days);
SystemTime addSeconds(const SystemTime& st, qint64 seconds);

// Moves by whole months, carrying into the year; the day becomes the
// smaller of the old day and the new month's last day.
SystemTime addMonths(const SystemTime& st, int months);

// The first day (00:00:00) of the week containing `st`.
SystemTime firstDayOfWeek(const SystemTime& st, bool weekStartsMonday);

// ISO 8601 week number of a date, through its Julian day number.
int isoWeekNumber(int year, int month, int day);

// A calendar record that names a real day (time fields ignored).
bool isValidDate(const SystemTime& st);

}  // namespace tempolatch::periodmath
