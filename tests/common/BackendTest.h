#pragma once

#include <memory>

#include "common/EnvironmentTest.h"
#include "common/ServerStore.h"

namespace tempolatch::test {

// The base of test classes whose every test runs on both stores: the
// profile's file ("file") and an empty store of its own on the tests'
// server ("server"), skipped with a message when there is no server. The
// store is open when a test begins.
class BackendTest : public EnvironmentTest {
    Q_OBJECT

public Q_SLOTS:
    void initTestCase_data();
    void init();
    void cleanup();

protected:
    bool onServer() const;
    // The server store of the running test; nullptr on the file.
    const ServerStore* server() const;
    // The store's own address, as --store takes it.
    QString storeAddress() const;

private:
    std::unique_ptr<ServerStore> m_server;
};

// The base of test classes about what only a server store does: each test
// gets an empty store of its own on the tests' server, open, or is skipped
// with a message when there is no server.
class ServerTest : public EnvironmentTest {
    Q_OBJECT

public Q_SLOTS:
    void init();
    void cleanup();

protected:
    const ServerStore& server() const { return *m_server; }

private:
    std::unique_ptr<ServerStore> m_server;
};

}  // namespace tempolatch::test
