#include "common/TestEnvironment.h"

#include "platform/Clock.h"
#include "platform/Locale.h"
#include "platform/Profile.h"
#include "settings/Settings.h"
#include "store/RecordStore.h"

namespace tempolatch::test {

TestEnvironment::TestEnvironment() {
    platform::Profile::setFolder(m_dir.path());
    platform::Locale::set(QLocale(QLocale::English, QLocale::UnitedStates));
    platform::Clock::setFixed(fixedNow());
    platform::Ui::install(&m_ui);
    RecordStore::reset();
    Settings::instance() = Settings();
}

TestEnvironment::~TestEnvironment() {
    Settings::instance() = Settings();
    RecordStore::reset();
    platform::Ui::install(nullptr);
    platform::Clock::resetToSystem();
}

QDateTime TestEnvironment::fixedNow() {
    return QDateTime(QDate(2026, 12, 7), QTime(10, 0));
}

}  // namespace tempolatch::test
