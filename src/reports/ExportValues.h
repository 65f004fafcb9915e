#pragma once

#include <QString>

#include "platform/FileTime.h"

namespace tempolatch {

class TimeEntry;

// Values of a time entry as every export and report writes them.

// Whole minutes of a duration, with the hundredths .17, .33, .67 and .83
// taken as the ten-minute steps they stand for: 1.17 h is 70 minutes, not 70.2
// cut to 70 by luck, and 1.33 h is 80, not 79.
int durationWholeMinutes(qint32 duration);

// The start time plus the duration in whole minutes, without the break;
// only meaningful when the entry has a start time.
platform::FileTime endTimeWithoutBreak(const TimeEntry& entry);

// A date of an entry or expense as the locale writes it short; empty for
// no date (0), which older data may hold: a report must not show it as a
// day ("1/1/01" reads as 2001).
QString shortDateText(platform::FileTime date);

// The plain text of the entry's note, paragraphs separated by CR LF; empty
// when it has no note or the note holds no text (a drawing only, or bytes
// that are not ours).
QString entryNoteText(const TimeEntry& entry);

}  // namespace tempolatch
