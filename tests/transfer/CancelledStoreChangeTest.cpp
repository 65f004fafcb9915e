#include <QDir>
#include <QTest>
#include <functional>
#include <map>

#include "clients/FieldReplacement.h"
#include "common/EnvironmentTest.h"
#include "common/SampleStore.h"
#include "common/TestDates.h"
#include "common/TestRegistry.h"
#include "platform/Clock.h"
#include "platform/WorkProgress.h"
#include "records/EntryFilter.h"
#include "records/RecordMarking.h"
#include "store/RecordStore.h"
#include "transfer/ArchiveOperation.h"
#include "transfer/BackupOperation.h"
#include "transfer/TransferTestSupport.h"

using namespace tempolatch;
using platform::WorkProgress;

// A long change of the store that is cancelled part of the way leaves the
// store exactly as it was: the walk stops and the transaction is taken
// back, whatever the change had written by then.
class CancelledStoreChangeTest : public test::EnvironmentTest {
    Q_OBJECT

    static constexpr int kEntries = 300;

    QString file(const QString& name) const { return m_env->filePath(name); }

    // Each change, run on the test's store; true when it says it succeeded.
    std::map<QString, std::function<bool()>> changes() {
        const platform::FileTime now = platform::Clock::nowFileTime();
        return {
            {QStringLiteral("restore over the data"),
             [&] {
                 return BackupOperation(m_env->store())
                            .restore(file(QStringLiteral("b.tld")), true) ==
                        BackupOperation::RestoreOk;
             }},
            {QStringLiteral("restore beside the data"),
             [&] {
                 return BackupOperation(m_env->store()).restore(file(QStringLiteral("b.tld"))) ==
                        BackupOperation::RestoreOk;
             }},
            {QStringLiteral("archive and delete"),
             [&] {
                 return ArchiveOperation(m_env->store(), test::at(2000, 1, 1), test::at(2100, 1, 1))
                            .archive(file(QStringLiteral("a.tla")), true) ==
                        ArchiveOperation::ArchiveResult::Written;
             }},
            {QStringLiteral("load archive"),
             [&] {
                 return ArchiveOperation(m_env->store())
                            .loadArchive(file(QStringLiteral("old.tla"))) ==
                        BackupOperation::RestoreOk;
             }},
            {QStringLiteral("mark billed"),
             [&, now] {
                 return succeeded(entrymarking::markEntries(m_env->store(), EntryFilter(),
                                                            entrymarking::Mark::Paid, now, now)
                                      .result);
             }},
            {QStringLiteral("replace text"),
             [&, now] {
                 return replaceFieldText(m_env->store(), ReplaceField::Client,
                                         QStringLiteral("Acme"), QStringLiteral("Acme Ltd"), now)
                     .ok;
             }},
        };
    }

private Q_SLOTS:
    void init() {
        EnvironmentTest::init();
        QVERIFY(m_env->store().openAll());
        QVERIFY(test::fillSampleStore(m_env->store(), kEntries));
        QVERIFY(BackupOperation(m_env->store()).backup(file(QStringLiteral("b.tld"))));
        QVERIFY(ArchiveOperation(m_env->store(), test::at(2000, 1, 1), test::at(2100, 1, 1))
                    .archive(file(QStringLiteral("old.tla")), false) ==
                ArchiveOperation::ArchiveResult::Written);
    }

    void cancelledPartWay_data() {
        QTest::addColumn<QString>("change");
        QTest::addColumn<int>("cancelAt");
        for (const auto& [name, change] : changes()) {
            QTest::newRow(qPrintable(name + QStringLiteral(", at once"))) << name << 1;
            QTest::newRow(qPrintable(name + QStringLiteral(", half-way"))) << name << kEntries / 2;
        }
    }
    void cancelledPartWay() {
        QFETCH(QString, change);
        QFETCH(int, cancelAt);
        const QString before = test::storeSnapshot();
        WorkProgress progress;
        progress.cancelAt(cancelAt);
        {
            const WorkProgress::Scope scope(progress);
            QVERIFY(!changes().at(change)());
        }
        QVERIFY(progress.isCancelled());
        QCOMPARE(test::storeSnapshot(), before);
        // No archive is left behind by a cancelled one either.
        QVERIFY(!QFile::exists(file(QStringLiteral("a.tla"))));
        // The store takes writes again once the work is over.
        QVERIFY(changes().at(change)());
        QVERIFY(test::storeSnapshot() != before);
    }

    // Uncancelled, the work counts what it walks: a restore its records,
    // a marking the entries it went through.
    void countsRows() {
        for (const auto& [name, change] : changes()) {
            WorkProgress progress;
            const WorkProgress::Scope scope(progress);
            QVERIFY2(change(), qPrintable(name));
            QVERIFY2(progress.rows() >= kEntries, qPrintable(name));
            QFile::remove(file(QStringLiteral("a.tla")));
        }
    }
};

TEMPOLATCH_TEST(CancelledStoreChangeTest);
#include "CancelledStoreChangeTest.moc"
