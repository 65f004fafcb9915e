#pragma once

#include <QDialog>
#include <QTest>
#include <functional>

#include "common/ModalDialog.h"
#include "common/TestDates.h"
#include "expenses/ExpenseWindow.h"
#include "store/Expenses.h"
#include "store/RecordStore.h"

namespace tempolatch::test {

// The expenses of the export tests: the window shows December 2026 (the
// fixed clock's month); one expense stands on each edge of it.
inline void storeExportSamples(RecordStore& store) {
    Expenses expenses(store);
    const auto add = [&](ExpenseEntry e) {
        e.modified = at(2026, 12, 1);
        QCOMPARE(expenses.add(e), WriteResult::Written);
    };
    ExpenseEntry trip;
    trip.type = ExpenseType::Mileage;
    trip.description = QStringLiteral("Site visit");
    trip.client = QStringLiteral("Acme");
    trip.project = QStringLiteral("Website");
    trip.currency = QStringLiteral("USD");
    trip.amount = 35;  // 0.35 a unit
    trip.startOdometer = 1000;
    trip.distance = 120;
    trip.receipt = true;
    trip.status = EntryStatus::Billed;
    trip.custom2 = QStringLiteral("Van");
    trip.note = QStringLiteral("there\r\nand \"back\"");
    trip.date = at(2026, 12, 1);  // the range's first instant: in
    add(trip);
    trip.description = QStringLiteral("Too early");
    trip.date = at(2026, 11, 30, 23, 59, 59);
    add(trip);
    trip.description = QStringLiteral("Too late");
    trip.date = at(2027, 1, 1);  // just past the range's end: out
    add(trip);

    ExpenseEntry lunch;
    lunch.type = ExpenseType::General;
    lunch.description = QStringLiteral("Lunch, team");
    lunch.client = QStringLiteral("Beta, \"B\"");
    lunch.category = QStringLiteral("Meals");
    lunch.currency = QStringLiteral("EUR");
    lunch.amount = 4250;
    lunch.status = EntryStatus::Paid;
    lunch.paidDate = at(2026, 12, 20);
    lunch.billTo = QStringLiteral("Jane Roe");
    lunch.custom1 = QStringLiteral("c1");
    lunch.date = at(2026, 12, 31, 23, 59, 59);  // the range's last second: in
    add(lunch);
    lunch.description = QStringLiteral("Taxi");
    lunch.category = QStringLiteral("Travel");
    lunch.amount = 1800;
    lunch.status = EntryStatus::NonBillable;
    lunch.paidDate = {};
    lunch.receipt = true;
    lunch.date = at(2026, 12, 15);
    add(lunch);
}

// Runs the window's export command, accepting the criteria sheet as it
// opens; `check` looks at the sheet first.
inline void exportFromWindow(ExpenseWindow& window, int command,
                             const std::function<void(QDialog*)>& check = {}) {
    test::onNextModal([check](QDialog* sheet) {
        if (check)
            check(sheet);
        sheet->accept();
    });
    window.onCommand(command);
}

}  // namespace tempolatch::test
