#pragma once

#include "platform/FileTime.h"
#include "records/PeriodMath.h"

namespace tempolatch::test {

// A local date-time with its day of the week, as the views compute it.
inline platform::SystemTime localTime(int year, int month, int day, int hour = 0, int minute = 0,
                                      int second = 0) {
    platform::SystemTime st{quint16(year),   quint16(month),  0, quint16(day), quint16(hour),
                            quint16(minute), quint16(second), 0};
    st.dayOfWeek = quint16(periodmath::dayOfWeek(year, month, day));
    return st;
}

// Midnight of a day.
inline platform::SystemTime day(int year, int month, int day) {
    return localTime(year, month, day);
}

// A local date-time as the store keeps it.
inline platform::FileTime at(int year, int month, int day, int hour = 0, int minute = 0,
                             int second = 0) {
    return *platform::toFileTime(localTime(year, month, day, hour, minute, second));
}

}  // namespace tempolatch::test
