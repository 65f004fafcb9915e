#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QSignalSpy>

#include "app/SingleInstance.h"
#include "common/EnvironmentTest.h"
#include "common/ProgramRun.h"
#include "common/TestRegistry.h"
#include "platform/NativePath.h"
#include "platform/Profile.h"
#include "store/RecordStore.h"

using namespace tempolatch;

namespace {

// The built program on the test's profile, without a display.
struct Program : test::Program {
    explicit Program(const QStringList& args) : test::Program(platform::Profile::folder(), args) {}
    QString errors() { return QString::fromLocal8Bit(process.readAllStandardError()); }
};

bool listening(const QString& name) {
    QLocalSocket probe;
    probe.connectToServer(name);
    const bool ok = probe.waitForConnected(200);
    probe.abort();
    return ok;
}

void writeGarbageStore(const QString& path) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(QByteArray(8192, 'x'));
}

// Names, sizes and times of the profile's files.
QStringList snapshot(const QString& folder) {
    QStringList out;
    for (const QFileInfo& f : QDir(folder).entryInfoList(QDir::Files, QDir::Name)) {
        out.append(QStringLiteral("%1 %2 %3")
                       .arg(f.fileName())
                       .arg(f.size())
                       .arg(f.lastModified().toMSecsSinceEpoch()));
    }
    return out;
}

}  // namespace

class StartupTest : public test::EnvironmentTest {
    Q_OBJECT

    QString storePath() const { return m_env->filePath(QStringLiteral("store.db")); }

private Q_SLOTS:

    void secondStartLeavesTheFirstRunning() {
        Program first({});
        const QString name = SingleInstance::serverName(platform::Profile::folder());
        QTRY_VERIFY_WITH_TIMEOUT(listening(name), 20000);
        QVERIFY(first.process.state() == QProcess::Running);
        // It listens before it opens the store: wait until its files settle.
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(storePath()), 20000);
        QStringList before;
        QTRY_VERIFY_WITH_TIMEOUT(
            [&] {
                const QStringList now = snapshot(m_env->folder());
                QTest::qWait(300);
                before = snapshot(m_env->folder());
                return now == before;
            }(),
            20000);

        Program second({});
        QVERIFY(second.finish());
        QCOMPARE(second.process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.process.exitCode(), 0);

        QTest::qWait(300);
        QVERIFY(first.process.state() == QProcess::Running);
        QCOMPARE(snapshot(m_env->folder()), before);
        first.process.kill();
        first.process.waitForFinished();
        QLocalServer::removeServer(name);
    }

    void secondStartHandsOverBeforeTouchingTheStore() {
        SingleInstance running;
        QCOMPARE(running.start({}), SingleInstance::Start::First);
        QVERIFY(running.isListening());
        QSignalSpy handed(&running, &SingleInstance::activationRequested);
        // Were the second start to open the store, it would fail on this.
        writeGarbageStore(storePath());

        // The window takes no arguments of its own (an unknown option is a
        // usage error): the second start hands over an empty command line.
        Program second({});
        QVERIFY(second.finish());
        QCOMPARE(second.process.exitCode(), 0);
        QVERIFY2(!second.errors().contains(QStringLiteral("unable to open")), "store touched");
        QTRY_COMPARE(handed.size(), 1);
        QCOMPARE(handed.at(0).at(0).toStringList(), QStringList());

        // Whatever it hands over arrives as it was given, a file name that
        // is no UTF-8 too.
        const QStringList given{QStringLiteral("--from-test"), QStringLiteral("-x ü"),
                                platform::pathFromNative("/tmp/\xfe\xe9t\xe9.tld")};
        SingleInstance another;
        QCOMPARE(another.start(given), SingleInstance::Start::HandedOver);
        QTRY_COMPARE(handed.size(), 2);
        QCOMPARE(handed.at(1).at(0).toStringList(), given);
    }

    void commandsNeverHandOver() {
        SingleInstance running;
        QCOMPARE(running.start({}), SingleInstance::Start::First);
        QSignalSpy handed(&running, &SingleInstance::activationRequested);
        QVERIFY(m_env->store().openAll());
        m_env->store().close();
        Program dump({QStringLiteral("dump")});
        QVERIFY(dump.finish());
        QCOMPARE(dump.process.exitCode(), 0);
        QVERIFY(dump.process.readAllStandardOutput().contains("Tempolatch Data 1"));
        QTest::qWait(100);
        QCOMPARE(handed.size(), 0);
    }

    void unusableStoreEndsWithMessage90AndCode1() {
        writeGarbageStore(storePath());
        Program program({});
        QVERIFY(program.finish());
        QCOMPARE(program.process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.process.exitCode(), 1);
        QVERIFY(program.errors().contains(
            QStringLiteral("Tempolatch is unable to open the database!")));
    }

    void anotherProfileIsAnotherProgram() {
        // A program running on another profile does not take this start.
        test::TestEnvironment other;
        SingleInstance running;
        QCOMPARE(running.start({}), SingleInstance::Start::First);
        QSignalSpy handed(&running, &SingleInstance::activationRequested);
        platform::Profile::setFolder(m_env->folder());
        writeGarbageStore(storePath());
        Program program({});
        QVERIFY(program.finish());
        QCOMPARE(program.process.exitCode(), 1);
        QCOMPARE(handed.size(), 0);
    }
};

TEMPOLATCH_TEST(StartupTest);
#include "StartupTest.moc"
