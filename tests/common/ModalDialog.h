#pragma once

#include <QApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QPointer>
#include <QTimer>
#include <functional>

namespace tempolatch::test {

// Runs `handle` on the next modal dialog of type T, from inside its event
// loop, once it is the active one. A dialog the handler leaves open is
// cancelled, so a failing check never leaves a test waiting on a dialog
// nobody answers.
template <typename T>
void onNextModalOf(std::function<void(T*)> handle, int timeoutMs = 5000) {
    auto deadline = std::make_shared<QDeadlineTimer>(timeoutMs);
    auto poll = std::make_shared<std::function<void()>>();
    *poll = [handle, deadline, poll] {
        auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
        if (!dialog && !deadline->hasExpired()) {
            QTimer::singleShot(10, qApp, *poll);
            return;
        }
        *poll = {};  // the running copy holds what it needs
        if (!dialog)
            return;
        QPointer<T> guard(dialog);
        handle(dialog);
        if (guard && guard->isVisible())
            guard->reject();
    };
    QTimer::singleShot(0, qApp, *poll);
}

// The same for whatever modal dialog comes next.
inline void onNextModal(std::function<void(QDialog*)> handle, int timeoutMs = 5000) {
    onNextModalOf<QDialog>(std::move(handle), timeoutMs);
}

}  // namespace tempolatch::test
