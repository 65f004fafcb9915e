#include "platform/desktop/IdleSource.h"

// Xlib's macros (None, Bool, Status...) clash with Qt's names: no Qt header
// after these.
#include <X11/Xlib.h>
#include <X11/extensions/scrnsaver.h>

namespace tempolatch::platform {

namespace {

// A connection of its own to the X server, so that it works whichever
// platform plugin draws the window.
class X11IdleSource : public IdleSource {
public:
    X11IdleSource(Display* display, XScreenSaverInfo* info) : m_display(display), m_info(info) {}
    ~X11IdleSource() override {
        XFree(m_info);
        XCloseDisplay(m_display);
    }
    X11IdleSource(const X11IdleSource&) = delete;
    X11IdleSource& operator=(const X11IdleSource&) = delete;

    std::optional<qint64> idleMilliseconds() override {
        if (!XScreenSaverQueryInfo(m_display, DefaultRootWindow(m_display), m_info))
            return std::nullopt;
        return qint64(m_info->idle);
    }
    QString name() const override { return QStringLiteral("X11 screen saver extension"); }

private:
    Display* m_display;
    XScreenSaverInfo* m_info;
};

}  // namespace

std::unique_ptr<IdleSource> x11IdleSource() {
    if (!qEnvironmentVariableIsSet("DISPLAY"))
        return nullptr;
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return nullptr;
    int eventBase = 0;
    int errorBase = 0;
    XScreenSaverInfo* info = XScreenSaverQueryExtension(display, &eventBase, &errorBase)
                                 ? XScreenSaverAllocInfo()
                                 : nullptr;
    if (!info) {
        XCloseDisplay(display);
        return nullptr;
    }
    return std::make_unique<X11IdleSource>(display, info);
}

}  // namespace tempolatch::platform
