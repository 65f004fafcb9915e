#include "widgets/ProgressDialog.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>
#include <memory>

#include "platform/StringTable.h"
#include "platform/WorkProgress.h"

namespace tempolatch {

namespace {
constexpr int kRepaintMilliseconds = 50;
// How often the count of a work on its own thread is shown.
constexpr int kCountMilliseconds = 100;
}  // namespace

ProgressDialog::ProgressDialog(const QString& text, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      m_text(new QLabel(text, this)),
      m_secondText(new QLabel(this)),
      m_bar(new QProgressBar(this)),
      m_cancel(new QPushButton(QStringLiteral("Cancel"), this)) {
    setWindowTitle(resourceString(str::AppName));
    setModal(true);
    m_text->setObjectName(QStringLiteral("text"));
    m_text->setWordWrap(true);
    m_secondText->setObjectName(QStringLiteral("secondText"));
    m_secondText->setWordWrap(true);
    m_secondText->hide();
    m_bar->setObjectName(QStringLiteral("progress"));
    m_bar->hide();
    m_cancel->setObjectName(QStringLiteral("cancel"));
    m_cancel->hide();
    connect(m_cancel, &QPushButton::clicked, this, &ProgressDialog::cancelWork);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_text);
    layout->addWidget(m_secondText);
    layout->addWidget(m_bar);
    layout->addWidget(m_cancel, 0, Qt::AlignRight);
    setMinimumWidth(320);
}

void ProgressDialog::setText(const QString& text) {
    m_text->setText(text);
    repaintNow();
}

void ProgressDialog::setSecondText(const QString& text) {
    m_secondText->setText(text);
    m_secondText->setVisible(!text.isEmpty());
    repaintNow();
}

void ProgressDialog::showProgress(int maximum) {
    m_bar->setRange(0, qMax(0, maximum));
    m_bar->setValue(0);
    m_bar->show();
    repaintNow();
}

void ProgressDialog::step() {
    m_bar->setValue(qMin(m_bar->value() + 1, m_bar->maximum()));
    if (!m_sinceRepaint.isValid() || m_sinceRepaint.elapsed() >= kRepaintMilliseconds)
        repaintNow();
}

void ProgressDialog::repaintNow() {
    m_sinceRepaint.start();
    if (isVisible())
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void ProgressDialog::run(Work work) {
    if (!work)
        return;
    m_work = std::move(work);
    m_started = false;
    exec();
}

bool ProgressDialog::runInBackground(platform::WorkProgress& progress, std::function<void()> work) {
    m_background = &progress;
    // A bar that moves without an end: only the work knows how far it goes.
    m_bar->setRange(0, 0);
    m_bar->show();
    m_cancel->show();
    m_cancel->setEnabled(true);
    QTimer counter;
    connect(&counter, &QTimer::timeout, this, &ProgressDialog::showRows);
    counter.start(kCountMilliseconds);
    std::unique_ptr<QThread> thread(QThread::create(std::move(work)));
    connect(thread.get(), &QThread::finished, this, &QDialog::accept, Qt::QueuedConnection);
    m_working = true;
    thread->start();
    exec();
    // The dialog ends only when the work has; closing it waits for the thread.
    thread->wait();
    m_working = false;
    m_background = nullptr;
    return !progress.isCancelled();
}

void ProgressDialog::showRows() {
    if (!m_background)
        return;
    m_secondText->setText(QStringLiteral("%L1 records").arg(m_background->rows()));
    m_secondText->show();
}

void ProgressDialog::cancelWork() {
    if (!m_background || m_background->isCancelled())
        return;
    m_background->cancel();
    m_cancel->setEnabled(false);
    m_text->setText(QStringLiteral("Cancelling..."));
}

void ProgressDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (m_started || !m_work)
        return;
    m_started = true;
    // Queued, so that the dialog is painted before the work begins.
    QMetaObject::invokeMethod(this, &ProgressDialog::startWork, Qt::QueuedConnection);
}

void ProgressDialog::startWork() {
    m_working = true;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_work(*this);
    QApplication::restoreOverrideCursor();
    m_working = false;
    accept();
}

void ProgressDialog::reject() {
    if (m_background)
        cancelWork();
    else if (!m_working)
        QDialog::reject();
}

}  // namespace tempolatch
