#include <QDeadlineTimer>
#include <QSignalSpy>

#include "common/EnvironmentTest.h"
#include "common/TestRegistry.h"
#include "platform/ObjectStore.h"
#include "platform/Profile.h"
#include "store/RecordStore.h"
#include "store/StoreWatcher.h"

using namespace tempolatch;
using namespace tempolatch::platform;

namespace {
constexpr quint32 kDate = 0x03E90040;
}

class StoreWatcherTest : public test::EnvironmentTest {
    Q_OBJECT

    std::unique_ptr<ObjectStore> openStore() {
        QString error;
        auto store =
            ObjectStore::open(platform::Profile::storeAddress(), ObjectStore::Access::ReadWrite,
                              QStringLiteral("en_US"), &error);
        if (!store)
            qWarning("%s", qPrintable(error));
        return store;
    }

private Q_SLOTS:

    // Only commits of another connection are news, each reported once, and
    // polling never leaves this connection reading an old snapshot.
    void reportsOtherConnectionsOnce() {
        RecordStore& records = m_env->store();
        QVERIFY(records.openAll());
        ObjectStore* mine = records.objectStore();
        auto other = openStore();
        QVERIFY(other);
        const quint32 db = records.entries().databaseId();

        StoreWatcher watcher(records);
        QSignalSpy spy(&watcher, &StoreWatcher::storeChanged);
        watcher.start(60'000);
        QVERIFY(!watcher.check());
        // A server's notice of another's commit arrives a moment after it.
        auto reportedSoon = [&watcher] {
            QDeadlineTimer deadline(5000);
            while (!watcher.check()) {
                if (deadline.hasExpired())
                    return false;
                QTest::qWait(10);
            }
            return true;
        };

        QVERIFY(mine->writeRecord(db, 0, {Property::fileTime(kDate, FileTime{100})}));
        QVERIFY(!watcher.check());

        const quint32 theirs =
            other->writeRecord(db, 0, {Property::fileTime(kDate, FileTime{200})});
        QVERIFY(theirs);
        QVERIFY(reportedSoon());
        QVERIFY(!watcher.check());
        QCOMPARE(spy.count(), 1);

        // After a poll, this connection still sees and writes current data.
        QVERIFY(other->writeRecord(db, 0, {Property::fileTime(kDate, FileTime{300})}));
        QCOMPARE(mine->recordCount(db), 3);
        QVERIFY(mine->writeRecord(db, 0, {Property::fileTime(kDate, FileTime{400})}));
        QVERIFY(reportedSoon());
        QCOMPARE(spy.count(), 2);
    }

    // Polling never opens the store; a store opened later is a fresh start,
    // not a change.
    void noStoreNoSignal() {
        RecordStore& records = m_env->store();
        StoreWatcher watcher(records);
        QSignalSpy spy(&watcher, &StoreWatcher::storeChanged);
        watcher.start(60'000);
        QVERIFY(!watcher.check());
        QVERIFY(!records.isOpen());
        QVERIFY(records.openAll());
        QVERIFY(!watcher.check());
        QCOMPARE(spy.count(), 0);
    }
};

TEMPOLATCH_TEST(StoreWatcherTest);
#include "StoreWatcherTest.moc"
