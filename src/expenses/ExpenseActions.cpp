#include "expenses/ExpenseActions.h"

#include "editing/EntryValues.h"
#include "platform/Clock.h"
#include "records/ExpenseCriteria.h"
#include "records/RecordMarking.h"
#include "records/RecordSaving.h"
#include "store/ClientStructure.h"
#include "store/Expenses.h"
#include "store/Lists.h"
#include "store/Project.h"
#include "store/RecordStore.h"

namespace tempolatch::expenseactions {

std::optional<ExpenseEntry> read(RecordStore& store, quint32 recordId) {
    if (recordId == 0 || !store.isOpen())
        return std::nullopt;
    return Expenses(store).find(recordId);
}

ExpenseEntry fresh(ExpenseType type, const QString& defaultCurrency) {
    ExpenseEntry expense;
    expense.type = type;
    expense.currency = defaultCurrency;
    platform::SystemTime today = platform::Clock::now();
    today.hour = today.minute = today.second = today.milliseconds = 0;
    expense.date = platform::toFileTime(today).value_or(platform::FileTime{});
    return expense;
}

entrymarking::BulkResult markChosen(RecordStore& store, const ExpenseCriteria& criteria,
                                    entrymarking::Mark mark, platform::FileTime paidDate,
                                    platform::FileTime now,
                                    const std::function<void(const ExpenseEntry&)>& visited) {
    return entrymarking::markRecords<ExpenseEntry>(
        store, Expenses(store),
        [&](const std::function<bool(const ExpenseEntry&)>& visit) {
            forEachChosenExpense(store, criteria, visit);
        },
        mark, paidDate, now, visited);
}

qint32 endOf(qint32 start, qint32 distance) {
    return qBound(0, qint64(start) + distance, qint64(MaxOdometer));
}

qint32 distanceOf(qint32 start, qint32 end) {
    return qBound(0, qint64(end) - start, qint64(MaxOdometer));
}

QString mileageTotalText(const QString& currency, const QString& rateText, qint32 distance) {
    const qint32 rate = entryvalues::hundredthsOf(entryvalues::leadingNumber(rateText));
    return currency + QString::asprintf("%.02f", rate * 0.01 * distance);
}

}  // namespace tempolatch::expenseactions

namespace tempolatch {

WriteResult ExpenseSaver::save(ExpenseEntry& expense, const std::optional<ExpenseEntry>& asRead) {
    return saveEdited(
        m_store, m_error, expense,
        [this](const ExpenseEntry& saved) { return addStructure(saved); }, asRead);
}

WriteResult ExpenseSaver::addStructure(const ExpenseEntry& expense) {
    const WriteResult result = addClientStructure(
        m_store, expense.client, expense.billTo,
        [&expense](ClientStructure& structure, quint32 id) {
            // A project is a project-task record; one of that name, whatever
            // its task, is enough.
            if (expense.project.isEmpty() || structure.projectNames(id).contains(expense.project))
                return WriteResult::Unchanged;
            return structure.addProjectTask(id, expense.project, QString());
        });
    if (!succeeded(result))
        return result;
    return addListValues(m_store, {{ListKind::Currency, &expense.currency},
                                   {ListKind::Custom1, &expense.custom1},
                                   {ListKind::Custom2, &expense.custom2},
                                   {ListKind::Category, &expense.category},
                                   {ListKind::Description, &expense.description}});
}

}  // namespace tempolatch
