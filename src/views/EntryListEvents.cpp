#include "views/EntryListEvents.h"

#include <QAbstractItemView>
#include <QContextMenuEvent>
#include <QGestureEvent>
#include <QTapAndHoldGesture>

#include "widgets/ContextMenuKeys.h"

namespace tempolatch {

void EntryListEvents::watch(QAbstractItemView* view, Picker pick) {
    m_view = view;
    m_pick = std::move(pick);
    view->setContextMenuPolicy(Qt::CustomContextMenu);
    // A scroll area reports the point in its viewport's coordinates (taken
    // as the view's, a right click in the Simple list chose the row above).
    connect(view, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& viewportPos) { requestAt(viewportPos); });
    // Press-and-hold, with a finger or a held mouse button.
    view->viewport()->grabGesture(Qt::TapAndHoldGesture);
    view->viewport()->installEventFilter(this);
    // The Menu key and Shift+F10.
    view->installEventFilter(this);
    ContextMenuKeys::install(view);
}

void EntryListEvents::route(QObject* receiver, std::function<void()> tapped,
                            std::function<void(int id)> command,
                            std::function<void(const QPoint& globalPos)> menu) {
    connect(this, &EntryListEvents::entryTapped, receiver, std::move(tapped));
    connect(this, &EntryListEvents::commandRequested, receiver, std::move(command),
            Qt::QueuedConnection);
    connect(this, &EntryListEvents::contextMenuRequested, receiver, std::move(menu),
            Qt::QueuedConnection);
}

bool EntryListEvents::eventFilter(QObject* watched, QEvent* event) {
    // From the keyboard the menu is for the current row, wherever the
    // pointer is. Qt places a keyboard menu at the current item in viewport
    // coordinates but reports it in the view's, which is a header's height
    // off in the lists that have one: take the row itself instead.
    if (m_view && watched == m_view && event->type() == QEvent::ContextMenu &&
        static_cast<QContextMenuEvent*>(event)->reason() == QContextMenuEvent::Keyboard) {
        const QModelIndex current = m_view->currentIndex();
        if (current.isValid()) {
            m_view->scrollTo(current);
            requestAt(m_view->visualRect(current).center());
        }
        return true;
    }
    if (m_view && watched == m_view->viewport() && event->type() == QEvent::Gesture) {
        auto* gestures = static_cast<QGestureEvent*>(event);
        if (auto* hold =
                static_cast<QTapAndHoldGesture*>(gestures->gesture(Qt::TapAndHoldGesture))) {
            if (hold->state() == Qt::GestureFinished)
                requestAt(m_view->viewport()->mapFromGlobal(hold->position().toPoint()));
            gestures->accept(hold);
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

void EntryListEvents::requestAt(const QPoint& viewportPos) {
    if (m_pick && m_pick(viewportPos))
        Q_EMIT contextMenuRequested(m_view->viewport()->mapToGlobal(viewportPos));
}

}  // namespace tempolatch
