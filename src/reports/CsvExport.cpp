#include "reports/CsvExport.h"

#include "records/EntryCriteria.h"
#include "reports/CsvRows.h"
#include "reports/ExportFile.h"
#include "settings/Settings.h"
#include "store/ExpenseEntry.h"
#include "store/TimeEntry.h"

namespace tempolatch {

namespace {

// Opens `path`, lets `write` fill it and puts it in place only when all went out.
bool exportTo(const QString& path, const std::function<bool(ExportFile&)>& write) {
    ExportFile file;
    if (!file.open(path))
        return false;
    if (!write(file)) {
        file.abandon();
        return false;
    }
    return file.close();
}

}  // namespace

bool writeTimeEntryCsv(RecordStore& entries, const Settings& settings, const EntryFilter& criteria,
                       ExportFile& file, int* written) {
    if (!file.writeText(timeEntryCsvHeader(settings)))
        return false;
    bool ok = true;
    forEachChosenEntry(entries, criteria, [&](const TimeEntry& entry) {
        ok = file.writeText(timeEntryCsvRow(entry, settings));
        if (ok && written)
            ++*written;
        return ok;
    });
    return ok;
}

bool exportTimeEntryCsv(RecordStore& entries, const Settings& settings, const EntryFilter& criteria,
                        const QString& path, int* written) {
    return exportTo(path, [&](ExportFile& file) {
        return writeTimeEntryCsv(entries, settings, criteria, file, written);
    });
}

bool writeExpenseCsv(RecordStore& expenses, const Settings& settings, ExpenseType type,
                     const ExpenseCriteria& criteria, ExportFile& file, int* written) {
    if (!file.writeText(expenseCsvHeader(type, settings)))
        return false;
    bool ok = true;
    forEachChosenExpense(expenses, criteria, [&](const ExpenseEntry& expense) {
        if (expense.type != type)
            return true;
        ok = file.writeText(expenseCsvRow(expense, settings.csvFormulaGuard));
        if (ok && written)
            ++*written;
        return ok;
    });
    return ok;
}

bool exportExpenseCsv(RecordStore& expenses, const Settings& settings, ExpenseType type,
                      const ExpenseCriteria& criteria, const QString& path, int* written) {
    return exportTo(path, [&](ExportFile& file) {
        return writeExpenseCsv(expenses, settings, type, criteria, file, written);
    });
}

bool writeSummaryCsv(const QList<QStringList>& rows, ExportFile& file, bool guardFormulas) {
    for (const QStringList& row : rows) {
        if (!file.writeText(summaryCsvRow(row, guardFormulas)))
            return false;
    }
    return true;
}

bool exportSummaryCsv(const QList<QStringList>& rows, const QString& path, bool guardFormulas) {
    return exportTo(path,
                    [&](ExportFile& file) { return writeSummaryCsv(rows, file, guardFormulas); });
}

}  // namespace tempolatch
