#include "editing/EntryGeneralPage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

#include "editing/ClientFieldLists.h"
#include "editing/EntryValues.h"
#include "editing/StartEndDialog.h"
#include "platform/Locale.h"
#include "platform/StringTable.h"
#include "platform/Ui.h"
#include "settings/Settings.h"
#include "store/RecordValues.h"
#include "widgets/DatePicker.h"
#include "widgets/TimeBox.h"

namespace tempolatch {

namespace ev = entryvalues;

EntryGeneralPage::EntryGeneralPage(EntryEditState& state, QWidget* parent)
    : EntryPage(state, parent) {
    setObjectName(QStringLiteral("generalPage"));
}

QString EntryGeneralPage::timeFormat() {
    return platform::Locale::timeFormatWithoutSeconds();
}

void EntryGeneralPage::build() {
    auto* form = new QFormLayout(this);
    m_date = new DateBox(this);
    m_date->setObjectName(QStringLiteral("date"));
    m_date->setDisplayFormat(platform::Locale::longDateFormat());
    useFramedCalendar(m_date);
    m_lists = new ClientFieldLists(context().store, this);
    m_client = m_lists->client();
    m_duration = new QComboBox(this);
    m_duration->setObjectName(QStringLiteral("duration"));
    m_duration->setEditable(true);
    m_duration->setInsertPolicy(QComboBox::NoInsert);
    m_duration->lineEdit()->setMaxLength(6);
    m_startBox = new QCheckBox(QStringLiteral("Start:"), this);
    m_startBox->setObjectName(QStringLiteral("startBox"));
    m_start = new TimeBox(this);
    m_start->setObjectName(QStringLiteral("startTime"));
    m_set = new QPushButton(QStringLiteral("Set..."), this);
    m_set->setObjectName(QStringLiteral("setButton"));

    form->addRow(QStringLiteral("Date:"), m_date);
    form->addRow(QStringLiteral("Client:"), m_client);
    form->addRow(QStringLiteral("Project:"), m_lists->project());
    form->addRow(QStringLiteral("Phase:"), m_lists->phase());
    form->addRow(QStringLiteral("Task:"), m_lists->task());
    form->addRow(QStringLiteral("Duration:"), m_duration);
    auto* startRow = new QHBoxLayout;
    startRow->addWidget(m_start, 1);
    startRow->addWidget(m_set);
    form->addRow(m_startBox, startRow);

    m_lists->fill();
    m_duration->addItems(ev::durationChoices(context().settings.timeIntervalMinutes()));

    const platform::SystemTime when = ev::dateTimeOf(entry());
    m_date->setDate(when.date());
    const bool hasStart = entry().hasStartTime();
    m_startBox->setChecked(hasStart);
    m_start->setTime(hasStart ? QTime(when.hour, when.minute) : QTime(0, 0));
    m_start->setEnabled(hasStart);

    m_lists->setTexts(entry().client, entry().project, entry().phase, entry().task);
    if (m_lists->selectedClientIndex() >= 0)
        clientChanged(false);
    m_duration->setEditText(hundredthsText(entry().duration));

    connect(m_lists, &ClientFieldLists::clientLeft, this, [this] { clientChanged(true); });
    connect(m_startBox, &QCheckBox::toggled, m_start, &QWidget::setEnabled);
    connect(m_set, &QPushButton::clicked, this, &EntryGeneralPage::setStartEnd);
}

void EntryGeneralPage::clientChanged(bool byUser) {
    const int index = m_lists->selectedClientIndex();
    const quint32 id = m_lists->selectedClientId();
    if (byUser && index >= 0 && id != state().clientId) {
        // Another client's rates apply: the Billing page picks anew.
        entry().rate = 0;
        entry().rateType = RateType::Normal;
    }
    state().clientId = id;
    state().clientName = index >= 0 ? m_client->itemText(index) : QString();
}

void EntryGeneralPage::warn(int messageId, QWidget* focus) {
    context().ui.message(resourceString(messageId), platform::MessageIcon::Warning, this);
    if (focus)
        focus->setFocus();
}

bool EntryGeneralPage::takeStartTime() {
    if (!m_startBox->isChecked()) {
        ev::clearStartTime(entry());
        return true;
    }
    const std::optional<QTime> start = m_start->time();
    if (!start) {
        context().ui.message(QStringLiteral("Type the start time as 9, 930, 9:30 or 17.5."),
                             platform::MessageIcon::Warning, this);
        m_start->setFocus();
        m_start->selectAll();
        return false;
    }
    ev::setStartTime(entry(), start->hour(), start->minute());
    return true;
}

void EntryGeneralPage::setStartEnd() {
    if (!takeStartTime())
        return;
    if (m_duration->currentText().isEmpty()) {
        warn(str::DurationRequired, m_duration);
        return;
    }
    ev::setDurationText(entry(), m_duration->currentText(), context().settings);
    StartEndDialog dialog(context(), entry(), this);
    if (dialog.exec() == QDialog::Accepted)
        entry() = dialog.entry();
    const platform::SystemTime when = ev::dateTimeOf(entry());
    m_start->setTime(QTime(when.hour, when.minute));
    m_startBox->setChecked(entry().hasStartTime());
    m_start->setEnabled(entry().hasStartTime());
    m_duration->setEditText(hundredthsText(entry().duration));
}

bool EntryGeneralPage::leave() {
    if (m_client->currentText().isEmpty()) {
        warn(str::ClientRequired, m_client);
        return false;
    }
    const int index = m_lists->selectedClientIndex();
    if (index >= 0) {
        const quint32 id = m_client->itemData(index).toUInt();
        if (id != state().clientId) {
            // Another client's rates apply: the Billing page picks anew.
            entry().rate = 0;
            entry().rateType = RateType::Normal;
        }
        state().clientId = id;
        state().clientName = m_client->itemText(index);
    }
    if (m_duration->currentText().isEmpty()) {
        warn(str::DurationRequired, m_duration);
        return false;
    }
    ev::setDurationText(entry(), m_duration->currentText(), context().settings);
    if (const int message = ev::rangeMessage(entry());
        message == str::DurationOutOfRange || message == str::BreakOutOfRange) {
        warn(message, m_duration);
        return false;
    }
    return true;
}

bool EntryGeneralPage::apply() {
    const QDate day = m_date->date();
    ev::setDate(entry(), day.year(), day.month(), day.day());
    if (!takeStartTime())
        return false;
    entry().client = m_client->currentText();
    entry().project = m_lists->project()->currentText();
    entry().phase = m_lists->phase()->currentText();
    if (m_lists->task()->currentText().isEmpty()) {
        warn(str::TaskRequired, m_lists->task());
        return false;
    }
    entry().task = m_lists->task()->currentText();
    if (!ev::isNumericText(m_duration->currentText())) {
        warn(str::NumericOnly, m_duration);
        return false;
    }
    return true;
}

}  // namespace tempolatch
