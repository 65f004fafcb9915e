#pragma once

#include <QString>
#include <functional>

namespace tempolatch {

struct Context;
class ExpenseWindow;

// Gives an expense window Report > Mileage Expense... (40280) and General
// Expense... (40281): the layout dialog, the expense criteria sheet on the
// window's period and the report's expense type, the file, the report.
// `open` shows a finished report.
void addExpenseReportCommands(ExpenseWindow& window, Context& context,
                              std::function<void(const QString& path)> open);

}  // namespace tempolatch
