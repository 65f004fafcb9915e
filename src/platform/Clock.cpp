#include "platform/Clock.h"

namespace tempolatch::platform {

namespace {
QDateTime g_fixed;
}

SystemTime Clock::now() {
    return SystemTime::fromDateTime(g_fixed.isValid() ? g_fixed : QDateTime::currentDateTime());
}

FileTime Clock::nowFileTime() {
    return toFileTime(now()).value_or(FileTime{});
}

void Clock::setFixed(const QDateTime& localTime) {
    g_fixed = localTime;
}

void Clock::resetToSystem() {
    g_fixed = QDateTime();
}

}  // namespace tempolatch::platform
