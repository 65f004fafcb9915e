#include "common/TestEnvironment.h"

#include "common/ServerStore.h"
#include "platform/Clock.h"
#include "platform/Locale.h"
#include "platform/Profile.h"

namespace tempolatch::test {

namespace {
TestEnvironment* g_current = nullptr;
// The server store of the one environment there is, on a run on the server.
std::unique_ptr<ServerStore> g_server;

QString enterProfile(const QString& folder) {
    platform::Profile::setFolder(folder);
    return platform::Profile::registryPath();
}
}  // namespace

const ServerStore* environmentServer() {
    return g_server.get();
}

// The store opens lazily, so the profile folder set here is the one it uses.
TestEnvironment::TestEnvironment() : m_registry(enterProfile(m_dir.path())) {
    g_current = this;
    if (wholeRunOnServer()) {
        g_server = std::make_unique<ServerStore>();
        if (!g_server->isReady())
            qFatal("TEMPOLATCH_TEST_STORE=server, but %s", qPrintable(g_server->why()));
        // Through the environment it reaches the program that a test runs, too.
        qputenv("TEMPOLATCH_STORE", g_server->address().toUtf8());
    }
    platform::Locale::set(QLocale(QLocale::English, QLocale::UnitedStates));
    platform::Clock::setFixed(fixedNow());
}

TestEnvironment::~TestEnvironment() {
    if (g_current == this)
        g_current = nullptr;
    if (g_server) {
        // The store closes before its schema is dropped.
        m_store.close();
        qunsetenv("TEMPOLATCH_STORE");
        g_server.reset();
    }
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
