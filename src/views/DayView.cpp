#include "views/DayView.h"

#include "platform/Locale.h"
#include "records/PeriodMath.h"

namespace tempolatch {

void DayView::assign(const platform::SystemTime& start, const platform::SystemTime&) {
    m_start = periodmath::dateOnly(start);
    m_loadEnd = periodmath::endOfDay(m_start);
}

QString DayView::title() const {
    return platform::Locale::formatDate(m_start, dayTitleFormat());
}

}  // namespace tempolatch
