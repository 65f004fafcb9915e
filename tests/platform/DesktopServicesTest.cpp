#include <QDBusConnection>
#include <QMutex>
#include <QProcess>
#include <QTest>
#include <QThread>
#include <QVariantMap>

#include "common/TestRegistry.h"
#include "platform/desktop/DesktopNotifier.h"
#include "platform/desktop/IdleSource.h"

using namespace tempolatch::platform;

namespace {

// A message bus of the test's own, gone with it.
class PrivateBus {
public:
    PrivateBus() {
        m_daemon.start(QStringLiteral("dbus-daemon"),
                       {QStringLiteral("--session"), QStringLiteral("--nofork"),
                        QStringLiteral("--print-address")});
        if (m_daemon.waitForStarted() && m_daemon.waitForReadyRead(5000))
            m_address = QString::fromUtf8(m_daemon.readLine()).trimmed();
    }
    ~PrivateBus() {
        m_daemon.terminate();
        m_daemon.waitForFinished();
    }
    PrivateBus(const PrivateBus&) = delete;
    PrivateBus& operator=(const PrivateBus&) = delete;

    // A connection of its own, named `name`.
    QDBusConnection connect(const QString& name) const {
        return QDBusConnection::connectToBus(m_address, name);
    }
    bool isUp() const { return !m_address.isEmpty(); }

private:
    QProcess m_daemon;
    QString m_address;
};

class FakeMutterIdle : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.gnome.Mutter.IdleMonitor")
public Q_SLOTS:
    quint64 GetIdletime() { return 42'000; }
};

class FakeScreenSaver : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.ScreenSaver")
public Q_SLOTS:
    uint GetSessionIdleTime() { return 42; }
};

class FakeNotifications : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    QStringList calls() {
        QMutexLocker lock(&m_mutex);
        return m_calls;
    }
public Q_SLOTS:
    uint Notify(const QString& app, uint replaces, const QString& icon, const QString& summary,
                const QString& body, const QStringList& actions, const QVariantMap& hints,
                int timeout) {
        QMutexLocker lock(&m_mutex);
        m_calls.append(QStringList{app, QString::number(replaces), icon, summary, body,
                                   QString::number(actions.size() + hints.size()),
                                   QString::number(timeout)}
                           .join(u'|'));
        return uint(m_calls.size());
    }

private:
    QMutex m_mutex;
    QStringList m_calls;
};

// Serves `object` under `service` at `path` from a thread of its own: the
// callers block in their calls on the test's thread.
class Service {
public:
    Service(const PrivateBus& bus, QObject* object, const QString& service, const QString& path)
        : m_connection(bus.connect(service)) {
        m_thread.start();
        object->moveToThread(&m_thread);
        m_connection.registerObject(path, object, QDBusConnection::ExportAllSlots);
        m_connection.registerService(service);
    }
    ~Service() {
        m_connection.unregisterService(m_connection.name());
        QDBusConnection::disconnectFromBus(m_connection.name());
        m_thread.quit();
        m_thread.wait();
    }
    Service(const Service&) = delete;
    Service& operator=(const Service&) = delete;

private:
    QDBusConnection m_connection;
    QThread m_thread;
};

}  // namespace

// The desktop's idle time and notifications, over a bus with fake services.
class DesktopServicesTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // GNOME's monitor gives milliseconds, the freedesktop screen saver seconds.
    void idleMonitorsOnTheBus_data() {
        QTest::addColumn<QString>("service");
        QTest::newRow("GNOME") << "org.gnome.Mutter.IdleMonitor";
        QTest::newRow("freedesktop") << "org.freedesktop.ScreenSaver";
        QTest::newRow("none") << "";
    }
    void idleMonitorsOnTheBus() {
        QFETCH(QString, service);
        PrivateBus bus;
        QVERIFY(bus.isUp());
        std::unique_ptr<QObject> fake;
        std::unique_ptr<Service> serving;
        if (service.startsWith(QLatin1String("org.gnome"))) {
            fake = std::make_unique<FakeMutterIdle>();
            serving = std::make_unique<Service>(bus, fake.get(), service,
                                                "/org/gnome/Mutter/IdleMonitor/Core");
        } else if (!service.isEmpty()) {
            fake = std::make_unique<FakeScreenSaver>();
            serving =
                std::make_unique<Service>(bus, fake.get(), service, "/org/freedesktop/ScreenSaver");
        }
        const QDBusConnection client = bus.connect(QStringLiteral("client"));
        const std::unique_ptr<IdleSource> source = dbusIdleSource(client);
        if (service.isEmpty()) {
            QVERIFY(!source);
        } else {
            QVERIFY(source);
            QCOMPARE(source->name(), service);
            QCOMPARE(source->idleMilliseconds(), std::optional<qint64>(42'000));
        }
        QDBusConnection::disconnectFromBus(QStringLiteral("client"));
        serving.reset();
    }

    void notificationOnTheBus() {
        PrivateBus bus;
        QVERIFY(bus.isUp());
        const QDBusConnection client = bus.connect(QStringLiteral("client"));
        DBusNotifier notifier(client);
        QVERIFY(!notifier.notify(QStringLiteral("Nobody"), QStringLiteral("listens")));
        {
            FakeNotifications fake;
            Service serving(bus, &fake, QStringLiteral("org.freedesktop.Notifications"),
                            QStringLiteral("/org/freedesktop/Notifications"));
            QVERIFY(notifier.notify(QStringLiteral("A timer is still running"),
                                    QStringLiteral("The timer for Acme has run for 8:00 hours.")));
            QCOMPARE(fake.calls(),
                     QStringList({"Tempolatch|0|org.tempolatch.Tempolatch|A timer is still "
                                  "running|The timer for Acme has run for 8:00 hours.|0|-1"}));
        }
        QDBusConnection::disconnectFromBus(QStringLiteral("client"));
    }

    // The X server's screen-saver extension, where the tests have a display.
    void x11ScreenSaverExtension() {
        if (!qEnvironmentVariableIsSet("DISPLAY"))
            QSKIP("no X display");
        const std::unique_ptr<IdleSource> source = x11IdleSource();
        QVERIFY(source);
        const auto idle = source->idleMilliseconds();
        QVERIFY(idle && *idle >= 0);
        QTest::qWait(1100);
        QVERIFY(*source->idleMilliseconds() >= *idle);
    }
};

TEMPOLATCH_TEST(DesktopServicesTest);
#include "DesktopServicesTest.moc"
