#include "reports/ReportCommands.h"

#include <QTimer>

#include "platform/StringTable.h"
#include "platform/Ui.h"
#include "records/EntryFilter.h"
#include "reports/ChartsDialog.h"
#include "reports/CsvExport.h"
#include "reports/SummaryDialog.h"
#include "settings/BackgroundWork.h"
#include "settings/Context.h"
#include "settings/Settings.h"
#include "store/RecordStore.h"
#include "views/EntryCriteriaSheet.h"
#include "widgets/CommandIds.h"
#include "widgets/CommandTable.h"
#include "widgets/WaitCursor.h"

namespace tempolatch {

namespace {

bool precise(const Context& context) {
    return context.settings.hasFlag(PreciseCalculation);
}

void showRows(SummaryDialog& dialog, const std::function<SummaryRows()>& compute) {
    SummaryRows rows;
    {
        WaitCursor wait;
        rows = compute();
    }
    dialog.setRows(rows);
}

}  // namespace

void openClientSummary(Context& context, QWidget* parent) {
    SummaryDialog dialog(SummaryDialog::Kind::Client, context, parent);
    dialog.setNewHandler([&] {
        ClientSummaryChoice choice;
        // A cancelled choice still recomputes, with nothing chosen.
        chooseClientSummary(context, &dialog, choice);
        showRows(dialog, [&] {
            return clientSummaryRows(choice,
                                     computeClientSummary(context.store, choice, precise(context)),
                                     context.settings.hoursFormat);
        });
    });
    // The choice opens over the window, once it is on screen.
    QTimer::singleShot(0, &dialog, [&dialog] { dialog.runCommand(cmd::New); });
    dialog.exec();
}

void openQuickSummary(Context& context, QWidget* parent, const SummaryPeriod& period,
                      const QList<quint32>& recordIds) {
    SummaryDialog dialog(SummaryDialog::Kind::Quick, context, parent);
    showRows(dialog, [&] {
        return quickSummaryRows(context.store, period, recordIds, precise(context),
                                context.settings.hoursFormat);
    });
    dialog.exec();
}

void openExpenseQuickSummary(Context& context, QWidget* parent, const SummaryPeriod& period,
                             const QList<quint32>& recordIds) {
    SummaryDialog dialog(SummaryDialog::Kind::ExpenseQuick, context, parent);
    showRows(dialog, [&] { return expenseQuickSummaryRows(context.store, period, recordIds); });
    dialog.exec();
}

void exportEntriesCsv(Context& context, QWidget* parent, const SummaryPeriod& period) {
    EntryFilter criteria;
    if (!runEntryCriteria(context, parent, CriteriaMode::Any, period.start, period.end, criteria))
        return;
    saveCsvExport(context, parent, [&](Context& worker, const QString& path, int& written) {
        return exportTimeEntryCsv(worker.store, worker.settings, criteria, path, &written);
    });
}

void saveCsvExport(
    Context& context, QWidget* parent,
    const std::function<bool(Context& worker, const QString& path, int& written)>& write,
    CsvRecords records) {
    const QString path = chooseCsvFile(context, parent);
    if (path.isEmpty())
        return;
    int written = 0;
    bool cancelled = false;
    const bool ok = runInBackground(
        context, parent, QStringLiteral("Writing the export..."),
        [&](Context& worker) { return write(worker, path, written); }, &cancelled);
    if (cancelled)
        return;
    if (!ok)
        context.ui.message(resourceString(str::ExportFailed), platform::MessageIcon::Stop, parent);
    else
        context.ui.noticeDone(QStringLiteral("CSV written to"), path,
                              records == CsvRecords::Expenses ? platform::recordCounts(-1, written)
                                                              : platform::recordCounts(written));
}

void registerReportCommands(CommandTable& table, const ReportCommandHost& host) {
    table.add(cmd::ClientSummary, [host](int) { openClientSummary(*host.context, host.parent); });
    table.add(cmd::QuickSummary, [host](int) {
        openQuickSummary(*host.context, host.parent, host.period(), host.listedEntries());
    });
    table.add(cmd::Charts, [host](int) {
        openCharts(*host.context, host.parent, host.period(), host.listedEntries());
    });
    table.add(cmd::ExportCsv,
              [host](int) { exportEntriesCsv(*host.context, host.parent, host.period()); });
}

}  // namespace tempolatch
