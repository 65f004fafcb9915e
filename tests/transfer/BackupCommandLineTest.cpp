#include <QFile>

#include "common/EnvironmentTest.h"
#include "common/TestRegistry.h"
#include "transfer/BackupOperation.h"
#include "transfer/CommandLineSupport.h"
#include "transfer/TransferTestSupport.h"

using namespace tempolatch;
using namespace tempolatch::platform;

// The commands of the program itself that write and read backups, archives
// and client structure files, run as a scheduler would run them.
class BackupCommandLineTest : public test::EnvironmentTest {
    Q_OBJECT

    QByteArray m_stderr;

    QString path(const QString& name) const { return m_env->filePath(name); }

    int run(const QString& profile, const QStringList& args) {
        const test::ProgramRun run = test::runProgram(profile, args);
        m_stderr = run.errors;
        return run.exitCode;
    }
    void useProfile(const QString& profile) { QVERIFY(test::openProfile(profile)); }

private Q_SLOTS:
    void init() {
        EnvironmentTest::init();
        QVERIFY(m_env->store().openAll());
    }

    void backupThenRestoreElsewhere() {
        const QString source = path(QStringLiteral("source"));
        const QString target = path(QStringLiteral("target"));
        useProfile(source);
        test::fillStore(3);
        const QList<TimeEntry> entries = test::allEntries();
        const QStringList structure = test::structureLines();
        m_env->store().close();

        const QString file = path(QStringLiteral("nightly.tld"));
        QCOMPARE(run(source, {QStringLiteral("backup"), file}), 0);
        QVERIFY(m_stderr.isEmpty());
        QCOMPARE(run(target, {QStringLiteral("restore"), file}), 0);
        QCOMPARE(run(target, {QStringLiteral("restore"), file, QStringLiteral("--delete-all")}), 0);
        useProfile(target);
        QCOMPARE(test::withoutIds(test::allEntries()), test::withoutIds(entries));
        QCOMPARE(test::structureLines(), structure);
    }

    void failuresGiveTheirExitCodes_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message");
        QTest::newRow("restore missing file")
            << QStringList{QStringLiteral("restore"), QStringLiteral("@/none.tld"),
                           QStringLiteral("--delete-all")}
            << 1 << QStringLiteral("Restore has failed.");
        QTest::newRow("restore old version")
            << QStringList{QStringLiteral("restore"), QStringLiteral("@/old.tld")} << 2
            << QStringLiteral("This backup file is not supported");
        QTest::newRow("backup into a missing folder")
            << QStringList{QStringLiteral("backup"), QStringLiteral("@/no/such/x.tld")} << 1
            << QStringLiteral("Backup has failed.");
        QTest::newRow("unknown option")
            << QStringList{QStringLiteral("restore"), QStringLiteral("@/old.tld"),
                           QStringLiteral("--delete")}
            << 2 << QStringLiteral("usage:");
        QTest::newRow("backup without file")
            << QStringList{QStringLiteral("backup")} << 2 << QStringLiteral("usage:");
        QTest::newRow("archive without --to")
            << QStringList{"archive", "@/a.tla", "--from", "2026-01-01"} << 2 << "--from and --to";
        QTest::newRow("archive, bad date")
            << QStringList{"archive", "@/a.tla", "--from", "2026-13-01", "--to", "2026-12-01"} << 2
            << "YYYY-MM-DD";
        QTest::newRow("archive into a missing folder")
            << QStringList{"archive", "@/no/a.tla", "--from", "2026-01-01", "--to", "2026-12-31"}
            << 1 << "Archive operation has failed.";
        QTest::newRow("load a backup") << QStringList{"load-archive", "@/full.tld"} << 3
                                       << "Only Archive file with data can be restored.";
        QTest::newRow("load a missing file")
            << QStringList{"load-archive", "@/none.tla"} << 1 << "Archive file cannot be loaded.";
        QTest::newRow("import a backup") << QStringList{"import", "clients", "@/full.tld"} << 3
                                         << "Not a client structure file.";
        QTest::newRow("export into a missing folder")
            << QStringList{"export", "clients", "@/no/c.tlc"} << 1 << "Backup has failed.";
    }
    void failuresGiveTheirExitCodes() {
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        QFETCH(QString, message);
        {
            auto out = CompoundFile::create(path(QStringLiteral("old.tld")));
            CompoundStream version = out->root().createStream(QStringLiteral("DataVersion"));
            version.writeUInt32(240);
            version.writeUInt32(1);
            version.close();
            QVERIFY(out->commit());
        }
        test::fillStore(1);
        QVERIFY(BackupOperation(m_env->store()).backup(path(QStringLiteral("full.tld"))));
        const QString before = test::storeSnapshot();
        m_env->store().close();
        args.replaceInStrings(QStringLiteral("@"), m_env->folder());

        QCOMPARE(run(m_env->folder(), args), exitCode);
        QVERIFY2(m_stderr.contains(message.toUtf8()), m_stderr.constData());
        QVERIFY(!QFile::exists(path(QStringLiteral("no"))));
        QVERIFY(!QFile::exists(path(QStringLiteral("a.tla"))));
        QVERIFY(m_env->store().openAll());
        QCOMPARE(test::storeSnapshot(), before);
    }

    void archiveKeepAndLoadBack() {
        const QString home = path(QStringLiteral("home"));
        useProfile(home);
        test::fillStore(2);  // entries from 2026-11-02 to 2026-11-06
        const QList<TimeEntry> entries = test::allEntries();
        m_env->store().close();

        const QString kept = path(QStringLiteral("kept.tla"));
        QCOMPARE(
            run(home, {"archive", kept, "--from", "2026-11-03", "--to", "2026-11-04", "--keep"}),
            0);
        QCOMPARE(test::compoundLines(kept).filter(QStringLiteral("Records/")).size(), 2);
        const QString moved = path(QStringLiteral("moved.tla"));
        QCOMPARE(run(home, {"archive", moved, "--from", "2026-11-03", "--to", "2026-11-04"}), 0);
        QVERIFY2(m_stderr.isEmpty(), m_stderr.constData());
        useProfile(home);
        QCOMPARE(test::allEntries().size(), 3);
        m_env->store().close();

        QCOMPARE(run(home, {"load-archive", moved}), 0);
        QVERIFY(m_stderr.isEmpty());
        useProfile(home);
        QCOMPARE(test::withoutIds(test::allEntries()), test::withoutIds(entries));
        QCOMPARE(test::allExpenses().size(), 3);
    }

    void clientsToAnotherProfile() {
        const QString source = path(QStringLiteral("source"));
        const QString target = path(QStringLiteral("target"));
        useProfile(source);
        test::fillStore(3);
        m_env->store().close();
        const QString file = path(QStringLiteral("clients.tlc"));
        QCOMPARE(run(source, {"export", "clients", file}), 0);
        // Only restore makes a new profile; an import needs one there.
        QCOMPARE(run(target, {"import", "clients", file}), 1);
        QVERIFY(m_stderr.contains("no profile at"));
        useProfile(target);
        m_env->store().close();
        QCOMPARE(run(target, {"import", "clients", file}), 0);
        useProfile(target);
        QCOMPARE(test::structureLines().filter(QStringLiteral("client ")).size(), 3);
        QVERIFY(test::structureLines().filter(QStringLiteral("rate ")).isEmpty());
    }
};

TEMPOLATCH_TEST(BackupCommandLineTest);
#include "BackupCommandLineTest.moc"
