#pragma once

#include <QByteArray>

#include "store/RecordValues.h"
#include "transfer/ImportedRows.h"

namespace tempolatch {

// The intervals of `timew export` (a JSON array of objects with "start",
// "end" in UTC as 20260302T080000Z, "tags" and "annotation"). Timewarrior
// knows no clients: the first tag names the client, the second the
// project, the third the task; the annotation is the note. An interval
// still open (no "end") cannot be read. Every entry gets `status`.
ImportRead readTimewarriorJson(const QByteArray& bytes, EntryStatus status);

}  // namespace tempolatch
