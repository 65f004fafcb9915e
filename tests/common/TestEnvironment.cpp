#include "common/TestEnvironment.h"

#include "platform/Clock.h"
#include "platform/Locale.h"
#include "platform/Profile.h"

namespace tempolatch::test {

namespace {
TestEnvironment* g_current = nullptr;

QString enterProfile(const QString& folder) {
    platform::Profile::setFolder(folder);
    return platform::Profile::registryPath();
}
}  // namespace

// The store opens lazily, so the profile folder set here is the one it uses.
TestEnvironment::TestEnvironment() : m_registry(enterProfile(m_dir.path())) {
    g_current = this;
    platform::Locale::set(QLocale(QLocale::English, QLocale::UnitedStates));
    platform::Clock::setFixed(fixedNow());
}

TestEnvironment::~TestEnvironment() {
    if (g_current == this)
        g_current = nullptr;
    platform::Clock::resetToSystem();
}

TestEnvironment& TestEnvironment::current() {
    Q_ASSERT(g_current);
    return *g_current;
}

QDateTime TestEnvironment::fixedNow() {
    return QDateTime(QDate(2026, 12, 7), QTime(10, 0));
}

}  // namespace tempolatch::test
