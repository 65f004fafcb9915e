#include "platform/FileTime.h"

#include <QtEndian>

namespace tempolatch::platform {

namespace {
const qint64 kJulianDay1601 = QDate(1601, 1, 1).toJulianDay();
// Days from 1 March of the year 0 (proleptic Gregorian) to 1 January 1601.
constexpr qint64 kDaysFromMarch0000To1601 = 584694;
}

QDateTime SystemTime::toDateTime() const {
    return QDateTime(date(), QTime(hour, minute, second, milliseconds));
}

QString SystemTime::timestampText(bool withMilliseconds) const {
    char text[32];
    return QString::fromLatin1(text, writeTimestamp(text, withMilliseconds));
}

int SystemTime::writeTimestamp(char* text, bool withMilliseconds) const {
    // By hand rather than by a format: dumps print several for every record.
    char* at = text;
    const auto digits = [&](unsigned value, int width) {
        char reversed[8];
        int n = 0;
        do {
            reversed[n++] = char('0' + value % 10);
            value /= 10;
        } while (value != 0 && n < 8);
        for (int pad = n; pad < width; ++pad)
            *at++ = '0';
        while (n > 0)
            *at++ = reversed[--n];
    };
    digits(year, 4);
    *at++ = '-';
    digits(month, 2);
    *at++ = '-';
    digits(day, 2);
    *at++ = ' ';
    digits(hour, 2);
    *at++ = ':';
    digits(minute, 2);
    *at++ = ':';
    digits(second, 2);
    if (withMilliseconds) {
        *at++ = '.';
        digits(milliseconds, 3);
    }
    return int(at - text);
}

SystemTime SystemTime::fromDateTime(const QDateTime& dt) {
    const QDate d = dt.date();
    const QTime t = dt.time();
    return SystemTime{quint16(d.year()),   quint16(d.month()), quint16(d.dayOfWeek() % 7),
                      quint16(d.day()),    quint16(t.hour()),  quint16(t.minute()),
                      quint16(t.second()), quint16(t.msec())};
}

QByteArray SystemTime::toBytes() const {
    QByteArray out(16, '\0');
    const quint16 fields[8] = {year, month, dayOfWeek, day, hour, minute, second, milliseconds};
    for (int i = 0; i < 8; ++i)
        qToLittleEndian(fields[i], out.data() + 2 * i);
    return out;
}

std::optional<SystemTime> SystemTime::fromBytes(const QByteArray& bytes) {
    if (bytes.size() != 16)
        return std::nullopt;
    quint16 f[8];
    for (int i = 0; i < 8; ++i)
        f[i] = qFromLittleEndian<quint16>(bytes.constData() + 2 * i);
    return SystemTime{f[0], f[1], f[2], f[3], f[4], f[5], f[6], f[7]};
}

std::optional<FileTime> toFileTime(const SystemTime& st) {
    const QDate d(st.year, st.month, st.day);
    if (!d.isValid() || st.year < 1601 || st.hour > 23 || st.minute > 59 || st.second > 59 ||
        st.milliseconds > 999)
        return std::nullopt;
    const qint64 days = d.toJulianDay() - kJulianDay1601;
    const qint64 ms =
        ((qint64(st.hour) * 60 + st.minute) * 60 + st.second) * 1000 + st.milliseconds;
    return FileTime{quint64(days * FileTime::TicksPerDay + ms * FileTime::TicksPerMillisecond)};
}

std::optional<SystemTime> toSystemTime(FileTime ft) {
    if (ft.ticks > quint64(0x7FFFFFFFFFFFFFFF))
        return std::nullopt;
    const qint64 ticks = qint64(ft.ticks);
    const qint64 days = ticks / FileTime::TicksPerDay;
    // The civil date of a day count, by whole eras of 400 years (146,097
    // days) counted from 1 March 0000; dumps and exports convert every date
    // they print, and this costs less than a calendar object.
    const qint64 z = days + kDaysFromMarch0000To1601;
    const qint64 era = z / 146097;
    const qint64 dayOfEra = z - era * 146097;
    const qint64 yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const qint64 dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const qint64 monthFromMarch = (5 * dayOfYear + 2) / 153;
    const qint64 month = monthFromMarch < 10 ? monthFromMarch + 3 : monthFromMarch - 9;
    const qint64 year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
    if (year > 30827)
        return std::nullopt;
    qint64 ms = (ticks % FileTime::TicksPerDay) / FileTime::TicksPerMillisecond;
    SystemTime st;
    st.year = quint16(year);
    st.month = quint16(month);
    st.day = quint16(dayOfYear - (153 * monthFromMarch + 2) / 5 + 1);
    st.dayOfWeek = quint16((days + 1) % 7);  // 1601-01-01 was a Monday
    st.milliseconds = quint16(ms % 1000);
    ms /= 1000;
    st.second = quint16(ms % 60);
    ms /= 60;
    st.minute = quint16(ms % 60);
    st.hour = quint16(ms / 60);
    return st;
}

FileTime fileTimeOf(const QDateTime& dt) {
    return toFileTime(SystemTime::fromDateTime(dt)).value_or(FileTime{});
}

QDateTime dateTimeOf(FileTime ft) {
    const auto st = toSystemTime(ft);
    return st ? st->toDateTime() : QDateTime();
}

}  // namespace tempolatch::platform
