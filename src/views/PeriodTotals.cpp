#include "views/PeriodTotals.h"

#include <QStringList>

#include "store/TimeEntry.h"

namespace tempolatch {

namespace {

// "12.50 h" and "12:30 h": the status line has always spaced its unit.
QString spacedHours(const HoursTotal& total, HoursFormat format) {
    QString text = hoursText(total, format);
    if (text.endsWith(u'h'))
        text.chop(1);
    return text + QStringLiteral(" h");
}

}  // namespace

void PeriodTotals::add(const TimeEntry& entry, bool precise) {
    ++count;
    hours.add(entry.duration);
    if (entry.status == EntryStatus::NonBillable)
        return;
    billableHours.add(entry.duration);
    amounts.add(entry.currency, entry.amount(precise));
}

void PeriodTotals::remove(const TimeEntry& entry, bool precise) {
    --count;
    hours.remove(entry.duration);
    if (entry.status == EntryStatus::NonBillable)
        return;
    billableHours.remove(entry.duration);
    amounts.remove(entry.currency, entry.amount(precise));
}

QString PeriodTotals::text(const QString& empty, HoursFormat format) const {
    if (count == 0)
        return empty;
    QStringList parts{spacedHours(hours, format),
                      spacedHours(billableHours, format) + QStringLiteral(" billable")};
    parts << amounts.localeTexts();
    return parts.join(QStringLiteral(", "));
}

}  // namespace tempolatch
