#pragma once

#include <QObject>

class QWidget;

namespace tempolatch {

// Shift+F10 opens a widget's context menu as the Menu key does. Windows
// turns both keys into a menu; the X11 and Wayland platforms only the Menu
// key, so the other is ours to send.
class ContextMenuKeys : public QObject {
public:
    // Watches `widget`; the watcher belongs to it.
    static void install(QWidget* widget);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    using QObject::QObject;
};

}  // namespace tempolatch
