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
    // Statements run on the server as its owner (roles, faults to make);
    // true when all of them ran.
    static bool run(const QString& sql, QString* why = nullptr);

private:
    QString m_address;
    QString m_schema;
    QString m_why;
};

}  // namespace tempolatch::test

namespace tempolatch::test {

// A run of the tests on the server store (TEMPOLATCH_TEST_STORE=server):
// every test environment's store is then an empty one on the tests' server,
// for the program that a test runs too.
bool wholeRunOnServer();
// The server store of the current test environment on such a run (the
// environment keeps it); nullptr otherwise.
const ServerStore* environmentServer();

// A login role of its own on the tests' server, with `rights` on the tables
// of a store's schema ("SELECT", or "SELECT, INSERT, UPDATE, DELETE"), as a
// user whom an administrator gave those rights; dropped at the end. The
// store's tables must exist.
class ServerRole {
public:
    ServerRole(const ServerStore& store, const QString& rights);
    ~ServerRole();
    ServerRole(const ServerRole&) = delete;
    ServerRole& operator=(const ServerRole&) = delete;

    bool isReady() const { return m_ready; }
    // The store's address, connecting as this role.
    QString address() const { return m_address; }
    // The server lets the role log in, or not: with dropSessions() a server
    // that is gone for this user.
    bool allowLogin(bool allowed);
    // Ends every session of the role, as a restarted server does.
    bool dropSessions();

private:
    QString m_name;
    QString m_address;
    bool m_ready = false;
};

}  // namespace tempolatch::test
