#include "app/ExpenseReportCommands.h"

#include "expenses/ExpenseWindow.h"
#include "reports/ReportFileCommands.h"
#include "reports/ReportLayout.h"
#include "store/ExpenseEntry.h"
#include "views/EntryFilter.h"
#include "views/PeriodMath.h"
#include "views/PeriodView.h"

namespace tempolatch {

ExpenseChoice expenseChoiceOf(const ExpenseFilter& criteria) {
    ExpenseChoice choice;
    if (criteria.hasDateRange()) {
        if (const auto from = platform::toFileTime(periodmath::dateOnly(criteria.startDate)))
            choice.from = *from;
        if (const auto to = platform::toFileTime(periodmath::endOfDay(criteria.endDate)))
            choice.to = *to;
    }
    choice.matches = [criteria](const ExpenseEntry& expense) { return criteria.matches(expense); };
    return choice;
}

ExpenseFilter expenseCriteriaOf(const EntryFilter& criteria, ExpenseType type) {
    ExpenseFilter out;
    out.startDate = criteria.startDate;
    out.endDate = criteria.endDate;
    out.client = criteria.client;
    out.project = criteria.project;
    out.billTo = criteria.billTo;
    out.currency = criteria.currency;
    out.setFlags(criteria.flags());
    out.type = int(type);
    return out;
}

void addExpenseReportCommands(ExpenseWindow& window, Context& context,
                              std::function<void(const QString& path)> open) {
    ReportFileCommandHost host{&context, &window, {}, std::move(open)};
    // The expenses of the period the window shows that pass its filter,
    // of the report's type.
    const ExpenseCriteriaChooser choose = [&window](int reportType, ExpenseChoice& choice) {
        ExpenseFilter criteria = ExpenseFilter::view();
        if (PeriodView* view = window.periodView())
            view->getPeriod(criteria.startDate, criteria.endDate);
        criteria.type = reportType == ReportLayout::MileageExpense ? int(ExpenseType::Mileage)
                                                                   : int(ExpenseType::General);
        choice = expenseChoiceOf(criteria);
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
