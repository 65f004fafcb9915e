#pragma once

#include "store/Databases.h"
#include "store/ExpenseEntry.h"
#include "store/Records.h"

namespace tempolatch {

// The expenses of the store ("Tempolatch Expenses"), by record id or
// walked by date.
class Expenses : public Records<ExpenseEntry> {
public:
    explicit Expenses(ExpenseDatabase& db) : Records(db) {}
};

}  // namespace tempolatch
