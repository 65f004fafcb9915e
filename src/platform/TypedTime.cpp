#include "platform/TypedTime.h"

#include <QRegularExpression>
#include <cmath>

#include "platform/Locale.h"

namespace tempolatch::platform {

namespace {

constexpr int MinutesPerDay = 24 * 60;

std::optional<QTime> timeOf(int hour, int minute) {
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59)
        return std::nullopt;
    return QTime(hour, minute);
}

// Hours alone ("9"), hours and minutes ("930", "9:30"), or hours with a
// fraction after a point or comma ("17.5"), as durations are typed.
std::optional<QTime> timeOfDigits(const QString& hours, const QString& minutes,
                                  const QString& fraction) {
    if (!fraction.isEmpty()) {
        const double value = (hours + u'.' + fraction).toDouble();
        const int total = int(std::lround(value * 60));
        if (total >= MinutesPerDay)
            return std::nullopt;
        return QTime(total / 60, total % 60);
    }
    if (!minutes.isEmpty())
        return timeOf(hours.toInt(), minutes.toInt());
    if (hours.size() <= 2)
        return timeOf(hours.toInt(), 0);
    // Three or four digits: the last two are the minutes.
    return timeOf(hours.chopped(2).toInt(), hours.right(2).toInt());
}

// 12 am is midnight, 12 pm noon; "13 pm" is no time.
std::optional<QTime> withHalfDay(std::optional<QTime> time, const QString& halfDay) {
    if (!time || halfDay.isEmpty())
        return time;
    const int hour = time->hour();
    if (hour < 1 || hour > 12)
        return std::nullopt;
    const bool afternoon = halfDay.startsWith(u'p');
    return QTime((hour % 12) + (afternoon ? 12 : 0), time->minute());
}

}  // namespace

std::optional<QTime> parseTypedTime(const QString& text) {
    static const QRegularExpression typed(
        QStringLiteral(R"(^(\d{1,4})(?::(\d{1,2})|[.,](\d{1,2}))?\s*(?:([ap])\.?\s*m?\.?)?$)"),
        QRegularExpression::CaseInsensitiveOption);
    const QString trimmed = text.trimmed();
    const QRegularExpressionMatch m = typed.match(trimmed);
    if (m.hasMatch()) {
        const QString hours = m.captured(1);
        // "930:15" is no time: minutes after a colon follow one or two digits.
        if (hours.size() > 2 && (m.hasCaptured(2) || m.hasCaptured(3)))
            return std::nullopt;
        return withHalfDay(timeOfDigits(hours, m.captured(2), m.captured(3)),
                           m.captured(4).toLower());
    }
    const QTime local = QTime::fromString(trimmed, Locale::timeFormatWithoutSeconds());
    return local.isValid() ? std::optional<QTime>(local) : std::nullopt;
}

}  // namespace tempolatch::platform
