#pragma once

#include "platform/FileTime.h"

namespace tempolatch {

class RecordStore;

// The one-time repair of records written by versions before 261: Paid
// entries without a paid date, and entries and rates without a valid
// last-modified time, get the current time.
class DataUpgrade {
public:
    static constexpr quint32 FirstUpgradedVersion = 261;

    struct Result {
        int entriesRepaired = 0;
        int ratesRepaired = 0;
        bool ok = true;  // false when the repairs could not be kept
        int error = 0;   // the store's error code then
    };

    // True when the loaded settings' version is below 261 and time entries
    // exist. A first start (version 300) never needs it.
    static bool needsUpgrade(quint32 settingsVersion, RecordStore& store);

    // Walks every time entry and every rate, writing back what it repairs,
    // all in one transaction. Records already repaired are left untouched.
    static Result run(RecordStore& store, platform::FileTime now);

    // 1 January 1900 00:00: earlier dates (and no date) count as missing.
    static platform::FileTime cutOff();
};

}  // namespace tempolatch
