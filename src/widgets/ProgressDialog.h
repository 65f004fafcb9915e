#pragma once

#include <QDialog>
#include <QElapsedTimer>
#include <functional>

class QLabel;
class QProgressBar;
class QPushButton;

namespace tempolatch {

namespace platform {
class WorkProgress;
}

// The modal dialog long operations run in: one or two lines of text and an
// optional progress bar. The work starts only once the dialog is on screen,
// runs under the wait cursor, and the dialog closes when it is done; the
// user cannot close it meanwhile.
class ProgressDialog : public QDialog {
    Q_OBJECT

public:
    using Work = std::function<void(ProgressDialog&)>;

    explicit ProgressDialog(const QString& text, QWidget* parent = nullptr);

    void setText(const QString& text);
    void setSecondText(const QString& text);
    // Shows the bar, from 0 to `maximum`.
    void showProgress(int maximum);
    // One step of the bar; the dialog is repainted now and then.
    void step();

    // Shows the dialog modally and runs `work` in it; returns when done.
    void run(Work work);
    // Runs `work` on a thread of its own while the dialog shows the rows
    // `progress` counts, and returns when it has ended; the window keeps
    // painting meanwhile. Cancel (or closing the dialog) asks the work to
    // stop. False when the user cancelled.
    bool runInBackground(platform::WorkProgress& progress, std::function<void()> work);
    bool isWorking() const { return m_working; }

    // Ignored while the work runs, unless it can be cancelled.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void startWork();
    void repaintNow();
    void showRows();
    void cancelWork();

    QLabel* m_text;
    QLabel* m_secondText;
    QProgressBar* m_bar;
    QPushButton* m_cancel;
    platform::WorkProgress* m_background = nullptr;
    Work m_work;
    bool m_started = false;
    bool m_working = false;
    QElapsedTimer m_sinceRepaint;
};

}  // namespace tempolatch
