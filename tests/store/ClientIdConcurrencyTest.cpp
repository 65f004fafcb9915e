// Programs that add clients to the same store at the same time must never
// hand out the same client id. The test starts copies of this executable
// that run ClientIdTaker against its store while it adds clients itself.
#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QSet>
#include <QThread>

#include "common/TestEnvironment.h"
#include "common/TestRegistry.h"
#include "platform/Locale.h"
#include "platform/ObjectStore.h"
#include "platform/Profile.h"
#include "store/Client.h"
#include "store/ClientIdCounter.h"
#include "store/RecordStore.h"

using namespace tempolatch;

namespace {

constexpr int kPerTaker = 150;
const char* const kProfileVar = "TEMPOLATCH_TAKER_PROFILE";
const char* const kNameVar = "TEMPOLATCH_TAKER_NAME";

bool waitForFile(const QString& path, int milliseconds) {
    for (int waited = 0; waited < milliseconds; waited += 5) {
        if (QFile::exists(path))
            return true;
        QThread::msleep(5);
    }
    return false;
}

void touch(const QString& path) {
    QFile file(path);
    file.open(QIODevice::WriteOnly);
}

bool addClients(RecordStore& store, const QString& prefix) {
    ClientsDatabase& clients = store.clientStructure().clients;
    for (int i = 0; i < kPerTaker; ++i) {
        Client c{0, QStringLiteral("%1 %2").arg(prefix).arg(i), 0};
        if (addClient(clients, c) == 0)
            return false;
    }
    return true;
}

}  // namespace

// Runs only inside a child started by ClientIdConcurrencyTest.
class ClientIdTaker : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void takeIds() {
        const QString folder = qEnvironmentVariable(kProfileVar);
        if (folder.isEmpty())
            QSKIP("runs as a child of ClientIdConcurrencyTest");
        const QString name = qEnvironmentVariable(kNameVar);
        platform::Profile::setFolder(folder);
        platform::Locale::set(QLocale(QLocale::English, QLocale::UnitedStates));
        RecordStore store;
        QVERIFY(store.openAll());
        touch(folder + QStringLiteral("/ready-") + name);
        QVERIFY(waitForFile(folder + QStringLiteral("/go"), 60000));
        QVERIFY(addClients(store, name));
    }
};

class ClientIdConcurrencyTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QProcess> startTaker(const QString& folder, const QString& name) {
        auto process = std::make_unique<QProcess>();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("TEMPOLATCH_TEST_CLASS"), QStringLiteral("ClientIdTaker"));
        env.insert(QString::fromLatin1(kProfileVar), folder);
        env.insert(QString::fromLatin1(kNameVar), name);
        process->setProcessEnvironment(env);
        process->setProcessChannelMode(QProcess::ForwardedChannels);
        process->start(QCoreApplication::applicationFilePath(), {});
        return process;
    }

private Q_SLOTS:
    // Reads must not leave a snapshot behind that keeps a later batch from
    // taking the write lock, or hides what others committed meanwhile.
    void batchAfterAnotherConnectionCommitted() {
        test::TestEnvironment env;
        QString error;
        const QString path = env.filePath(QStringLiteral("store.db"));
        auto mine = platform::ObjectStore::open(path, platform::ObjectStore::Access::ReadWrite,
                                                QStringLiteral("en_US"), &error);
        auto other = platform::ObjectStore::open(path, platform::ObjectStore::Access::ReadWrite,
                                                 QStringLiteral("en_US"), &error);
        QVERIFY(mine && other);
        const quint32 db = mine->createDatabase(QStringLiteral("D"), 1, {prop::ClientId});
        QCOMPARE(mine->findDatabase(QStringLiteral("D")), db);
        QCOMPARE(mine->recordCount(db), 0);
        QVERIFY(other->writeRecord(db, 0, {platform::Property::ui4(prop::ClientId, 7)}) != 0);
        QCOMPARE(mine->recordCount(db), 1);
        platform::StoreBatch batch(*mine);
        QVERIFY(batch.isActive());
        QVERIFY(batch.commit());
    }

    void twoProcessesNeverShareAnId() {
        test::TestEnvironment env;
        QVERIFY(env.store().openAll());
        auto first = startTaker(env.folder(), QStringLiteral("first"));
        auto second = startTaker(env.folder(), QStringLiteral("second"));
        QVERIFY(waitForFile(env.filePath(QStringLiteral("ready-first")), 60000));
        QVERIFY(waitForFile(env.filePath(QStringLiteral("ready-second")), 60000));
        touch(env.filePath(QStringLiteral("go")));
        QVERIFY(addClients(env.store(), QStringLiteral("parent")));
        for (QProcess* p : {first.get(), second.get()}) {
            QVERIFY(p->waitForFinished(120000));
            QCOMPARE(p->exitCode(), 0);
        }

        const QList<Client> clients = listClients(env.store().clientStructure().clients);
        QSet<quint32> ids;
        for (const Client& c : clients)
            ids.insert(c.clientId);
        QCOMPARE(clients.size(), 3 * kPerTaker);
        QCOMPARE(ids.size(), 3 * kPerTaker);
        QVERIFY(!ids.contains(0));
        QCOMPARE(*std::max_element(ids.begin(), ids.end()), quint32(3 * kPerTaker));
        QCOMPARE(ClientIdCounter(env.store().objectStore()).peek(), quint32(3 * kPerTaker + 1));
    }
};

TEMPOLATCH_TEST(ClientIdTaker);
TEMPOLATCH_TEST(ClientIdConcurrencyTest);
#include "ClientIdConcurrencyTest.moc"
