#pragma once

#include <QObject>
#include <QPoint>
#include <functional>

class QAbstractItemView;

namespace tempolatch {

// What an entry list tells the window it lives in. Receivers connect
// queued, as the lists post these rather than call back.
class EntryListEvents : public QObject {
    Q_OBJECT

public:
    using Picker = std::function<bool(const QPoint& viewportPos)>;

    // Turns right-clicks and press-and-hold on the view into
    // contextMenuRequested; `pick` selects what is under the point and says
    // whether the menu applies there.
    void watch(QAbstractItemView* view, Picker pick);

    // Hands the events to a window: a tap at once, the command and the
    // context menu once the list has finished with the event that caused
    // them. The connections end with `receiver`.
    void route(QObject* receiver, std::function<void()> tapped, std::function<void(int id)> command,
               std::function<void(const QPoint& globalPos)> menu);

Q_SIGNALS:
    // A row of the Default list was tapped or Enter was pressed on it.
    void entryTapped();
    // A command for the window (the Simple and Tree lists' Edit).
    void commandRequested(int id);
    // The entry context menu at a screen point.
    void contextMenuRequested(const QPoint& globalPos);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void requestAt(const QPoint& viewportPos);

    QAbstractItemView* m_view = nullptr;
    Picker m_pick;
};

}  // namespace tempolatch
