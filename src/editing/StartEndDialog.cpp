#include "editing/StartEndDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QTimeEdit>
#include <QVBoxLayout>

#include "editing/EntryGeneralPage.h"
#include "editing/EntryValues.h"
#include "platform/Clock.h"
#include "platform/StringTable.h"
#include "platform/Ui.h"
#include "settings/Context.h"
#include "settings/Settings.h"
#include "store/RecordValues.h"

namespace tempolatch {

namespace ev = entryvalues;

QComboBox* createDurationList(const QString& objectName, const Settings& settings,
                              QWidget* parent) {
    auto* box = new QComboBox(parent);
    box->setObjectName(objectName);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->lineEdit()->setMaxLength(6);
    box->addItems(ev::durationChoices(settings.timeIntervalMinutes()));
    return box;
}

StartEndDialog::StartEndDialog(Context& context, const TimeEntry& entry, QWidget* parent)
    : QDialog(parent), m_context(context), m_entry(entry) {
    setObjectName(QStringLiteral("startEndDialog"));
    setWindowTitle(QStringLiteral("Start/End Time"));
    m_start = new QTimeEdit(this);
    m_start->setObjectName(QStringLiteral("startTime"));
    m_end = new QTimeEdit(this);
    m_end->setObjectName(QStringLiteral("endTime"));
    for (QTimeEdit* picker : {m_start, m_end}) {
        picker->setDisplayFormat(EntryGeneralPage::timeFormat());
        picker->installEventFilter(this);
    }
    m_break = createDurationList(QStringLiteral("break"), m_context.settings, this);
    m_break->insertItem(0, QStringLiteral("0.00"));
    m_break->setCurrentIndex(0);
    m_break->installEventFilter(this);
    m_break->lineEdit()->installEventFilter(this);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Start:"), m_start);
    form->addRow(QStringLiteral("End:"), m_end);
    form->addRow(QStringLiteral("Break:"), m_break);
    auto* buttons = new QGridLayout;
    const int minutes[] = {0, 10, 15, 20, 30, 40, 45, 50};
    for (int i = 0; i < 8; ++i) {
        auto* button = new QPushButton(QString::asprintf(":%02d", minutes[i]), this);
        button->setObjectName(QString::asprintf("minutes%02d", minutes[i]));
        button->setFocusPolicy(Qt::NoFocus);
        const int m = minutes[i];
        connect(button, &QPushButton::clicked, this, [this, m] { setMinutes(m); });
        buttons->addWidget(button, i / 4, i % 4);
    }
    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(box, &QDialogButtonBox::accepted, this, &StartEndDialog::accept);
    connect(box, &QDialogButtonBox::rejected, this, &StartEndDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    layout->addWidget(box);

    const platform::SystemTime start =
        m_entry.hasStartTime() ? ev::dateTimeOf(m_entry) : platform::Clock::now();
    m_start->setTime(QTime(start.hour, start.minute));
    if (m_entry.breakTime != 0)
        m_break->setEditText(hundredthsText(m_entry.breakTime));
    else
        m_break->setCurrentIndex(0);
    updateEnd();
}

bool StartEndDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn && (watched == m_start || watched == m_end))
        m_lastPicker = static_cast<QTimeEdit*>(watched);
    if (event->type() == QEvent::FocusOut &&
        (watched == m_break || watched == m_break->lineEdit()) && isVisible() && takeBreak())
        updateEnd();
    return QDialog::eventFilter(watched, event);
}

void StartEndDialog::setMinutes(int minutes) {
    if (!m_lastPicker)
        return;
    m_lastPicker->setTime(QTime(m_lastPicker->time().hour(), minutes));
    m_lastPicker->setFocus();
}

bool StartEndDialog::takeBreak() {
    if (!ev::isNumericText(m_break->currentText())) {
        m_context.ui.message(resourceString(str::NumericOnly), platform::MessageIcon::Warning,
                             this);
        m_break->setFocus();
        return false;
    }
    ev::setBreakText(m_entry, m_break->currentText());
    return true;
}

void StartEndDialog::updateEnd() {
    int minutes = 0;
    if (m_entry.durationMinutes() > 0)
        minutes += m_entry.durationMinutes();
    if (m_entry.breakMinutes() > 0)
        minutes += m_entry.breakMinutes();
    m_end->setTime(m_start->time().addSecs(minutes * 60));
}

void StartEndDialog::accept() {
    if (!takeBreak())
        return;
    TimeEntry changed = m_entry;
    const QTime start = m_start->time(), end = m_end->time();
    ev::setStartTime(changed, start.hour(), start.minute());
    ev::setDurationHours(changed,
                         ev::spanHours(start.hour(), start.minute(), end.hour(), end.minute(),
                                       ev::leadingNumber(m_break->currentText())),
                         m_context.settings);
    if (const int message = ev::rangeMessage(changed)) {
        // A break longer than the time between start and end, for one.
        m_context.ui.message(resourceString(message), platform::MessageIcon::Warning, this);
        m_break->setFocus();
        return;
    }
    m_entry = changed;
    QDialog::accept();
}

}  // namespace tempolatch
