#pragma once

#include "common/TestDates.h"
#include "store/TimeEntry.h"

namespace tempolatch::test {

// A time entry with every field set to a value of its own: a start time,
// a break, a note with a zero byte, a paid date and every text.
inline TimeEntry fullEntry() {
    TimeEntry e;
    e.status = EntryStatus::Billed;
    e.rateType = RateType::Overtime;
    e.client = QStringLiteral("Acme");
    e.project = QStringLiteral("Website");
    e.phase = QStringLiteral("Design");
    e.task = QStringLiteral("Mockups");
    e.currency = QStringLiteral("EUR");
    e.billTo = QStringLiteral("Jane Roe");
    e.custom1 = QStringLiteral("c1");
    e.custom2 = QStringLiteral("c2");
    e.custom3 = QStringLiteral("c3");
    e.date = at(2026, 12, 7, 9, 0, 1);
    e.paidDate = at(2026, 12, 20);
    e.note = QByteArray("note\0bytes", 10);
    e.duration = 150;
    e.breakTime = 25;
    e.rate = 6000;
    e.modified = at(2026, 12, 7, 10);
    return e;
}

}  // namespace tempolatch::test
