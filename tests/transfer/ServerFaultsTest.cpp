#include <QTest>

#include "clients/FieldReplacement.h"
#include "common/BackendTest.h"
#include "common/TestDates.h"
#include "common/TestRegistry.h"
#include "platform/ObjectStore.h"
#include "platform/Profile.h"
#include "platform/postgres/PgConnection.h"
#include "platform/postgres/PostgresObjectStore.h"
#include "records/EntryCriteria.h"
#include "records/EntryFilter.h"
#include "records/RecordMarking.h"
#include "store/StoreDump.h"
#include "store/StoreFailure.h"
#include "store/TimeEntries.h"
#include "transfer/ArchiveOperation.h"

using namespace tempolatch;
using namespace tempolatch::test;
using platform::ObjectStore;

namespace {

enum class Bulk { Mark, Replace, Archive };

}  // namespace

// What a server store does that a file does not: other writers' transactions
// that make ours fail, roles without the right to write.
class ServerFaultsTest : public ServerTest {
    Q_OBJECT

    // The next `count` record updates or deletes each fail the way a
    // transaction that ran into another's does (SQLSTATE 40001), counted by
    // a sequence, which no rollback takes back.
    bool failNextWrites(int count) {
        const QString schema = server().schema();
        return ServerStore::run(
            QStringLiteral(
                "CREATE SEQUENCE %1.failed; "
                "CREATE FUNCTION %1.fail() RETURNS trigger LANGUAGE plpgsql AS $$BEGIN "
                "IF (SELECT CASE WHEN is_called THEN last_value ELSE 0 END FROM %1.failed) < %2 "
                "THEN PERFORM nextval('%1.failed'); "
                "RAISE EXCEPTION 'could not serialize' USING ERRCODE = '40001'; END IF; "
                "RETURN COALESCE(NEW, OLD); END$$; "
                "CREATE TRIGGER fail BEFORE UPDATE OR DELETE ON %1.records "
                "FOR EACH ROW EXECUTE FUNCTION %1.fail()")
                .arg(schema)
                .arg(count));
    }
    // How many writes failed so.
    qint64 failedWrites() {
        QString why;
        auto connection = platform::PgConnection::open(server().address(), &why);
        const platform::PgResult q = connection->run(
            "SELECT CASE WHEN is_called THEN last_value ELSE 0 END FROM failed");
        return q.rows() == 1 ? q.int64(0, 0) : -1;
    }
    QString dump() {
        QString text;
        QTextStream out(&text);
        dumpStore(*m_env->store().objectStore(), out);
        return text;
    }
    void addEntries(int count) {
        TimeEntries entries(m_env->store());
        for (int i = 0; i < count; ++i) {
            TimeEntry entry;
            entry.client = QStringLiteral("Acme");
            entry.task = QStringLiteral("Design");
            entry.status = EntryStatus::Billable;
            entry.duration = 100 + i;
            entry.date = at(2026, 12, 1 + i % 5, 9);
            QCOMPARE(entries.add(entry), WriteResult::Written);
        }
    }
    // One of the bulk commands over the entries added; the store's code
    // of its failure, 0 when it went through.
    int runBulk(Bulk bulk) {
        const platform::FileTime now = at(2026, 12, 7, 10);
        switch (bulk) {
            case Bulk::Mark: {
                platform::SystemTime start{2026, 12, 0, 1, 0, 0, 0, 0};
                platform::SystemTime end{2026, 12, 0, 31, 0, 0, 0, 0};
                const EntryFilter criteria = presetCriteria(CriteriaMode::MarkBilled, start, end);
                const auto result = entrymarking::markEntries(m_env->store(), criteria,
                                                              entrymarking::Mark::Billed, now, now);
                return result.result == WriteResult::Written ? 0 : result.error;
            }
            case Bulk::Replace: {
                const ReplaceOutcome outcome =
                    replaceFieldText(m_env->store(), ReplaceField::Task, QStringLiteral("Design"),
                                     QStringLiteral("Review"), now, {});
                return outcome.ok ? 0 : outcome.error;
            }
            case Bulk::Archive: {
                ArchiveOperation archive(m_env->store(), at(2026, 12, 1), at(2026, 12, 31));
                const auto result = archive.archive(m_env->filePath(QStringLiteral("a.tla")), true);
                return result == ArchiveOperation::ArchiveResult::Written
                           ? 0
                           : m_env->store().lastError();
            }
        }
        return -1;
    }

private Q_SLOTS:
    void bulkCommandsRetryConflicts_data() {
        QTest::addColumn<int>("bulk");
        QTest::addColumn<int>("failures");
        QTest::addColumn<int>("error");
        QTest::addColumn<int>("conflicts");
        for (const auto& [name, bulk] :
             {std::pair{"mark", Bulk::Mark}, std::pair{"replace", Bulk::Replace},
              std::pair{"archive", Bulk::Archive}}) {
            // Two conflicts: the third try goes through.
            QTest::addRow("%s, two conflicts", name) << int(bulk) << 2 << 0 << 2;
            // Conflicts every time: given up after a few tries, nothing changed.
            QTest::addRow("%s, conflicts on and on", name)
                << int(bulk) << 1000 << platform::PostgresObjectStore::ErrorConflict
                << ConflictTries;
        }
    }
    void bulkCommandsRetryConflicts() {
        QFETCH(int, bulk);
        QFETCH(int, failures);
        QFETCH(int, error);
        QFETCH(int, conflicts);
        addEntries(12);
        const QString before = dump();
        QVERIFY(failNextWrites(failures));
        QCOMPARE(runBulk(Bulk(bulk)), error);
        QCOMPARE(failedWrites(), qint64(conflicts));
        if (error != 0) {
            QCOMPARE(dump(), before);
            QVERIFY(storeErrorText(error).contains(QStringLiteral("Please try again")));
        } else {
            QVERIFY(dump() != before);
        }
    }

    // A role that may only read opens the store read-only: everything
    // reads, every write is refused with "access denied" and changes nothing.
    void readOnlyRoleOpensTheStoreReadOnly() {
        addEntries(3);
        const QString before = dump();
        m_env->store().close();
        ServerRole reader(server(), QStringLiteral("SELECT"));
        QVERIFY(reader.isReady());
        platform::Profile::setStore(reader.address());
        QVERIFY2(m_env->store().openAll(), qPrintable(m_env->store().openError()));
        QVERIFY(m_env->store().objectStore()->isReadOnly());
        QCOMPARE(dump(), before);
        QCOMPARE(m_env->store().entryCount(), 3);
        for (const Bulk bulk : {Bulk::Mark, Bulk::Replace, Bulk::Archive})
            QCOMPARE(runBulk(bulk), ObjectStore::ErrorAccessDenied);
        TimeEntry entry;
        entry.client = QStringLiteral("Acme");
        QCOMPARE(TimeEntries(m_env->store()).add(entry), WriteResult::Refused);
        QCOMPARE(dump(), before);
    }
};

TEMPOLATCH_TEST(ServerFaultsTest);
#include "ServerFaultsTest.moc"
