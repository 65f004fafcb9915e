#include "views/EntryListEvents.h"

#include <QAbstractItemView>
#include <QGestureEvent>
#include <QTapAndHoldGesture>

namespace tempolatch {

void EntryListEvents::watch(QAbstractItemView* view, Picker pick) {
    m_view = view;
    m_pick = std::move(pick);
    view->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(view, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { requestAt(m_view->viewport()->mapFrom(m_view, pos)); });
    // Press-and-hold, with a finger or a held mouse button.
    view->viewport()->grabGesture(Qt::TapAndHoldGesture);
    view->viewport()->installEventFilter(this);
}

bool EntryListEvents::eventFilter(QObject* watched, QEvent* event) {
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
