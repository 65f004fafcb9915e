#pragma once

#include <QString>

#include "records/HoursTotal.h"
#include "records/MoneyTotals.h"
#include "views/EntryRow.h"

namespace tempolatch {

// The totals of the rows under one day separator or tree group, added up
// as the status line adds up the period: each duration and amount as shown.
struct GroupTotals {
    int rows = 0;
    bool hasHours = false;
    HoursTotal hours;
    MoneyTotals amounts;

    void add(const RowTotal& total);
    // "7.50h, EUR 450.00" (hours in the format, amounts in the locale's
    // numbers, one per currency); empty when nothing adds up.
    QString text(HoursFormat format) const;
};

}  // namespace tempolatch
