#include <QFile>

#include "common/EnvironmentTest.h"
#include "common/ProgramRun.h"
#include "common/TestRegistry.h"
#include "platform/Profile.h"
#include "store/ClientStructure.h"
#include "store/Lists.h"
#include "store/RecordStore.h"
#include "store/TimeEntries.h"

using namespace tempolatch;

// replace-text and the list commands of the program itself, as a script
// would run them.
class ListCommandLineTest : public test::EnvironmentTest {
    Q_OBJECT

    QByteArray m_stdout;
    QByteArray m_stderr;

    int run(const QStringList& args) {
        // The store is the child's while it runs.
        m_env->store().close();
        const test::ProgramRun run = test::runProgram(m_env->folder(), args);
        m_stdout = run.out;
        m_stderr = run.errors;
        return m_env->store().openAll() ? run.exitCode : -1;
    }

    QStringList phases() { return Lists(m_env->store().objectStore()).texts(ListKind::Phase); }

private Q_SLOTS:
    void init() {
        EnvironmentTest::init();
        QVERIFY(m_env->store().openAll());
    }

    void replaceText() {
        Client client{0, QStringLiteral("Acme"), 0};
        QVERIFY(succeeded(ClientStructure(m_env->store()).addClient(client)));
        TimeEntry entry;
        entry.client = QStringLiteral("Acme");
        QCOMPARE(TimeEntries(m_env->store()).add(entry), WriteResult::Written);

        QCOMPARE(run({"replace-text", "client", "Acme", "Apex"}), 0);
        QCOMPARE(m_stdout, QByteArray("1 time entries changed\n"));
        QCOMPARE(TimeEntries(m_env->store()).find(entry.recordId)->client, QStringLiteral("Apex"));
        QVERIFY(ClientStructure(m_env->store()).findClientNamed(QStringLiteral("Apex")));
        QCOMPARE(run({"replace-text", "colour", "Acme", "Apex"}), 2);
        QVERIFY(m_stderr.contains("unknown field"));

        // Texts that begin with "-" read as options, unless they follow "--".
        QCOMPARE(run({"replace-text", "client", "Apex", "-Apex-"}), 2);
        QVERIFY2(m_stderr.contains("goes after --"), m_stderr.constData());
        QCOMPARE(run({"replace-text", "client", "--", "Apex", "-Apex-"}), 0);
        QCOMPARE(run({"replace-text", "--", "client", "-Apex-", "-A"}), 0);
        QCOMPARE(TimeEntries(m_env->store()).find(entry.recordId)->client, QStringLiteral("-A"));
    }

    void importThenExport_data() {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("8-bit") << QStringList() << QByteArray("A\r\nB\r\nC");
        QTest::newRow("utf-16") << QStringList{"--unicode"}
                                << QByteArray(
                                       "\xff\xfe"
                                       "A\0\r\0\n\0B\0\r\0\n\0C\0",
                                       16);
    }
    void importThenExport() {
        QFETCH(QStringList, options);
        QFETCH(QByteArray, expected);
        Lists(m_env->store().objectStore()).add(ListKind::Phase, QStringLiteral("A"));
        const QString in = m_env->filePath(QStringLiteral("in.txt"));
        QFile file(in);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("B\n\nA\r\nC");
        file.close();
        QCOMPARE(run({"list", "import", "phase", in}), 0);
        QCOMPARE(phases(), (QStringList{"A", "B", "C"}));

        const QString out = m_env->filePath(QStringLiteral("out.txt"));
        QCOMPARE(run(QStringList{"list", "export", "phase", out} + options), 0);
        QFile written(out);
        QVERIFY(written.open(QIODevice::ReadOnly));
        QCOMPARE(written.readAll(), expected);
        QCOMPARE(run(QStringList{"list", "export", "phase", "-"} + options), 0);
        QCOMPARE(m_stdout, expected);
    }

    void importOfMissingFileFails() {
        QCOMPARE(run({"list", "import", "phase", m_env->filePath(QStringLiteral("none.txt"))}), 1);
        QVERIFY2(m_stderr.contains("none.txt: it does not exist"), m_stderr.constData());
        QVERIFY(phases().isEmpty());
        QCOMPARE(run({"list", "import", "colours", "x.txt"}), 2);
    }
};

TEMPOLATCH_TEST(ListCommandLineTest);
#include "ListCommandLineTest.moc"
