#include "records/PeriodMath.h"

#include <algorithm>

namespace tempolatch::periodmath {

int dayOfWeek(int year, int month, int day) {
    // Zeller's congruence with January and February counted as months 13 and
    // 14 of the previous year; h is 0 for Saturday.
    if (month < 3) {
        month += 12;
        year -= 1;
    }
    const int k = ((year % 100) + 100) % 100;
    const int j = year / 100;
    const int h = (day + (13 * (month + 1)) / 5 + k + k / 4 + j / 4 + 5 * j) % 7;
    return (h + 6) % 7;
}

int daysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 0;
    if (month == 2 && ((year % 4 == 0 && year % 100 != 0) || year % 400 == 0))
        return 29;
    return kDays[month - 1];
}

bool isValidDate(const SystemTime& st) {
    return st.month >= 1 && st.month <= 12 && st.day >= 1 &&
           st.day <= daysInMonth(st.year, st.month) && st.year >= 1601 && st.year <= 30827;
}

SystemTime dateOnly(const SystemTime& st) {
    SystemTime out;
    out.year = st.year;
    out.month = st.month;
    out.day = st.day;
    if (isValidDate(out))
        out.dayOfWeek = quint16(dayOfWeek(out.year, out.month, out.day));
    return out;
}

SystemTime endOfDay(const SystemTime& st) {
    SystemTime out = dateOnly(st);
    out.hour = 23;
    out.minute = 59;
    out.second = 59;
    return out;
}

SystemTime addSeconds(const SystemTime& st, qint64 seconds) {
    const auto ft = platform::toFileTime(st);
    if (!ft)
        return st;
    const qint64 ticks = qint64(ft->ticks) + seconds * platform::FileTime::TicksPerSecond;
    if (ticks <= 0)
        return st;
    const auto moved = platform::toSystemTime(platform::FileTime{quint64(ticks)});
    return moved ? *moved : st;
}

SystemTime addDays(const SystemTime& st, int days) {
    return addSeconds(st, qint64(days) * 86'400);
}

SystemTime addMonths(const SystemTime& st, int months) {
    int month = int(st.month) + months;
    int year = int(st.year);
    // Carry whole years first so that any step size works.
    year += (month - 1) / 12;
    month = (month - 1) % 12 + 1;
    while (month < 1) {
        month += 12;
        --year;
    }
    if (year < 1601 || year > 30827)
        return st;
    SystemTime out = st;
    out.year = quint16(year);
    out.month = quint16(month);
    out.day = quint16(std::clamp(int(st.day), 1, daysInMonth(year, month)));
    out.dayOfWeek = quint16(dayOfWeek(out.year, out.month, out.day));
    return out;
}

SystemTime firstDayOfWeek(const SystemTime& st, bool weekStartsMonday) {
    const SystemTime day = dateOnly(st);
    const int dow = dayOfWeek(day.year, day.month, day.day);
    const int back = weekStartsMonday ? (dow == 0 ? 6 : dow - 1) : dow;
    return addDays(day, -back);
}

int isoWeekNumber(int year, int month, int day) {
    const int a = (14 - month) / 12;
    const int y = year + 4800 - a;
    const int m = month + 12 * a - 3;
    const int j = day + (153 * m + 2) / 5 + 365 * y + y / 4 - y / 100 + y / 400 - 32045;
    const int d4 = ((((j / 7) * 7 + 31741) % 146097) % 36524) % 1461;
    const int l = d4 / 1460;
    const int d1 = ((d4 - l) % 365) + l;
    return d1 / 7 + 1;
}

}  // namespace tempolatch::periodmath
