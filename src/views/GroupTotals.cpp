#include "views/GroupTotals.h"

#include <QStringList>

namespace tempolatch {

void GroupTotals::add(const RowTotal& total) {
    ++rows;
    if (total.hasHours) {
        hasHours = true;
        hours.add(total.hundredths);
    }
    if (total.hasAmount)
        amounts.add(total.currency, total.amount);
}

QString GroupTotals::text(HoursFormat format) const {
    QStringList parts;
    if (hasHours)
        parts << hoursText(hours, format);
    parts << amounts.localeTexts();
    return parts.join(QStringLiteral(", "));
}

}  // namespace tempolatch
