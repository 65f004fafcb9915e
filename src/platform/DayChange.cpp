#include "platform/DayChange.h"

namespace tempolatch::platform {

SystemTime onDay(SystemTime time, const QDate& day) {
    time.year = quint16(day.year());
    time.month = quint16(day.month());
    time.day = quint16(day.day());
    time.dayOfWeek = quint16(day.dayOfWeek() % 7);
    return time;
}

}  // namespace tempolatch::platform
