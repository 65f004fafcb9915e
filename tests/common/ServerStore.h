#pragma once

#include <QString>

namespace tempolatch::test {

// An empty store on the tests' private server (tests/server/test-server,
// started by CTest): a schema of its own, dropped again at the end, so that
// every test starts from nothing and tests never see each other's data.
class ServerStore {
public:
    ServerStore();
    ~ServerStore();
    ServerStore(const ServerStore&) = delete;
    ServerStore& operator=(const ServerStore&) = delete;

    bool isReady() const { return !m_address.isEmpty(); }
    // Why there is no store, for the message of a skipped test.
    QString why() const { return m_why; }
    // The address of the store, as --store takes it.
    QString address() const { return m_address; }
    QString schema() const { return m_schema; }

    // The address of the server itself, empty when no server runs for the tests.
    static QString serverAddress(QString* why);

private:
    QString m_address;
    QString m_schema;
    QString m_why;
};

}  // namespace tempolatch::test
