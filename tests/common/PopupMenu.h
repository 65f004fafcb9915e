#pragma once

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QTest>
#include <memory>

#include "common/ModalDialog.h"

namespace tempolatch::test {

// Chooses the item that carries command `id` in the next popup menu, from
// inside the menu's event loop, as a user would (highlight it, press
// Enter); with no such item (or id 0) the menu is closed unchosen.
// `shown` receives whether a menu opened at all.
inline void chooseInNextPopup(int id, std::shared_ptr<bool> shown = {}, int timeoutMs = 3000) {
    whenFound<QMenu>([] { return qobject_cast<QMenu*>(QApplication::activePopupWidget()); },
                     [id, shown](QMenu* menu) {
                         if (shown)
                             *shown = true;
                         for (QAction* action : menu->actions()) {
                             if (id != 0 && action->data().toInt() == id && action->isEnabled()) {
                                 menu->setActiveAction(action);
                                 QTest::keyClick(menu, Qt::Key_Return);
                                 return;
                             }
                         }
                         menu->close();
                     },
                     timeoutMs);
}

// The ways a user asks for a context menu.
enum class MenuPath { RightClick, MenuKey, ShiftF10 };
inline constexpr MenuPath AllMenuPaths[] = {MenuPath::RightClick, MenuPath::MenuKey,
                                            MenuPath::ShiftF10};
inline const char* menuPathName(MenuPath path) {
    switch (path) {
        case MenuPath::RightClick:
            return "right click";
        case MenuPath::MenuKey:
            return "Menu key";
        default:
            return "Shift+F10";
    }
}

// Asks `view` for its context menu the way `path` does: a right click at
// `pointer` (viewport coordinates), or a key with the pointer resting there.
inline void requestContextMenu(QAbstractItemView* view, MenuPath path, const QPoint& pointer) {
    QWidget* viewport = view->viewport();
    if (path == MenuPath::RightClick) {
        // Through the window, as the platform delivers it: the press, then
        // the menu event that the window makes of it.
        QWidget* window = view->window();
        QTest::mouseClick(window->windowHandle(), Qt::RightButton, {},
                          viewport->mapTo(window, pointer));
        return;
    }
    QTest::mouseMove(viewport, pointer);
    view->setFocus();
    if (path == MenuPath::ShiftF10) {
        QTest::keyClick(view, Qt::Key_F10, Qt::ShiftModifier);
        return;
    }
    // What the platform makes of the Menu key: a keyboard menu event for
    // the focus widget, at its cursor.
    const QPoint at = view->inputMethodQuery(Qt::ImCursorRectangle).toRect().center();
    QContextMenuEvent key(QContextMenuEvent::Keyboard, at, view->mapToGlobal(at));
    QApplication::sendEvent(view, &key);
}

}  // namespace tempolatch::test
