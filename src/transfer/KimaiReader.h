#pragma once

#include <QByteArray>

#include "store/RecordValues.h"
#include "transfer/ImportedRows.h"

namespace tempolatch {

// The timesheets of Kimai, from either of its exports:
// - the CSV export of the timesheet list (English headers): Date
//   (YYYY-MM-DD), From and To (HH:MM, local time; older versions say Begin
//   and End), Duration (decimal hours, or H:MM), Customer, Project, Activity
//   (the task), Description (the note), Billable and Exported (1 / 0 or
//   Yes / No: exported records are Billed), Price (the record's total;
//   older versions say Rate) and Currency. Without Duration the time from
//   From to To is taken, past midnight when To is earlier.
// - the JSON of its API's timesheet list fetched with full=true, whose
//   projects and activities are objects with their names.
// Records still running (no end) cannot be read. Without Billable, entries
// get `defaultStatus`.
ImportRead readKimaiExport(const QByteArray& bytes, EntryStatus defaultStatus);

}  // namespace tempolatch
