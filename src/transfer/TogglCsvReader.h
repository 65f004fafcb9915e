#pragma once

#include <QByteArray>

#include "store/RecordValues.h"
#include "transfer/ImportedRows.h"

namespace tempolatch {

// The time entries of a detailed report CSV export of Toggl Track: the
// columns Client, Project, Task, Description (the note), Billable (Yes or
// No), Start date, Start time (YYYY-MM-DD, HH:MM:SS), Duration (H:MM:SS)
// and "Amount (CUR)", whose currency and amount give the entry's currency
// and rate. The others (User, Email, End date, End time, Tags) are not
// needed. Without a Billable column entries get `defaultStatus`.
ImportRead readTogglCsv(const QByteArray& bytes, EntryStatus defaultStatus);

}  // namespace tempolatch
