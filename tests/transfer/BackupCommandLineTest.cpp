#include <QDir>
#include <QFile>
#include <QProcess>

#include <unistd.h>

#include "common/EnvironmentTest.h"
#include "common/ServerStore.h"
#include "common/TestFiles.h"
#include "common/TestRegistry.h"
#include "transfer/ArchiveOperation.h"
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
            << 1 << QStringLiteral("cannot read @/none.tld: it does not exist");
        QTest::newRow("restore old version")
            << QStringList{QStringLiteral("restore"), QStringLiteral("@/old.tld")} << 2
            << QStringLiteral("This backup file is not supported");
        QTest::newRow("backup into a missing folder")
            << QStringList{QStringLiteral("backup"), QStringLiteral("@/no/such/x.tld")} << 1
            << QStringLiteral("cannot write @/no/such/x.tld: the folder @/no/such does not exist");
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
            << 1 << "cannot write @/no/a.tla: the folder @/no does not exist";
        QTest::newRow("load a backup") << QStringList{"load-archive", "@/full.tld"} << 3
                                       << "Only Archive file with data can be restored.";
        QTest::newRow("load a missing file") << QStringList{"load-archive", "@/none.tla"} << 1
                                             << "cannot read @/none.tla: it does not exist";
        QTest::newRow("load a file of another program")
            << QStringList{"load-archive", "@/text.tla"} << 1
            << "cannot read @/text.tla: it is not a file of this program";
        QTest::newRow("load a file too old") << QStringList{"load-archive", "@/old.tld"} << 2
                                             << "too old to be read. Nothing was added.";
        QTest::newRow("restore an archive")
            << QStringList{"restore", "@/entries.tla", "--delete-all"} << 3
            << "This file is not a backup: an archive is read with Load Archive";
        QTest::newRow("import a folder")
            << QStringList{"import", "clients", "@"} << 1 << "cannot read @: it is a folder";
        QTest::newRow("list import of a missing file")
            << QStringList{"list", "import", "phase", "@/none.txt"} << 1
            << "cannot read @/none.txt: it does not exist";
        QTest::newRow("import a backup") << QStringList{"import", "clients", "@/full.tld"} << 3
                                         << "Not a client structure file.";
        QTest::newRow("export into a missing folder")
            << QStringList{"export", "clients", "@/no/c.tlc"} << 1
            << "cannot write @/no/c.tlc: the folder @/no does not exist";
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
        QVERIFY(ArchiveOperation(m_env->store(), FileTime{1}, FileTime::lastShown())
                    .archive(path(QStringLiteral("entries.tla")), false) ==
                ArchiveOperation::ArchiveResult::Written);
        QVERIFY(test::putFile(path(QStringLiteral("text.tla")), "date,client\r\n"));
        const QString before = test::storeSnapshot();
        m_env->store().close();
        args.replaceInStrings(QStringLiteral("@"), m_env->folder());
        message.replace(QStringLiteral("@"), m_env->folder());

        QCOMPARE(run(m_env->folder(), args), exitCode);
        QVERIFY2(m_stderr.contains(message.toUtf8()), m_stderr.constData());
        QVERIFY(!QFile::exists(path(QStringLiteral("no"))));
        QVERIFY(!QFile::exists(path(QStringLiteral("a.tla"))));
        QVERIFY(m_env->store().openAll());
        QCOMPARE(test::storeSnapshot(), before);
    }

    // A folder on a read-only disk and a full disk are told apart, whatever
    // the command; the space message stays for the full disk only.
    // Skipped where mounting is refused.
    void writeFailuresNameTheirCause_data() {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("backup") << QStringList{"backup", "#/x.tld"};
        QTest::newRow("archive") << QStringList{"archive", "#/x.tla",    "--from", "2020-01-01",
                                                "--to",    "2030-12-31", "--keep"};
        QTest::newRow("export clients") << QStringList{"export", "clients", "#/x.tlc"};
        QTest::newRow("export csv") << QStringList{"export", "csv", "#/x.csv"};
    }
    void writeFailuresNameTheirCause() {
        QFETCH(QStringList, args);
        test::fillStore(2);
        m_env->store().close();
        const QString readOnly = path(QStringLiteral("read-only"));
        const QString full = path(QStringLiteral("full"));
        QVERIFY(QDir().mkpath(readOnly) && QDir().mkpath(full));
        const auto mount = [](const QString& options, const QString& at) {
            return QProcess::execute(QStringLiteral("mount"),
                                     {"-t", "tmpfs", "-o", options, "tmpfs", at}) == 0;
        };
        if (!mount(QStringLiteral("size=16k,ro"), readOnly) ||
            !mount(QStringLiteral("size=16k"), full)) {
            QProcess::execute(QStringLiteral("umount"), {readOnly});
            QSKIP("mounting a small tmpfs is not allowed here");
        }
        test::putFile(full + QStringLiteral("/filler"), QByteArray(64 * 1024, 'f'));

        const int onReadOnly =
            run(m_env->folder(), QStringList(args).replaceInStrings("#", readOnly));
        const QByteArray readOnlyError = m_stderr;
        const int onFull = run(m_env->folder(), QStringList(args).replaceInStrings("#", full));
        const QByteArray fullError = m_stderr;
        QProcess::execute(QStringLiteral("umount"), {readOnly});
        QProcess::execute(QStringLiteral("umount"), {full});
        QCOMPARE(onReadOnly, 1);
        QVERIFY2(
            readOnlyError.contains(": the disk is read-only") && !readOnlyError.contains("space"),
            readOnlyError.constData());
        QCOMPARE(onFull, 1);
        QVERIFY2(fullError.contains("the disk is full") || fullError.contains("enough"),
                 fullError.constData());
    }

    // A file name in an older 8-bit encoding is written, and read back,
    // under exactly that name, as a shell gives it, by every command that
    // names a FILE. In the script $N is such a name without its extension.
    void eightBitFileNames_data() {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QStringList>("files");
        QTest::newRow("backup, restore elsewhere")
            << QStringLiteral("$T backup \"$N.tld\" && $T2 restore \"$N.tld\"")
            << QStringList{".tld"};
        QTest::newRow("archive, load-archive")
            << QStringLiteral(
                   "$T archive \"$N.tla\" --from 2000-01-01 --to 2100-12-31 && "
                   "$T load-archive \"$N.tla\"")
            << QStringList{".tla"};
        QTest::newRow("export and import clients")
            << QStringLiteral("$T export clients \"$N.tlc\" && $T2 import clients \"$N.tlc\"")
            << QStringList{".tlc"};
        QTest::newRow("list export and import")
            << QStringLiteral("$T list export phase \"$N.txt\" && $T2 list import phase \"$N.txt\"")
            << QStringList{".txt"};
        QTest::newRow("exports and reports")
            << QStringLiteral(
                   "$T export csv \"$N.csv\" && $T export xml \"$N.xml\" && "
                   "$T export expenses general \"$N-x.csv\" && "
                   "$T report tabular \"$N.pdf\" && $T report general \"$N.html\"")
            << QStringList{".csv", ".xml", "-x.csv", ".pdf", ".html"};
        QTest::newRow("import toggl")
            << QStringLiteral(
                   "printf 'Client,Project,Task,Description,Billable,Start date,Start time,"
                   "Duration\\nAcme,Web,Dev,x,Yes,2026-03-02,09:00:00,01:00:00\\n' > \"$N.csv\" "
                   "&& $T2 import toggl \"$N.csv\"")
            << QStringList{".csv"};
        QTest::newRow("import harvest")
            << QStringLiteral(
                   "printf "
                   "'Date,Client,Project,Task,Notes,Hours\\n2026-03-03,Acme,Web,Dev,x,1.5\\n'"
                   " > \"$N.csv\" && $T2 import harvest \"$N.csv\"")
            << QStringList{".csv"};
        QTest::newRow("import timew")
            << QStringLiteral(
                   "printf '[{\"id\":1,\"start\":\"20260302T090000Z\",\"end\":"
                   "\"20260302T100000Z\",\"tags\":[\"Acme\"]}]' > \"$N.json\" && "
                   "$T2 import timew \"$N.json\"")
            << QStringList{".json"};
    }
    void eightBitFileNames() {
        QFETCH(QString, script);
        QFETCH(QStringList, files);
        if (test::wholeRunOnServer())
            QSKIP("the second profile would share the one server store");
        test::fillStore(1);
        m_env->store().close();
        // The second profile starts as a copy of the first, so that what is
        // read back there has something to land on.
        QVERIFY(QFile::copy(path(QStringLiteral("store.db")), path(QStringLiteral("copy.db"))));
        QVERIFY(QDir().mkpath(path(QStringLiteral("copy"))));
        QVERIFY(
            QFile::rename(path(QStringLiteral("copy.db")), path(QStringLiteral("copy/store.db"))));
        QProcess shell;
        shell.start(QStringLiteral("/bin/sh"),
                    {"-c",
                     "N=\"$1/$(printf '\\376')\"; T=\"$0 --profile $1\"; "
                     "T2=\"$0 --profile $1/copy\"; " +
                         script,
                     QStringLiteral(TEMPOLATCH_EXECUTABLE), m_env->folder()});
        QVERIFY(shell.waitForFinished(120000));
        const QByteArray errors = shell.readAllStandardError();
        for (const QString& file : files) {
            const QByteArray written = QFile::encodeName(m_env->folder()) + "/\xfe" + file.toUtf8();
            QVERIFY2(::access(written.constData(), F_OK) == 0, written.constData());
            ::unlink(written.constData());  // which the temporary folder cannot
        }
        QVERIFY2(shell.exitCode() == 0, errors.constData());
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
        if (test::wholeRunOnServer())
            QSKIP("the second profile would share the one server store");
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
