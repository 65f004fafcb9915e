#include "common/BackendTest.h"

#include <QTest>

#include "platform/Profile.h"

namespace tempolatch::test {

void BackendTest::initTestCase_data() {
    QTest::addColumn<bool>("server");
    QTest::newRow("file") << false;
    QTest::newRow("server") << true;
}

void BackendTest::init() {
    QFETCH_GLOBAL(bool, server);
    EnvironmentTest::init();
    // Both stores are the ordinary run's business.
    if (wholeRunOnServer())
        QSKIP("runs in the ordinary run, on both stores");
    if (server) {
        m_server = std::make_unique<ServerStore>();
        if (!m_server->isReady())
            QSKIP(qPrintable(m_server->why()));
        // The environment's store opens on first use: on this one.
        platform::Profile::setStore(m_server->address());
    }
    QVERIFY2(m_env->store().openAll(), qPrintable(m_env->store().openError()));
}

void BackendTest::cleanup() {
    if (m_env)
        m_env->store().close();
    if (m_server)
        platform::Profile::setStore(QString());
    m_server.reset();
    EnvironmentTest::cleanup();
}

bool BackendTest::onServer() const {
    return server() != nullptr;
}

const ServerStore* BackendTest::server() const {
    return m_server.get();
}

QString BackendTest::storeAddress() const {
    return platform::Profile::storeAddress();
}

void ServerTest::init() {
    EnvironmentTest::init();
    if (wholeRunOnServer())
        QSKIP("runs in the ordinary run");
    m_server = std::make_unique<ServerStore>();
    if (!m_server->isReady())
        QSKIP(qPrintable(m_server->why()));
    platform::Profile::setStore(m_server->address());
    QVERIFY2(m_env->store().openAll(), qPrintable(m_env->store().openError()));
}

void ServerTest::cleanup() {
    if (m_env)
        m_env->store().close();
    platform::Profile::setStore(QString());
    m_server.reset();
    EnvironmentTest::cleanup();
}

}  // namespace tempolatch::test
