#pragma once

#include <QApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QPointer>
#include <QTimer>
#include <functional>

namespace tempolatch::test {

// Runs `handle` on what `find` returns once it returns something, from
// the event loop (polled every 10 ms); nothing runs when the timeout passes
// first.
template <typename T>
void whenFound(std::function<T*()> find, std::function<void(T*)> handle, int timeoutMs) {
    auto deadline = std::make_shared<QDeadlineTimer>(timeoutMs);
    auto poll = std::make_shared<std::function<void()>>();
    *poll = [find, handle, deadline, poll] {
        T* found = find();
        if (!found && !deadline->hasExpired()) {
            QTimer::singleShot(10, qApp, *poll);
            return;
        }
        *poll = {};  // the running copy holds what it needs
        if (found)
            handle(found);
    };
    QTimer::singleShot(0, qApp, *poll);
}

// Runs `handle` on the next modal dialog of type T, from inside its event
// loop, once it is the active one. A dialog the handler leaves open is
// cancelled, so a failing check never leaves a test waiting on a dialog
// nobody answers.
template <typename T>
void onNextModalOf(std::function<void(T*)> handle, int timeoutMs = 5000) {
    whenFound<T>([] { return qobject_cast<T*>(QApplication::activeModalWidget()); },
                 [handle](T* dialog) {
                     QPointer<T> guard(dialog);
                     handle(dialog);
                     if (guard && guard->isVisible())
                         guard->reject();
                 },
                 timeoutMs);
}

// The same for whatever modal dialog comes next.
inline void onNextModal(std::function<void(QDialog*)> handle, int timeoutMs = 5000) {
    onNextModalOf<QDialog>(std::move(handle), timeoutMs);
}

}  // namespace tempolatch::test
