#pragma once

#include <QString>
#include <memory>

class QDBusConnection;

namespace tempolatch::platform {

// Tells the user something outside the window, as the desktop shows
// notifications.
class DesktopNotifier {
public:
    virtual ~DesktopNotifier() = default;
    // False when nothing shows it.
    virtual bool notify(const QString& summary, const QString& body) = 0;
};

// The freedesktop notification service (org.freedesktop.Notifications)
// on the session bus, or on the bus given.
class DBusNotifier : public DesktopNotifier {
public:
    DBusNotifier();
    explicit DBusNotifier(const QDBusConnection& bus);
    ~DBusNotifier() override;

    bool notify(const QString& summary, const QString& body) override;

private:
    std::unique_ptr<QDBusConnection> m_bus;
};

}  // namespace tempolatch::platform
