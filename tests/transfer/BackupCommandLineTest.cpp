#include <QFile>
#include <QProcess>

#include "common/EnvironmentTest.h"
#include "common/TestRegistry.h"
#include "platform/Profile.h"
#include "transfer/TransferTestSupport.h"

using namespace tempolatch;
using namespace tempolatch::platform;

// The backup and restore commands of the program itself, run as a scheduler
// would run them.
class BackupCommandLineTest : public test::EnvironmentTest {
    Q_OBJECT

    QByteArray m_stderr;

    QString path(const QString& name) const { return m_env->filePath(name); }

    int run(const QString& profile, const QStringList& args) {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("TEMPOLATCH_PROFILE"));
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(TEMPOLATCH_EXECUTABLE),
                      QStringList{QStringLiteral("--profile"), profile} + args);
        if (!process.waitForFinished(120000))
            return -1;
        m_stderr = process.readAllStandardError();
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }

    // The store of `profile` as this process sees it now.
    void useProfile(const QString& profile) {
        m_env->store().close();
        Profile::setFolder(profile);
        QVERIFY(m_env->store().openAll());
    }

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
        const QString before = test::storeSnapshot();
        m_env->store().close();
        args.replaceInStrings(QStringLiteral("@"), m_env->folder());

        QCOMPARE(run(m_env->folder(), args), exitCode);
        QVERIFY2(m_stderr.contains(message.toUtf8()), m_stderr.constData());
        QVERIFY(!QFile::exists(path(QStringLiteral("no"))));
        QVERIFY(m_env->store().openAll());
        QCOMPARE(test::storeSnapshot(), before);
    }
};

TEMPOLATCH_TEST(BackupCommandLineTest);
#include "BackupCommandLineTest.moc"
