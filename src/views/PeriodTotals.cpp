#include "views/PeriodTotals.h"

#include <QStringList>

#include "store/RecordValues.h"
#include "store/TimeEntry.h"

namespace tempolatch {

void PeriodTotals::add(const TimeEntry& entry, bool precise) {
    ++count;
    hundredths += entry.duration;
    if (entry.status == EntryStatus::NonBillable)
        return;
    billableHundredths += entry.duration;
    amounts.add(entry.currency, entry.amount(precise));
}

void PeriodTotals::remove(const TimeEntry& entry, bool precise) {
    --count;
    hundredths -= entry.duration;
    if (entry.status == EntryStatus::NonBillable)
        return;
    billableHundredths -= entry.duration;
    amounts.remove(entry.currency, entry.amount(precise));
}

QString PeriodTotals::text(const QString& empty) const {
    if (count == 0)
        return empty;
    QStringList parts{hundredthsText(hundredths) + QStringLiteral(" h"),
                      hundredthsText(billableHundredths) + QStringLiteral(" h billable")};
    parts << amounts.localeTexts();
    return parts.join(QStringLiteral(", "));
}

}  // namespace tempolatch
