#include "platform/desktop/IdleSource.h"

#include <QDBusConnection>
#include <QDBusMessage>

namespace tempolatch::platform {

namespace {

// A method that answers with the idle time, in `unitMs` milliseconds.
struct IdleMethod {
    const char* service;
    const char* path;
    const char* interface;
    const char* method;
    qint64 unitMs;
};

constexpr IdleMethod IdleMethods[] = {
    {"org.gnome.Mutter.IdleMonitor", "/org/gnome/Mutter/IdleMonitor/Core",
     "org.gnome.Mutter.IdleMonitor", "GetIdletime", 1},
    // Seconds, as the freedesktop screen saver interface has it.
    {"org.freedesktop.ScreenSaver", "/org/freedesktop/ScreenSaver", "org.freedesktop.ScreenSaver",
     "GetSessionIdleTime", 1000},
};

// A monitor that hangs must not hold the window up for long.
constexpr int CallTimeoutMs = 500;

class DBusIdleSource : public IdleSource {
public:
    DBusIdleSource(const QDBusConnection& bus, const IdleMethod& method)
        : m_bus(bus), m_method(method) {}

    std::optional<qint64> idleMilliseconds() override {
        const QDBusMessage call = QDBusMessage::createMethodCall(
            QLatin1String(m_method.service), QLatin1String(m_method.path),
            QLatin1String(m_method.interface), QLatin1String(m_method.method));
        const QDBusMessage reply = m_bus.call(call, QDBus::Block, CallTimeoutMs);
        if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
            return std::nullopt;
        bool ok = false;
        const qint64 idle = reply.arguments().first().toLongLong(&ok);
        return ok && idle >= 0 ? std::optional(idle * m_method.unitMs) : std::nullopt;
    }
    QString name() const override { return QLatin1String(m_method.service); }

private:
    QDBusConnection m_bus;
    IdleMethod m_method;
};

}  // namespace

std::unique_ptr<IdleSource> dbusIdleSource(const QDBusConnection& bus) {
    if (!bus.isConnected())
        return nullptr;
    for (const IdleMethod& method : IdleMethods) {
        auto source = std::make_unique<DBusIdleSource>(bus, method);
        if (source->idleMilliseconds())
            return source;
    }
    return nullptr;
}

std::unique_ptr<IdleSource> desktopIdleSource() {
    const bool wayland = qEnvironmentVariableIsSet("WAYLAND_DISPLAY");
    std::unique_ptr<IdleSource> source = wayland ? nullptr : x11IdleSource();
    if (!source)
        source = dbusIdleSource(QDBusConnection::sessionBus());
    if (!source && wayland)
        source = x11IdleSource();
    return source;
}

}  // namespace tempolatch::platform
