#pragma once

#include <QTest>

#include "common/TestDates.h"
#include "common/TestEnvironment.h"
#include "platform/Clock.h"
#include "records/ExpenseFilter.h"
#include "store/ExpenseEntry.h"
#include "store/Expenses.h"
#include "store/RecordStore.h"

namespace tempolatch::test {

// A mileage expense of `distance` units at `rate` hundredths per unit.
inline ExpenseEntry mileageExpense(qint32 rate, qint32 distance, qint32 start = 1000) {
    ExpenseEntry e;
    e.type = ExpenseType::Mileage;
    e.status = EntryStatus::Billable;
    e.date = at(2026, 12, 7);
    e.description = QStringLiteral("Site visit");
    e.client = QStringLiteral("Acme");
    e.project = QStringLiteral("Website");
    e.currency = QStringLiteral("USD");
    e.amount = rate;
    e.startOdometer = start;
    e.distance = distance;
    e.category = QStringLiteral("Travel");  // kept in memory only
    return e;
}

inline ExpenseEntry generalExpense(qint32 amount,
                                   const QString& category = QStringLiteral("Meals")) {
    ExpenseEntry e;
    e.type = ExpenseType::General;
    e.status = EntryStatus::Billable;
    e.date = at(2026, 12, 7);
    e.description = QStringLiteral("Lunch");
    e.client = QStringLiteral("Acme");
    e.currency = QStringLiteral("USD");
    e.amount = amount;
    e.category = category;
    return e;
}

// The environment of an expense test: the store open.
inline bool prepareExpenseTest() {
    return TestEnvironment::current().store().openAll();
}

// Stores the expense; it gets its record id.
inline quint32 storeExpense(ExpenseEntry& e) {
    RecordStore& store = TestEnvironment::current().store();
    if (!store.isOpen())
        store.openAll();
    e.modified = platform::Clock::nowFileTime();
    if (Expenses(store).add(e) != WriteResult::Written)
        return 0;
    return e.recordId;
}

}  // namespace tempolatch::test
