#pragma once

#include <QString>

#include "settings/Settings.h"

namespace tempolatch {

// Hours added up two ways: in hundredths, and in the whole minutes each
// duration shows as h:mm, so that a total in either format is the sum of
// the durations printed above it.
struct HoursTotal {
    qint64 hundredths = 0;
    qint64 minutes = 0;

    void add(qint64 duration);
    void remove(qint64 duration);
    HoursTotal operator+(const HoursTotal& other) const {
        return {hundredths + other.hundredths, minutes + other.minutes};
    }
    HoursTotal& operator+=(const HoursTotal& other) { return *this = *this + other; }
    bool operator==(const HoursTotal&) const = default;
};

// Hundredths of an hour as lists, summaries and reports print them:
// "12.50h", or in hours and whole minutes "12:30" (0.66 h and 0.67 h are
// both 0:40).
QString hoursText(qint64 hundredths, HoursFormat format = HoursFormat::Decimal);
// A total in the format, as the sum of its parts as printed.
QString hoursText(const HoursTotal& total, HoursFormat format);
// Whole minutes of hundredths of an hour, half a minute away from zero.
qint64 minutesOf(qint64 hundredths);

}  // namespace tempolatch
