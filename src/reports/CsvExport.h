#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

#include "platform/FileTime.h"
#include "store/Databases.h"
#include "store/RecordValues.h"
#include "views/ExpenseCriteria.h"

namespace tempolatch {

class EntryFilter;
class ExpenseEntry;
class ExportFile;
class Settings;

// The CSV exports, without any window: the menu commands and the command
// line both come here. Rows are formatted and written one at a time, so
// memory stays that of one record and one line however many are written.

// The header and one row per entry that the criteria choose, in date order.
// False as soon as a write fails.
bool writeTimeEntryCsv(TimeEntryDatabase& entries, const Settings& settings,
                       const EntryFilter& criteria, ExportFile& file);
// The same into the file at `path` ("-": standard output): false when it
// cannot be created or written, and then nothing is left at `path`.
bool exportTimeEntryCsv(TimeEntryDatabase& entries, const Settings& settings,
                        const EntryFilter& criteria, const QString& path);

// The expenses of one type that the criteria choose, in date order,
// header first.
bool writeExpenseCsv(ExpenseDatabase& expenses, const Settings& settings, ExpenseType type,
                     const ExpenseCriteria& criteria, ExportFile& file);
bool exportExpenseCsv(ExpenseDatabase& expenses, const Settings& settings, ExpenseType type,
                      const ExpenseCriteria& criteria, const QString& path);

// The rows of a summary list (three cells each), without a header.
bool writeSummaryCsv(const QList<QStringList>& rows, ExportFile& file);
bool exportSummaryCsv(const QList<QStringList>& rows, const QString& path);

}  // namespace tempolatch
