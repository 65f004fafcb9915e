#include "platform/desktop/DesktopNotifier.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QVariantMap>

namespace tempolatch::platform {

namespace {

constexpr int CallTimeoutMs = 1000;
// The server decides how long the notification stays.
constexpr int ServerDefaultTimeout = -1;

}  // namespace

DBusNotifier::DBusNotifier() : DBusNotifier(QDBusConnection::sessionBus()) {}

DBusNotifier::DBusNotifier(const QDBusConnection& bus)
    : m_bus(std::make_unique<QDBusConnection>(bus)) {}

DBusNotifier::~DBusNotifier() = default;

bool DBusNotifier::notify(const QString& summary, const QString& body) {
    if (!m_bus->isConnected())
        return false;
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.Notifications"),
        QStringLiteral("/org/freedesktop/Notifications"),
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
    call << QStringLiteral("Tempolatch") << uint(0) << QStringLiteral("org.tempolatch.Tempolatch")
         << summary << body << QStringList() << QVariantMap() << ServerDefaultTimeout;
    return m_bus->call(call, QDBus::Block, CallTimeoutMs).type() == QDBusMessage::ReplyMessage;
}

}  // namespace tempolatch::platform
