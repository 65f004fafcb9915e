#pragma once

namespace tempolatch {

struct Context;
class ExpenseWindow;

// Gives an expense window the commands whose work lives with the other
// exports and summaries: Quick Summary... (40218) and Export "Mileage
// Expense CSV..." (40278) and "General Expense CSV..." (40279), each through
// the expense criteria sheet preset to the window's period and the type.
void addExpenseExportCommands(ExpenseWindow& window, Context& context);

}  // namespace tempolatch
