#pragma once

#include <QRect>
#include <QString>

class QScreen;
class QWidget;

namespace tempolatch {

namespace platform {
class Registry;
}

// Windows and dialogs come back where the user left them, at the size the
// user gave them. Each is kept under its own name and the screen it was on
// in the profile's registry (Software\Tempolatch\Window, "Name 1920x1040"); a screen it was never
// on takes the place last left on any screen, fitted inside that screen.

// Restores the window's place now (before it is shown) and keeps it each
// time the window is hidden or closed. With nothing stored the window keeps
// the size its layout gives it.
void keepWindowPlace(QWidget* window, platform::Registry& registry, const QString& name);

// The stored place of `name` put on the window, fitted into its screen;
// false when there is none.
bool restoreWindowPlace(QWidget* window, const platform::Registry& registry, const QString& name);
void saveWindowPlace(const QWidget* window, platform::Registry& registry, const QString& name);

// `place` moved and, when it must, shrunk so that it lies inside
// `available`; an empty place stays empty.
QRect fittedPlace(const QRect& place, const QRect& available);

// The value's name for a window on a screen: the window's name and the
// screen's available size.
QString windowPlaceName(const QString& name, const QScreen* screen);

}  // namespace tempolatch
