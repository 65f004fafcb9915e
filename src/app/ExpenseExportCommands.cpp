#include "app/ExpenseExportCommands.h"

#include "expenses/ExpenseFilterSheet.h"
#include "expenses/ExpenseWindow.h"
#include "records/ExpenseFilter.h"
#include "reports/CsvExport.h"
#include "reports/ReportCommands.h"
#include "settings/Context.h"
#include "store/RecordStore.h"
#include "views/EntryListWidget.h"
#include "views/PeriodView.h"
#include "widgets/CommandIds.h"

namespace tempolatch {

namespace {

SummaryPeriod shownPeriod(const ExpenseWindow& window) {
    SummaryPeriod period;
    if (const PeriodView* view = window.periodView()) {
        period.periodType = view->type();
        view->getPeriod(period.start, period.end);
    }
    return period;
}

void exportExpenses(Context& context, ExpenseWindow& window, ExpenseType type) {
    const SummaryPeriod period = shownPeriod(window);
    ExpenseFilter criteria;
    if (!runExpenseCriteria(context, &window, CriteriaMode::Any, period.start, period.end,
                            qint32(type), criteria))
        return;
    saveCsvExport(
        context, &window,
        [&](Context& worker, const QString& path, int& written) {
            return exportExpenseCsv(worker.store, worker.settings, type, criteria.chosen(), path,
                                    &written);
        },
        CsvRecords::Expenses);
}

}  // namespace

void addExpenseExportCommands(ExpenseWindow& window, Context& context) {
    CommandTable& commands = window.commands();
    commands.add(cmd::QuickSummary, [&context, &window](int) {
        const QList<quint32> shown =
            window.entryList() ? window.entryList()->recordIds() : QList<quint32>{};
        openExpenseQuickSummary(context, &window, shownPeriod(window), shown);
    });
    commands.add({cmd::ExportMileageCsv, cmd::ExportGeneralCsv}, [&context, &window](int id) {
        exportExpenses(context, window,
                       id == cmd::ExportMileageCsv ? ExpenseType::Mileage : ExpenseType::General);
    });
}

}  // namespace tempolatch
