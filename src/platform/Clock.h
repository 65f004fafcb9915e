#pragma once

#include "platform/FileTime.h"

namespace tempolatch::platform {

// The current local time. Tests fix it so that "now" is repeatable.
class Clock {
public:
    static SystemTime now();
    static FileTime nowFileTime();

    static void setFixed(const QDateTime& localTime);
    static void resetToSystem();
};

}  // namespace tempolatch::platform
