#pragma once

#include <QString>
#include <functional>

#include "expenses/ExpenseFilter.h"
#include "store/RecordValues.h"

namespace tempolatch {

struct Context;
class EntryFilter;
class ExpenseWindow;

// The expense criteria that entry criteria (the command line's) give for
// expenses of `type`: the range, the client, project, bill-to and currency
// texts and the statuses; phase and task name nothing of an expense.
ExpenseFilter expenseCriteriaOf(const EntryFilter& criteria, ExpenseType type);

// Gives an expense window Report > Mileage Expense... (40280) and General
// Expense... (40281): the layout dialog, the expense criteria sheet on the
// window's period and the report's expense type, the file, the report.
// `open` shows a finished report.
void addExpenseReportCommands(ExpenseWindow& window, Context& context,
                              std::function<void(const QString& path)> open);

}  // namespace tempolatch
