#include "views/WeekView.h"

#include "platform/Locale.h"
#include "platform/StringTable.h"
#include "records/PeriodMath.h"
#include "settings/Settings.h"
#include "views/ViewIds.h"

namespace tempolatch {

bool WeekView::weekStartsMonday() const {
    return settings().hasFlag(WeekStartsMonday);
}

void WeekView::assign(const platform::SystemTime& start, const platform::SystemTime&) {
    m_start = periodmath::firstDayOfWeek(start, weekStartsMonday());
    m_loadEnd = periodmath::endOfDay(periodmath::addDays(m_start, 6));
}

platform::SystemTime WeekView::stepped(const platform::SystemTime& from, int direction) const {
    return periodmath::addDays(from, 7 * direction);
}

QString WeekView::title() const {
    return resourceString(str::WeekOf) + platform::Locale::formatDate(m_start, rangeTitleFormat());
}

int WeekView::weekNumber() const {
    if (!settings().hasFlag(ShowWeekNumbers))
        return 0;
    // ISO weeks start on Monday: number the Monday of this week.
    const platform::SystemTime monday =
        weekStartsMonday() ? m_start : periodmath::addDays(m_start, 1);
    return periodmath::isoWeekNumber(monday.year, monday.month, monday.day);
}

}  // namespace tempolatch
