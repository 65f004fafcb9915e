#include "editing/EntryValues.h"

#include <QByteArray>
#include <cmath>
#include <limits>

#include "platform/Clock.h"
#include "platform/DayChange.h"
#include "platform/Locale.h"
#include "platform/StringTable.h"
#include "settings/Settings.h"

namespace tempolatch::entryvalues {

using platform::FileTime;
using platform::SystemTime;

namespace {

// Float noise must not cost a hundredth: 0.29 h is 29, not 28.99...
constexpr double Tolerance = 1e-7;

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

double leadingNumber(const QString& text) {
    // Read by hand rather than with strtod, whose decimal point follows the
    // process's C locale.
    const QByteArray bytes = platform::Locale::toAnsi(text).left(64);
    qsizetype i = 0;
    const qsizetype n = bytes.size();
    while (i < n && (bytes[i] == ' ' || (bytes[i] >= '\t' && bytes[i] <= '\r')))
        ++i;
    const qsizetype start = i;
    if (i < n && (bytes[i] == '+' || bytes[i] == '-'))
        ++i;
    qsizetype digits = 0;
    while (i < n && isDigit(bytes[i]))
        ++i, ++digits;
    if (i < n && bytes[i] == '.') {
        ++i;
        while (i < n && isDigit(bytes[i]))
            ++i, ++digits;
    }
    if (digits == 0)
        return 0.0;
    qsizetype end = i;
    if (i < n && (bytes[i] == 'e' || bytes[i] == 'E')) {
        qsizetype j = i + 1;
        if (j < n && (bytes[j] == '+' || bytes[j] == '-'))
            ++j;
        if (j < n && isDigit(bytes[j])) {
            while (j < n && isDigit(bytes[j]))
                ++j;
            end = j;
        }
    }
    bool ok = false;
    const double value = QByteArray(bytes.constData() + start, end - start).toDouble(&ok);
    if (!ok && !std::isinf(value))
        return 0.0;
    return value;
}

bool isNumericText(const QString& text) {
    for (const QChar c : text) {
        if (c.isLetter())
            return false;
    }
    return true;
}

qint32 hundredthsOf(double value) {
    if (std::isnan(value))
        return 0;
    double scaled = value * 100.0;
    const double nearest = std::round(scaled);
    if (std::abs(scaled - nearest) < Tolerance)
        scaled = nearest;
    constexpr double Max = std::numeric_limits<qint32>::max();
    constexpr double Min = std::numeric_limits<qint32>::min();
    if (scaled >= Max)
        return std::numeric_limits<qint32>::max();
    if (scaled <= Min)
        return std::numeric_limits<qint32>::min();
    return qint32(std::trunc(scaled));
}

void setDurationHours(TimeEntry& entry, double hours, const Settings& settings) {
    if (settings.hasFlag(DurationGranularity) && settings.minTime > 0 && std::isfinite(hours)) {
        const double step = settings.minTime / 60.0;
        const double steps = hours / step;
        // Always up to the next step; an exact multiple stays.
        if (steps - std::floor(steps) > Tolerance && std::ceil(steps) - steps > Tolerance)
            hours = std::ceil(steps) * step;
        else
            hours = std::round(steps) * step;
    }
    entry.duration = hundredthsOf(hours);
}

void setDurationText(TimeEntry& entry, const QString& text, const Settings& settings) {
    setDurationHours(entry, leadingNumber(text), settings);
}

void setBreakText(TimeEntry& entry, const QString& text) {
    entry.breakTime = hundredthsOf(leadingNumber(text));
}

void setRateText(TimeEntry& entry, const QString& text) {
    entry.rate = hundredthsOf(leadingNumber(text));
}

QStringList durationChoices(int stepMinutes) {
    QStringList items;
    if (stepMinutes <= 0)
        return items;
    for (int minutes = stepMinutes; minutes <= 720; minutes += stepMinutes)
        items.append(QString::asprintf("%.02f", minutes / 60.0));
    return items;
}

TimeEntry openingEntry(const TimeEntry* from, bool keepValues, const Settings& settings) {
    TimeEntry entry;
    SystemTime today = platform::Clock::now();
    today.hour = today.minute = today.second = today.milliseconds = 0;
    const FileTime todayTime = platform::toFileTime(today).value_or(FileTime{});
    entry.date = todayTime;
    if (from)
        entry = *from;
    // An entry without a date (damaged data) would show as the year 1601.
    if (entry.date.isNull())
        entry.date = todayTime;
    if (entry.recordId == 0 && !keepValues) {
        entry.status =
            settings.hasFlag(NewEntriesBillable) ? EntryStatus::Billable : EntryStatus::NonBillable;
        entry.currency = settings.defaultCurrency;
    }
    return entry;
}

SystemTime dateTimeOf(const TimeEntry& entry) {
    if (auto st = platform::toSystemTime(entry.date))
        return *st;
    return platform::Clock::now();
}

namespace {

void setDateTime(TimeEntry& entry, SystemTime st) {
    if (auto ft = platform::toFileTime(st))
        entry.date = *ft;
}

}  // namespace

void setDate(TimeEntry& entry, int year, int month, int day) {
    const QDate date(year, month, day);
    if (!date.isValid())
        return;
    setDateTime(entry, platform::onDay(dateTimeOf(entry), date));
}

void setStartTime(TimeEntry& entry, int hour, int minute) {
    SystemTime st = dateTimeOf(entry);
    st.hour = quint16(hour);
    st.minute = quint16(minute);
    st.second = 1;
    st.milliseconds = 0;
    setDateTime(entry, st);
}

void clearStartTime(TimeEntry& entry) {
    SystemTime st = dateTimeOf(entry);
    st.hour = st.minute = st.second = st.milliseconds = 0;
    setDateTime(entry, st);
}

double spanHours(int startHour, int startMinute, int endHour, int endMinute, double breakHours) {
    const int start = startHour * 60 + startMinute;
    int end = endHour * 60 + endMinute;
    // Work that ends "earlier" than it began ended the next day.
    if (end < start)
        end += 24 * 60;
    return (end - start) / 60.0 - breakHours;
}

int rangeMessage(const TimeEntry& entry) {
    switch (entry.problem()) {
        case TimeEntry::Problem::DurationOutOfRange:
            return str::DurationOutOfRange;
        case TimeEntry::Problem::BreakOutOfRange:
            return str::BreakOutOfRange;
        case TimeEntry::Problem::NegativeRate:
            return str::NegativeRate;
        case TimeEntry::Problem::None:
            break;
    }
    return 0;
}

}  // namespace tempolatch::entryvalues
