#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

#include "platform/FileTime.h"
#include "records/ExpenseCriteria.h"
#include "store/RecordValues.h"

namespace tempolatch {

class RecordStore;

class EntryFilter;
class ExpenseEntry;
class ExportFile;
class Settings;

// The CSV exports, without any window: the menu commands and the command
// line both come here. Rows are formatted and written one at a time, so
// memory stays that of one record and one line however many are written.

// The header and one row per entry that the criteria choose, in date order.
// False as soon as a write fails.
bool writeTimeEntryCsv(RecordStore& entries, const Settings& settings, const EntryFilter& criteria,
                       ExportFile& file, int* written = nullptr);
// The same into the file at `path` ("-": standard output): false when it
// cannot be created or written, and then nothing is left at `path`.
// `written`, when given, counts the entries written.
bool exportTimeEntryCsv(RecordStore& entries, const Settings& settings, const EntryFilter& criteria,
                        const QString& path, int* written = nullptr);

// The expenses of one type that the criteria choose, in date order,
// header first.
// `written`, when given, counts the expenses written.
bool writeExpenseCsv(RecordStore& expenses, const Settings& settings, ExpenseType type,
                     const ExpenseCriteria& criteria, ExportFile& file, int* written = nullptr);
bool exportExpenseCsv(RecordStore& expenses, const Settings& settings, ExpenseType type,
                      const ExpenseCriteria& criteria, const QString& path, int* written = nullptr);

// The rows of a summary list (three cells each), without a header; texts
// that would start a formula guarded unless `guardFormulas` is false (the
// csvFormulaGuard setting).
bool writeSummaryCsv(const QList<QStringList>& rows, ExportFile& file, bool guardFormulas = true);
bool exportSummaryCsv(const QList<QStringList>& rows, const QString& path,
                      bool guardFormulas = true);

}  // namespace tempolatch
