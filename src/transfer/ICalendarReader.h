#pragma once

#include <QByteArray>

#include "store/RecordValues.h"
#include "transfer/ImportedRows.h"

namespace tempolatch {

// The events (VEVENT) of an iCalendar file as time entries: the start from
// DTSTART (UTC, a TZID, or local time when it names no zone), the duration
// to DTEND or by DURATION; CATEGORIES name the client, the project and the
// task, in that order; SUMMARY, and DESCRIPTION after it, make the note.
// All-day and cancelled events are left out with a notice; a repeating
// event (RRULE) gives its first occurrence only, with a notice that says
// so. Folded lines are joined (also where the fold splits a character) and
// escaped text is read. Every entry gets `status`.
ImportRead readICalendar(const QByteArray& bytes, EntryStatus status);

}  // namespace tempolatch
