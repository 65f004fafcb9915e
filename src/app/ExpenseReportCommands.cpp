#include "app/ExpenseReportCommands.h"

#include "expenses/ExpenseFilterSheet.h"
#include "expenses/ExpenseWindow.h"
#include "records/ExpenseFilter.h"
#include "reports/ReportFileCommands.h"
#include "reports/ReportLayout.h"
#include "views/PeriodView.h"

namespace tempolatch {

void addExpenseReportCommands(ExpenseWindow& window, Context& context,
                              std::function<void(const QString& path)> open) {
    ReportFileCommandHost host{&context, &window, {}, std::move(open), {}};
    // The criteria sheet proposes the period the window shows, for the
    // expenses of the report's type.
    const ExpenseCriteriaChooser choose = [&window, &context](int reportType,
                                                              ExpenseCriteria& chosen) {
        platform::SystemTime start;
        platform::SystemTime end;
        if (PeriodView* view = window.periodView())
            view->getPeriod(start, end);
        const ExpenseType type = reportType == ReportLayout::MileageExpense ? ExpenseType::Mileage
                                                                            : ExpenseType::General;
        ExpenseFilter criteria;
        if (!runExpenseCriteria(context, &window, CriteriaMode::Any, start, end, int(type),
                                criteria))
            return false;
        chosen = criteria.chosen();
        return true;
    };
    window.commands().add({cmd::ReportGeneral, cmd::ReportMileage}, [host, choose](int id) {
        runExpenseReport(
            host,
            id == cmd::ReportMileage ? ReportLayout::MileageExpense : ReportLayout::GeneralExpense,
            choose);
    });
}

}  // namespace tempolatch
