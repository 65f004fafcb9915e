#pragma once

#include <QByteArray>

#include "store/RecordValues.h"
#include "transfer/ImportedRows.h"

namespace tempolatch {

// The time entries of a Harvest detailed time report CSV: the columns
// Date (YYYY-MM-DD), Client, Project, Task, Notes (the note), Hours (decimal),
// "Billable?" and "Invoiced?" (Yes or No: invoiced entries are Billed),
// "Billable Rate" (per hour) and Currency ("Euro - EUR" gives EUR). Harvest
// keeps no start times, so the entries have none. Without "Billable?"
// entries get `defaultStatus`.
ImportRead readHarvestCsv(const QByteArray& bytes, EntryStatus defaultStatus);

}  // namespace tempolatch
