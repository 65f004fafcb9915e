#include "views/CustomView.h"

#include "platform/Locale.h"
#include "records/PeriodMath.h"

namespace tempolatch {

void CustomView::assign(const platform::SystemTime& start, const platform::SystemTime& end) {
    platform::SystemTime from = periodmath::dateOnly(start);
    platform::SystemTime to = periodmath::dateOnly(end);
    // An end before the start would show nothing at all; take the two
    // dates as the range they name.
    if (to.date() < from.date())
        std::swap(from, to);
    m_start = from;
    m_loadEnd = periodmath::endOfDay(to);
}

QString CustomView::title() const {
    const QString format = rangeTitleFormat();
    return platform::Locale::formatDate(m_start, format) + QStringLiteral(" - ") +
           platform::Locale::formatDate(periodmath::dateOnly(m_loadEnd), format);
}

}  // namespace tempolatch
