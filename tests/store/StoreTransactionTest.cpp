#include "common/EnvironmentTest.h"
#include "common/TestRegistry.h"
#include "store/Lists.h"
#include "store/RecordStore.h"
#include "store/StoreTransaction.h"

using namespace tempolatch;

namespace {

QStringList phases(RecordStore& store) {
    return store.lists().texts(ListKind::Phase);
}

}  // namespace

// The store's one door for writes that belong together.
class StoreTransactionTest : public test::EnvironmentTest {
    Q_OBJECT

private Q_SLOTS:
    void init() {
        EnvironmentTest::init();
        QVERIFY(m_env->store().openAll());
    }

    // A write kept or taken back by the result the writes ended on.
    void finishKeepsOnlySuccess_data() {
        QTest::addColumn<WriteResult>("writes");
        QTest::addColumn<WriteResult>("outcome");
        QTest::addColumn<bool>("kept");
        QTest::newRow("written") << WriteResult::Written << WriteResult::Written << true;
        QTest::newRow("unchanged") << WriteResult::Unchanged << WriteResult::Written << true;
        QTest::newRow("not found") << WriteResult::NotFound << WriteResult::NotFound << false;
        QTest::newRow("not storable")
            << WriteResult::NotStorable << WriteResult::NotStorable << false;
        QTest::newRow("refused") << WriteResult::Refused << WriteResult::Refused << false;
    }
    void finishKeepsOnlySuccess() {
        QFETCH(WriteResult, writes);
        QFETCH(WriteResult, outcome);
        QFETCH(bool, kept);
        RecordStore& store = m_env->store();
        StoreOutcome ended;
        {
            StoreTransaction transaction(store);
            QVERIFY(transaction.isActive());
            QCOMPARE(store.lists().add(ListKind::Phase, QStringLiteral("Design")),
                     WriteResult::Written);
            ended = transaction.finish(writes);
        }
        QCOMPARE(ended.result, outcome);
        QCOMPARE(ended.succeeded(), kept);
        if (outcome != WriteResult::Refused)
            QCOMPARE(ended.error, 0);
        QCOMPARE(phases(store).contains(QStringLiteral("Design")), kept);
    }

    // Leaving the scope without a commit takes everything back, also what
    // an inner transaction committed.
    void uncommittedScopeTakesBackInnerCommits() {
        RecordStore& store = m_env->store();
        {
            StoreTransaction outer(store);
            store.lists().add(ListKind::Phase, QStringLiteral("Build"));
            StoreTransaction inner(store);
            store.lists().add(ListKind::Phase, QStringLiteral("Test"));
            QVERIFY(inner.commit().succeeded());
            QCOMPARE(phases(store).size(), 2);
        }
        QVERIFY(phases(store).isEmpty());
    }

    // The door opens a closed store first; a second finish is refused.
    void writeInOneTransactionOpensTheStore() {
        RecordStore& store = m_env->store();
        store.closeAll();
        QVERIFY(!store.isOpen());
        const StoreOutcome outcome = writeInOneTransaction(
            store, [&] { return store.lists().add(ListKind::Phase, QStringLiteral("Run")); });
        QCOMPARE(outcome.result, WriteResult::Written);
        QVERIFY(store.isOpen());
        QCOMPARE(phases(store), QStringList{QStringLiteral("Run")});

        StoreTransaction transaction(store);
        QVERIFY(transaction.commit().succeeded());
        QCOMPARE(transaction.commit().result, WriteResult::Refused);
    }
};

TEMPOLATCH_TEST(StoreTransactionTest);
#include "StoreTransactionTest.moc"
