#include "widgets/ProgressDialog.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

#include "platform/StringTable.h"

namespace tempolatch {

namespace {
constexpr int kRepaintMilliseconds = 50;
}

ProgressDialog::ProgressDialog(const QString& text, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      m_text(new QLabel(text, this)),
      m_secondText(new QLabel(this)),
      m_bar(new QProgressBar(this)) {
    setWindowTitle(resourceString(str::AppName));
    setModal(true);
    m_text->setObjectName(QStringLiteral("text"));
    m_text->setWordWrap(true);
    m_secondText->setObjectName(QStringLiteral("secondText"));
    m_secondText->setWordWrap(true);
    m_secondText->hide();
    m_bar->setObjectName(QStringLiteral("progress"));
    m_bar->hide();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_text);
    layout->addWidget(m_secondText);
    layout->addWidget(m_bar);
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
    if (!m_working)
        QDialog::reject();
}

}  // namespace tempolatch
