#pragma once

#include <QString>
#include <memory>
#include <optional>

class QDBusConnection;

namespace tempolatch::platform {

// How long the user has left keyboard and mouse alone, as the desktop
// knows it.
class IdleSource {
public:
    virtual ~IdleSource() = default;
    // Milliseconds since the last input; nullopt when the desktop does not
    // answer.
    virtual std::optional<qint64> idleMilliseconds() = 0;
    // Which service answers.
    virtual QString name() const = 0;
};

// The X11 screen-saver extension of the display named in DISPLAY; nullptr
// when there is no display or it lacks the extension.
std::unique_ptr<IdleSource> x11IdleSource();
// An idle monitor on the bus: GNOME's (org.gnome.Mutter.IdleMonitor) or the
// freedesktop screen saver's GetSessionIdleTime; nullptr when neither answers.
std::unique_ptr<IdleSource> dbusIdleSource(const QDBusConnection& bus);
// The first that answers on this desktop. Under Wayland the session bus
// is asked first: there the X11 server sees only the input of X11 programs.
std::unique_ptr<IdleSource> desktopIdleSource();

}  // namespace tempolatch::platform
