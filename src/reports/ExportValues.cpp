#include "reports/ExportValues.h"

#include "notes/NoteStream.h"
#include "platform/Locale.h"
#include "store/RecordValues.h"
#include "store/TimeEntry.h"

namespace tempolatch {

int durationWholeMinutes(qint32 duration) {
    return wholeMinutes(duration);
}

platform::FileTime endTimeWithoutBreak(const TimeEntry& entry) {
    return entry.date.addMinutes(durationWholeMinutes(entry.duration));
}

QString shortDateText(platform::FileTime date) {
    if (date.isNull())
        return {};
    const auto st = platform::toSystemTime(date);
    return st ? platform::Locale::shortDate(*st) : QString();
}

QString entryNoteText(const TimeEntry& entry) {
    if (entry.note.isEmpty())
        return {};
    return noteToPlainText(entry.note);
}

}  // namespace tempolatch
