#include "reports/ReportCommands.h"

#include <QTimer>

#include "reports/SummaryDialog.h"
#include "settings/Context.h"
#include "settings/Settings.h"
#include "store/RecordStore.h"
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
            return clientSummaryRows(
                choice, computeClientSummary(context.store.entries(), choice, precise(context)));
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
        return quickSummaryRows(context.store.entries(), period, recordIds, precise(context));
    });
    dialog.exec();
}

void openExpenseQuickSummary(Context& context, QWidget* parent, const SummaryPeriod& period,
                             const QList<quint32>& recordIds) {
    SummaryDialog dialog(SummaryDialog::Kind::ExpenseQuick, context, parent);
    showRows(dialog,
             [&] { return expenseQuickSummaryRows(context.store.expenses(), period, recordIds); });
    dialog.exec();
}

void registerReportCommands(CommandTable& table, const ReportCommandHost& host) {
    table.add(cmd::ClientSummary, [host](int) { openClientSummary(*host.context, host.parent); });
    table.add(cmd::QuickSummary, [host](int) {
        openQuickSummary(*host.context, host.parent, host.period(), host.listedEntries());
    });
}

}  // namespace tempolatch
