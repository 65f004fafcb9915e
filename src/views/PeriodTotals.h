#pragma once

#include <QString>

#include "records/HoursTotal.h"
#include "records/MoneyTotals.h"

namespace tempolatch {

class TimeEntry;

// What the entries shown in a period add up to, for the window's status
// line: all hours, the billable ones, and the amounts per currency.
struct PeriodTotals {
    int count = 0;
    HoursTotal hours;
    HoursTotal billableHours;
    MoneyTotals amounts;  // billable amounts by currency

    void add(const TimeEntry& entry, bool precise);
    // An entry added before is gone; a currency left with nothing goes too.
    void remove(const TimeEntry& entry, bool precise);
    // "12.50 h, 10.00 h billable, EUR 120.00, USD 850.00" (in h:mm "12:30 h,
    // ..."); `empty` when there is nothing to add up.
    QString text(const QString& empty, HoursFormat format = HoursFormat::Decimal) const;
};

}  // namespace tempolatch
