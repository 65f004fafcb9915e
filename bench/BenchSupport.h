#pragma once

#include <QTemporaryDir>
#include <memory>

#include "platform/FileTime.h"
#include "platform/ObjectStore.h"

namespace tempolatch::bench {

// Records are spread at 40 a week from this day on.
inline platform::FileTime firstDay() {
    return *platform::toFileTime(platform::SystemTime{2020, 1, 3, 1, 0, 0, 0, 0});
}
inline constexpr int kPerWeek = 40;

// The instant of the i-th record: 40 a week, 8 a working day from 08:00.
inline platform::FileTime instantOf(int i) {
    const int week = i / kPerWeek;
    const int inWeek = i % kPerWeek;
    return firstDay().addDays(week * 7 + inWeek / 8).addMinutes(8 * 60 + (inWeek % 8) * 60);
}

// A store in a temporary folder that lives as long as the object.
struct TempStore {
    QTemporaryDir dir;
    std::unique_ptr<platform::ObjectStore> store;
    TempStore();
};

}  // namespace tempolatch::bench
