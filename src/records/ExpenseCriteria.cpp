#include "records/ExpenseCriteria.h"

#include "store/Expenses.h"

namespace tempolatch {

void forEachChosenExpense(RecordStore& db, const ExpenseCriteria& criteria,
                          const std::function<bool(const ExpenseEntry&)>& visit) {
    Expenses(db).forEachInRange(criteria.from, criteria.to, [&](const ExpenseEntry& expense) {
        return (criteria.matches && !criteria.matches(expense)) || visit(expense);
    });
}

}  // namespace tempolatch
