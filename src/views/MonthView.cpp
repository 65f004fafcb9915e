#include "views/MonthView.h"

#include "platform/Locale.h"
#include "records/PeriodMath.h"

namespace tempolatch {

void MonthView::assign(const platform::SystemTime& start, const platform::SystemTime&) {
    m_start = periodmath::dateOnly(start);
    m_start.day = 1;
    m_start = periodmath::dateOnly(m_start);
    m_loadEnd = periodmath::addSeconds(periodmath::addMonths(m_start, 1), -1);
}

platform::SystemTime MonthView::stepped(const platform::SystemTime& from, int direction) const {
    return periodmath::addMonths(from, direction);
}

platform::SystemTime MonthView::periodEnd() const {
    return periodmath::addSeconds(periodmath::addMonths(m_start, 1), -60);
}

QString MonthView::title() const {
    return platform::Locale::formatDate(m_start, platform::Locale::yearMonthFormat());
}

}  // namespace tempolatch
