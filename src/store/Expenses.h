#pragma once

#include "store/Databases.h"
#include "store/ExpenseEntry.h"
#include "store/RecordStore.h"
#include "store/Records.h"

namespace tempolatch {

// The expenses of the store ("Tempolatch Expenses"), by record id or
// walked by date.
class Expenses : public Records<ExpenseEntry> {
public:
    explicit Expenses(RecordStore& store) : Records(store.expenses()) {}
    // Those of one database outside a profile's store (an upgrade, a copy).
    explicit Expenses(ExpenseDatabase& db) : Records(db) {}
};

}  // namespace tempolatch
