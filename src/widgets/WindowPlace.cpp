#include "widgets/WindowPlace.h"

#include <QDataStream>
#include <QEvent>
#include <QGuiApplication>
#include <QIODevice>
#include <QMargins>
#include <QObject>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <optional>

#include "platform/Registry.h"

namespace tempolatch {

namespace {

const QString kWindowKey = QStringLiteral("Software\\Tempolatch\\Window");
// Version 1: the place inside the frame (x, y, width, height), whether it
// was maximized, and the frame's widths around it (left, top, right, bottom).
constexpr quint8 kPlaceVersion = 1;

struct StoredPlace {
    QRect rect;
    bool maximized = false;
    QMargins frame;
};

QByteArray encoded(const StoredPlace& place) {
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out << kPlaceVersion << qint32(place.rect.x()) << qint32(place.rect.y())
        << qint32(place.rect.width()) << qint32(place.rect.height()) << place.maximized
        << qint32(place.frame.left()) << qint32(place.frame.top()) << qint32(place.frame.right())
        << qint32(place.frame.bottom());
    return bytes;
}

std::optional<StoredPlace> decoded(const QByteArray& bytes) {
    QDataStream in(bytes);
    quint8 version = 0;
    qint32 x = 0, y = 0, width = 0, height = 0;
    bool maximized = false;
    qint32 left = 0, top = 0, right = 0, bottom = 0;
    in >> version >> x >> y >> width >> height >> maximized >> left >> top >> right >> bottom;
    if (in.status() != QDataStream::Ok || version != kPlaceVersion || width <= 0 || height <= 0)
        return std::nullopt;
    // A frame wider than a screen is no frame a window manager draws.
    const auto frameWidth = [](qint32 w) { return std::clamp(w, 0, 200); };
    return StoredPlace{
        QRect(x, y, width, height), maximized,
        QMargins(frameWidth(left), frameWidth(top), frameWidth(right), frameWidth(bottom))};
}

std::optional<StoredPlace> readPlace(const platform::Registry& registry, const QString& valueName) {
    const auto bytes = registry.readBytes(kWindowKey, valueName);
    return bytes ? decoded(*bytes) : std::nullopt;
}

// The place under each of the names, in one write of the registry.
void writePlace(platform::Registry& registry, std::initializer_list<QString> valueNames,
                const StoredPlace& place) {
    const QByteArray bytes = encoded(place);
    registry.beginBatch();
    if (registry.createKey(kWindowKey))
        for (const QString& valueName : valueNames)
            registry.writeBytes(kWindowKey, valueName, bytes);
    registry.endBatch();
}

const QScreen* screenOf(const QWidget* window) {
    const QScreen* screen = window->screen();
    return screen ? screen : QGuiApplication::primaryScreen();
}

// Saves the window's place whenever it is hidden or closed.
class PlaceKeeper : public QObject {
public:
    PlaceKeeper(QWidget* window, platform::Registry& registry, const QString& name)
        : QObject(window), m_registry(registry), m_name(name) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        // A closed dialog or window is hidden first; a minimized one keeps
        // the place it comes back to.
        if (event->type() == QEvent::Hide && !event->spontaneous())
            saveWindowPlace(static_cast<QWidget*>(watched), m_registry, m_name);
        return false;
    }

private:
    platform::Registry& m_registry;
    QString m_name;
};

}  // namespace

QRect fittedPlace(const QRect& place, const QRect& available) {
    if (place.isEmpty() || available.isEmpty())
        return place;
    const int width = std::min(place.width(), available.width());
    const int height = std::min(place.height(), available.height());
    const int x = std::clamp(place.x(), available.left(), available.right() - width + 1);
    const int y = std::clamp(place.y(), available.top(), available.bottom() - height + 1);
    return QRect(x, y, width, height);
}

QString windowPlaceName(const QString& name, const QScreen* screen) {
    if (!screen)
        return name;
    const QSize size = screen->availableGeometry().size();
    return QStringLiteral("%1 %2x%3").arg(name).arg(size.width()).arg(size.height());
}

void saveWindowPlace(const QWidget* window, platform::Registry& registry, const QString& name) {
    StoredPlace place;
    place.maximized = window->isMaximized();
    // A maximized window keeps the place it returns to.
    place.rect = place.maximized ? window->normalGeometry() : window->geometry();
    if (place.rect.isEmpty())
        return;
    const QRect inner = window->geometry();
    const QRect outer = window->frameGeometry();
    place.frame = QMargins(inner.left() - outer.left(), inner.top() - outer.top(),
                           outer.right() - inner.right(), outer.bottom() - inner.bottom());
    // Also the last place on any screen, for a screen the window was never on.
    writePlace(registry, {windowPlaceName(name, screenOf(window)), name}, place);
}

bool restoreWindowPlace(QWidget* window, const platform::Registry& registry, const QString& name) {
    const QScreen* screen = screenOf(window);
    std::optional<StoredPlace> place = readPlace(registry, windowPlaceName(name, screen));
    if (!place)
        place = readPlace(registry, name);
    if (!place)
        return false;
    // The window with its frame goes inside the screen.
    const QRect available = screen ? screen->availableGeometry() : QRect();
    const QRect outer = fittedPlace(place->rect.marginsAdded(place->frame), available);
    window->setGeometry(outer.marginsRemoved(place->frame));
    if (place->maximized)
        window->setWindowState(window->windowState() | Qt::WindowMaximized);
    return true;
}

void keepWindowPlace(QWidget* window, platform::Registry& registry, const QString& name) {
    // The first time the window takes the size its layout asks for.
    restoreWindowPlace(window, registry, name);
    window->installEventFilter(new PlaceKeeper(window, registry, name));
}

}  // namespace tempolatch
