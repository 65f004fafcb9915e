#include "records/HoursTotal.h"

#include "store/RecordValues.h"

namespace tempolatch {

namespace {

QString minutesText(qint64 minutes) {
    const qint64 whole = qAbs(minutes);
    return QStringLiteral("%1%2:%3")
        .arg(minutes < 0 ? QStringLiteral("-") : QString())
        .arg(whole / 60)
        .arg(whole % 60, 2, 10, QLatin1Char('0'));
}

}  // namespace

qint64 minutesOf(qint64 hundredths) {
    // 0.6 minutes a hundredth: in tenths of a minute, then rounded.
    const qint64 whole = (qAbs(hundredths) * 6 + 5) / 10;
    return hundredths < 0 ? -whole : whole;
}

QString hoursText(qint64 hundredths, HoursFormat format) {
    if (format == HoursFormat::HoursMinutes)
        return minutesText(minutesOf(hundredths));
    return hundredthsText(hundredths) + u'h';
}

QString hoursText(const HoursTotal& total, HoursFormat format) {
    if (format == HoursFormat::HoursMinutes)
        return minutesText(total.minutes);
    return hoursText(total.hundredths);
}

void HoursTotal::add(qint64 duration) {
    hundredths += duration;
    minutes += minutesOf(duration);
}

void HoursTotal::remove(qint64 duration) {
    hundredths -= duration;
    minutes -= minutesOf(duration);
}

}  // namespace tempolatch
