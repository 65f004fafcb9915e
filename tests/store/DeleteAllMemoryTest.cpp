#include <QFileInfo>
#include <QTest>

#include <sqlite3.h>

#include "common/EnvironmentTest.h"
#include "common/SampleStore.h"
#include "common/ServerStore.h"
#include "common/TestRegistry.h"
#include "platform/Profile.h"
#include "store/RecordStore.h"
#include "store/StoreTestSupport.h"
#include "store/StoreTransaction.h"

using namespace tempolatch;

// A restore that deletes everything first does so inside its own
// transaction. The deletion must not make SQLite keep a copy of every page
// it frees in memory (which a savepoint around it would), or replacing a
// full store costs far more memory than restoring into an empty one.
class DeleteAllMemoryTest : public test::EnvironmentTest {
    Q_OBJECT

    static qint64 sqliteMemoryGrowth(const std::function<void()>& work) {
        sqlite3_int64 before = 0;
        sqlite3_int64 peak = 0;
        sqlite3_status64(SQLITE_STATUS_MEMORY_USED, &before, &peak, 1);
        work();
        sqlite3_int64 now = 0;
        sqlite3_status64(SQLITE_STATUS_MEMORY_USED, &now, &peak, 0);
        return peak - before;
    }

private Q_SLOTS:
    void deletionInsideTransactionKeepsNoCopies() {
        if (test::wholeRunOnServer())
            QSKIP("the memory measured is SQLite's own");
        RecordStore& store = m_env->store();
        QVERIFY(store.openAll());
        QVERIFY(test::fillSampleStore(store, 20'000));
        // A small page cache, so that what the deletion keeps stands out.
        QVERIFY(test::sqliteOf(*store.objectStore()).exec("PRAGMA cache_size=-1024"));
        // The records are still in the journal, not yet in the file itself.
        const QString file = platform::Profile::storePath();
        const qint64 storeBytes =
            QFileInfo(file).size() + QFileInfo(file + QStringLiteral("-wal")).size();
        const qint64 allowed = 3 * 1024 * 1024;
        QVERIFY2(storeBytes > 3 * allowed, qPrintable(QString::number(storeBytes)));

        const qint64 growth = sqliteMemoryGrowth([&] {
            StoreTransaction transaction(store);
            QVERIFY(transaction.isActive());
            QVERIFY(store.deleteAllData());
            QVERIFY(transaction.commit().succeeded());
        });
        QCOMPARE(store.entryCount(), 0);
        QVERIFY2(growth < allowed,
                 qPrintable(QStringLiteral("SQLite grew by %1 KB for a %2 KB store")
                                .arg(growth / 1024)
                                .arg(storeBytes / 1024)));
    }

    // A deletion inside a transaction that is not committed goes with it.
    void deletionTakenBackWithTransaction() {
        RecordStore& store = m_env->store();
        QVERIFY(store.openAll());
        QVERIFY(test::fillSampleStore(store, 50));
        {
            StoreTransaction transaction(store);
            QVERIFY(store.deleteAllData());
            QCOMPARE(store.entryCount(), 0);
        }
        store.closeAll();
        QVERIFY(store.openAll());
        QCOMPARE(store.entryCount(), 50);
    }
};

TEMPOLATCH_TEST(DeleteAllMemoryTest);
#include "DeleteAllMemoryTest.moc"
