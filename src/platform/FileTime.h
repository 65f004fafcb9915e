#pragma once

#include <QDateTime>
#include <QtGlobal>
#include <QtNumeric>
#include <algorithm>
#include <limits>
#include <optional>

namespace tempolatch::platform {

// Calendar record of local time, field for field as stored in settings and
// shown in pickers. dayOfWeek is 0 for Sunday.
struct SystemTime {
    quint16 year = 0;
    quint16 month = 0;
    quint16 dayOfWeek = 0;
    quint16 day = 0;
    quint16 hour = 0;
    quint16 minute = 0;
    quint16 second = 0;
    quint16 milliseconds = 0;

    bool isNull() const { return year == 0 && month == 0 && day == 0; }
    bool operator==(const SystemTime&) const = default;

    QDate date() const { return QDate(year, month, day); }
    QDateTime toDateTime() const;
    // "yyyy-MM-dd HH:mm:ss" (with ".zzz" when asked), from the fields alone:
    // unlike a local QDateTime, it never consults the system's time zone.
    QString timestampText(bool withMilliseconds = false) const;
    // The same into `out` (at least 24 bytes); returns the length.
    int writeTimestamp(char* out, bool withMilliseconds = false) const;
    static SystemTime fromDateTime(const QDateTime& dt);

    // The 16-byte little-endian form kept in the registry.
    QByteArray toBytes() const;
    static std::optional<SystemTime> fromBytes(const QByteArray& bytes);
};

// 100-nanosecond intervals since 1601-01-01, local time. Zero means "no date".
struct FileTime {
    static constexpr qint64 TicksPerMillisecond = 10'000;
    static constexpr qint64 TicksPerSecond = 10'000'000;
    static constexpr qint64 TicksPerMinute = 60 * TicksPerSecond;
    static constexpr qint64 TicksPerDay = 24 * 60 * TicksPerMinute;

    quint64 ticks = 0;

    bool isNull() const { return ticks == 0; }
    auto operator<=>(const FileTime&) const = default;

    // The dates the program shows, lists and walks: 2 January 1601 (the
    // day after "no date") to 31 December 9999, each at midnight. A date
    // read from a file is brought into this range, so that an entry dated 0
    // or near the end of time is still listed, exported and reported.
    static constexpr FileTime firstShown() { return FileTime{quint64(TicksPerDay)}; }
    static constexpr FileTime lastShown() { return FileTime{3'067'670 * quint64(TicksPerDay)}; }
    FileTime clampedToShown() const {
        return FileTime{std::clamp(ticks, firstShown().ticks, lastShown().ticks)};
    }

    // Stops at the ends of the signed range instead of wrapping: a damaged
    // date near the end of time plus a duration stays there.
    FileTime addTicks(qint64 delta) const {
        constexpr qint64 last = std::numeric_limits<qint64>::max();
        qint64 sum = 0;
        if (qAddOverflow(qint64(std::min(ticks, quint64(last))), delta, &sum))
            sum = last;
        return FileTime{quint64(std::max<qint64>(sum, 0))};
    }
    FileTime addMinutes(qint64 minutes) const { return addTicks(minutes * TicksPerMinute); }
    FileTime addDays(qint64 days) const { return addTicks(days * TicksPerDay); }
};

// Conversions fail (nullopt) for calendar records that name no real instant
// and for file times beyond year 30827.
std::optional<FileTime> toFileTime(const SystemTime& st);
std::optional<SystemTime> toSystemTime(FileTime ft);

// Convenience for code that has already validated its input.
FileTime fileTimeOf(const QDateTime& dt);
QDateTime dateTimeOf(FileTime ft);

}  // namespace tempolatch::platform
