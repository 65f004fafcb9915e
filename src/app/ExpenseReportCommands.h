#pragma once

#include <QString>
#include <functional>

#include "expenses/ExpenseFilter.h"
#include "reports/ExpenseChoice.h"
#include "store/RecordValues.h"

namespace tempolatch {

struct Context;
class EntryFilter;
class ExpenseWindow;

// The expenses that criteria of the expense window choose: their date range
// from the start of its first day to the end of its last (every date
// without a range) and the rest of the filter.
ExpenseChoice expenseChoiceOf(const ExpenseFilter& criteria);

// The expense criteria that entry criteria (the command line's) give for
// expenses of `type`: the range, the client, project, bill-to and currency
// texts and the statuses; phase and task name nothing of an expense.
ExpenseFilter expenseCriteriaOf(const EntryFilter& criteria, ExpenseType type);

// Gives an expense window Report > Mileage Expense... (40280) and General
// Expense... (40281). `open` shows a finished report.
void addExpenseReportCommands(ExpenseWindow& window, Context& context,
                              std::function<void(const QString& path)> open);

}  // namespace tempolatch
