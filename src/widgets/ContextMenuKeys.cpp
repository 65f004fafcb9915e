#include "widgets/ContextMenuKeys.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>

namespace tempolatch {

namespace {

bool isMenuKey(int key, Qt::KeyboardModifiers modifiers) {
#ifdef Q_OS_WIN
    Q_UNUSED(key);
    Q_UNUSED(modifiers);
    return false;
#else
    return key == Qt::Key_F10 && (modifiers & ~Qt::KeypadModifier) == Qt::ShiftModifier;
#endif
}

}  // namespace

void ContextMenuKeys::install(QWidget* widget) {
    widget->installEventFilter(new ContextMenuKeys(widget));
}

bool ContextMenuKeys::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if (!isMenuKey(key->key(), key->modifiers()))
        return false;
    auto* widget = static_cast<QWidget*>(watched);
    // Where the platform puts the Menu key's menu: the widget's cursor.
    const QPoint pos = widget->inputMethodQuery(Qt::ImCursorRectangle).toRect().center();
    QContextMenuEvent menu(QContextMenuEvent::Keyboard, pos, widget->mapToGlobal(pos),
                           key->modifiers());
    QCoreApplication::sendEvent(widget, &menu);
    return true;
}

}  // namespace tempolatch
