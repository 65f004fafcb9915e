#include <QDir>
#include <QProcess>

#include "app/GuiMain.h"
#include "common/EnvironmentTest.h"
#include "common/ServerStore.h"
#include "common/TestRegistry.h"
#include "platform/Profile.h"
#include "store/RecordStore.h"
#include "transfer/CommandLineSupport.h"

using namespace tempolatch;

// The options around a command, as a scheduler gives them: the profile in
// either form and on either side, and what is refused before anything runs.
class CommandLineOptionsTest : public test::EnvironmentTest {
    Q_OBJECT

    QByteArray m_stderr;

    int run(const QStringList& args) {
        const test::ProgramRun run = test::runProgram(QString(), args);
        m_stderr = run.errors;
        return run.exitCode;
    }

private Q_SLOTS:
    void init() {
        EnvironmentTest::init();
        QVERIFY(m_env->store().openAll());
        m_env->store().close();
    }

    void optionsAroundTheCommand_data() {
        QTest::addColumn<QStringList>("args");  // "@" the test's profile, "~" a missing one
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("said");  // on standard error
        QTest::newRow("--profile DIR first")
            << QStringList{"--profile", "@", "backup", "@/b.tld"} << 0 << QString();
        QTest::newRow("--profile=DIR first")
            << QStringList{"--profile=@", "backup", "@/b.tld"} << 0 << QString();
        QTest::newRow("--profile=DIR after the command")
            << QStringList{"backup", "@/b.tld", "--profile=@"} << 0 << QString();
        QTest::newRow("--profile DIR after the command")
            << QStringList{"backup", "@/b.tld", "--profile", "@"} << 0 << QString();
        QTest::newRow("unknown option before a command")
            << QStringList{"--profle", "@", "backup", "@/b.tld"} << 2
            << QStringLiteral("unknown option \"--profle\"");
        QTest::newRow("unknown option, no command (no window either)")
            << QStringList{"--profile", "@", "--verbose"} << 2
            << QStringLiteral("unknown option \"--verbose\"");
        QTest::newRow("--profile without a folder")
            << QStringList{"--profile="} << 2 << QStringLiteral("--profile needs a folder");
        QTest::newRow("a mistyped profile") << QStringList{"--profile", "~", "backup", "@/b.tld"}
                                            << 1 << QStringLiteral("no profile at");
        QTest::newRow("a mistyped profile, after the command")
            << QStringList{"dump", "--profile=~"} << 1 << QStringLiteral("no profile at");
        QTest::newRow("restore may make a new profile")
            << QStringList{"--profile", "~", "restore", "@/none.tld"} << 1
            << QStringLiteral("none.tld: it does not exist");
    }
    void optionsAroundTheCommand() {
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        QFETCH(QString, said);
        const QString missing = m_env->filePath(QStringLiteral("mistyped"));
        args.replaceInStrings(QStringLiteral("@"), m_env->folder());
        args.replaceInStrings(QStringLiteral("~"), missing);
        // A profile's data on a server is there whatever folder is named.
        if (test::wholeRunOnServer() && args.join(QLatin1Char(' ')).contains(missing))
            QSKIP("the store is on the server, not in the profile folder");

        QCOMPARE(run(args), exitCode);
        if (said.isEmpty())
            QVERIFY2(m_stderr.isEmpty(), m_stderr.constData());
        else
            QVERIFY2(m_stderr.contains(said.toUtf8()), m_stderr.constData());
        QCOMPARE(QFile::exists(m_env->filePath(QStringLiteral("b.tld"))), exitCode == 0);
        // Only the restore, which may, makes the missing folder.
        if (!args.contains(QStringLiteral("restore")))
            QVERIFY(!QFile::exists(missing));
    }

    // The per-user profile of a new user is never mistyped: a first command
    // (bringing in another tracker's file) starts it there.
    void firstCommandStartsThePerUserProfile() {
        if (test::wholeRunOnServer())
            QSKIP("the store is on the server, not in the profile folder");
        const QString home = m_env->filePath(QStringLiteral("home"));
        const QString file = m_env->filePath(QStringLiteral("week.csv"));
        QFile csv(file);
        QVERIFY(csv.open(QIODevice::WriteOnly));
        csv.write(
            "Client,Project,Task,Description,Billable,Start date,Start time,Duration\n"
            "Acme,Web,Dev,x,Yes,2026-03-02,09:00:00,01:00:00\n");
        csv.close();
        test::ProgramOptions options;
        options.dataHome = home;
        const test::ProgramRun first = test::runProgram(
            QString(), {QStringLiteral("import"), QStringLiteral("toggl"), file}, options);
        QVERIFY2(first.exitCode == 0, first.errors.constData());
        QVERIFY(QFile::exists(home + QStringLiteral("/Tempolatch/store.db")));
        // The same folder named by --profile is a chosen one, and stays refused when missing.
        QCOMPARE(run(QStringList{"--profile", home + QStringLiteral("/Other"), "dump"}), 1);
    }

    // A profile folder whose name is no UTF-8 is refused in either form,
    // rather than the data going to a folder of another name.
    void eightBitProfileFolderIsRefused_data() {
        QTest::addColumn<QString>("args");
        QTest::newRow("before the command") << QStringLiteral("--profile \"$N\" restore x.tld");
        QTest::newRow("after the command") << QStringLiteral("restore x.tld --profile=\"$N\"");
    }
    void eightBitProfileFolderIsRefused() {
        QFETCH(QString, args);
        QProcess shell;
        shell.start(QStringLiteral("/bin/sh"),
                    {"-c", "N=\"$1/$(printf 'p\\376')\"; exec \"$0\" " + args,
                     QStringLiteral(TEMPOLATCH_EXECUTABLE), m_env->folder()});
        QVERIFY(shell.waitForFinished(60000));
        const QByteArray errors = shell.readAllStandardError();
        QCOMPARE(shell.exitCode(), 2);
        QVERIFY2(errors.contains("--profile needs a folder whose name is UTF-8"),
                 errors.constData());
        QVERIFY(QDir(m_env->folder()).entryList({QStringLiteral("p*")}, QDir::Dirs).isEmpty());
    }

    // The window asks before it makes a profile in a folder that is not
    // there; an existing folder is simply used.
    void windowAsksBeforeANewProfile_data() {
        QTest::addColumn<bool>("exists");
        QTest::addColumn<platform::Answer>("answer");
        QTest::addColumn<bool>("started");
        QTest::newRow("existing folder") << true << platform::Answer::No << true;
        QTest::newRow("missing, the user agrees") << false << platform::Answer::Yes << true;
        QTest::newRow("missing, the user declines") << false << platform::Answer::No << false;
    }
    void windowAsksBeforeANewProfile() {
        QFETCH(bool, exists);
        QFETCH(platform::Answer, answer);
        QFETCH(bool, started);
        const QString folder =
            m_env->filePath(exists ? QStringLiteral(".") : QStringLiteral("new"));
        platform::Profile::setFolder(folder);
        m_env->ui().queueAnswer(answer);
        QCOMPARE(confirmNewProfile(m_env->ui()), started);
        QCOMPARE(m_env->ui().shown().size(), exists ? 0 : 1);
        if (!exists)
            QVERIFY(m_env->ui().shown().first().text.contains(QDir::toNativeSeparators(folder)));
        platform::Profile::setFolder(m_env->folder());
    }
};

TEMPOLATCH_TEST(CommandLineOptionsTest);
#include "CommandLineOptionsTest.moc"
