#pragma once

#include <QApplication>
#include <QDialog>
#include <QTest>
#include <QTimer>
#include <functional>

#include "widgets/HelpWindow.h"

namespace tempolatch::test {

// Drives the next modal dialog of type T: once it is on screen, steps run
// on it; a dialog the steps leave open is rejected, so that no test hangs in
// a modal loop. Polls, so dialogs opened one after another each find their
// driver.
template <typename T>
void whenModal(std::function<void(T&)> steps, int timeoutMs = 5000) {
    auto* timer = new QTimer;
    auto waited = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, [timer, steps, waited, timeoutMs] {
        auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible()) {
            if ((*waited += timer->interval()) > timeoutMs)
                timer->deleteLater();
            return;
        }
        timer->stop();
        timer->deleteLater();
        steps(*dialog);
        if (dialog->isVisible())
            dialog->reject();
    });
    timer->start(5);
}

// Shows the dialog, presses F1 in it and answers the topic the help window
// opened at (empty when none opened).
inline QString helpTopicOnF1(QDialog& dialog) {
    dialog.show();
    if (!QTest::qWaitForWindowExposed(&dialog))
        return {};
    dialog.activateWindow();
    if (!QTest::qWaitForWindowActive(&dialog))
        return {};
    QTest::keyClick(&dialog, Qt::Key_F1);
    return HelpWindow::current() ? HelpWindow::current()->topic() : QString();
}

}  // namespace tempolatch::test
