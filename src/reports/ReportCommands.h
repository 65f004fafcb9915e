#pragma once

#include <QList>
#include <functional>

#include "reports/Summaries.h"

class QWidget;

namespace tempolatch {

struct Context;
class CommandTable;

// The main window's summary and export commands.

// Client Summary (40250): asks for the client at once, and again on "New".
void openClientSummary(Context& context, QWidget* parent);
// Quick Summary (40218) of the entries a list shows, in list order.
void openQuickSummary(Context& context, QWidget* parent, const SummaryPeriod& period,
                      const QList<quint32>& recordIds);
// The expense window's Quick Summary of the expenses its list shows.
void openExpenseQuickSummary(Context& context, QWidget* parent, const SummaryPeriod& period,
                             const QList<quint32>& recordIds);

// Export > CSV... (40101): the entry criteria sheet on the period, the save
// dialog, then the export under the wait cursor; message 76 when it fails.
void exportEntriesCsv(Context& context, QWidget* parent, const SummaryPeriod& period);

// What every CSV export does once its criteria are chosen: the save dialog
// (Cancel ends silently), then `write` into the chosen file off the window's
// thread (with the worker's context; see runInBackground), counting the records it writes into
// `written`; message 76 when it fails, else the notice of the file and its count of entries (or of
// expenses).
enum class CsvRecords { TimeEntries, Expenses };
void saveCsvExport(
    Context& context, QWidget* parent,
    const std::function<bool(Context& worker, const QString& path, int& written)>& write,
    CsvRecords records = CsvRecords::TimeEntries);

// What the commands need of the window they run in.
struct ReportCommandHost {
    Context* context = nullptr;
    QWidget* parent = nullptr;
    // The period the view shows, with its type.
    std::function<SummaryPeriod()> period;
    // The record ids the entry list shows, in display order.
    std::function<QList<quint32>()> listedEntries;
};

// Registers Client Summary, Quick Summary, Charts and Export > CSV....
void registerReportCommands(CommandTable& table, const ReportCommandHost& host);

}  // namespace tempolatch
