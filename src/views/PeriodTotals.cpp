#include "views/PeriodTotals.h"

#include <QStringList>

#include "platform/Locale.h"
#include "store/RecordValues.h"
#include "store/TimeEntry.h"

namespace tempolatch {

void PeriodTotals::add(const TimeEntry& entry, bool precise) {
    ++count;
    hundredths += entry.duration;
    if (entry.status == EntryStatus::NonBillable)
        return;
    billableHundredths += entry.duration;
    amounts[entry.currency] += entry.amount(precise);
}

void PeriodTotals::remove(const TimeEntry& entry, bool precise) {
    --count;
    hundredths -= entry.duration;
    if (entry.status == EntryStatus::NonBillable)
        return;
    billableHundredths -= entry.duration;
    const auto it = amounts.find(entry.currency);
    if (it == amounts.end())
        return;
    *it -= entry.amount(precise);
    if (qAbs(*it) < 0.005)
        amounts.erase(it);
}

QString PeriodTotals::text(const QString& empty) const {
    if (count == 0)
        return empty;
    QStringList parts{hundredthsText(hundredths) + QStringLiteral(" h"),
                      hundredthsText(billableHundredths) + QStringLiteral(" h billable")};
    const QLocale locale = platform::Locale::current();
    for (auto it = amounts.cbegin(); it != amounts.cend(); ++it) {
        const QString amount = locale.toString(it.value(), 'f', 2);
        parts << (it.key().isEmpty() ? amount : it.key() + QLatin1Char(' ') + amount);
    }
    return parts.join(QStringLiteral(", "));
}

}  // namespace tempolatch
