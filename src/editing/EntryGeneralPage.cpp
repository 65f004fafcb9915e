#include "editing/EntryGeneralPage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QTimeEdit>

#include "editing/EntryValues.h"
#include "editing/StartEndDialog.h"
#include "platform/Locale.h"
#include "platform/StringTable.h"
#include "platform/Ui.h"
#include "settings/Settings.h"
#include "store/Client.h"
#include "store/ClientNames.h"
#include "store/Lists.h"
#include "store/Project.h"
#include "store/RecordStore.h"
#include "store/RecordValues.h"
#include "widgets/DropLists.h"

namespace tempolatch {

namespace ev = entryvalues;

namespace {

QComboBox* editableList(const QString& name, int maxLength, QWidget* parent) {
    return droplists::createEditable(parent, name, maxLength);
}

using droplists::refill;

}  // namespace

EntryGeneralPage::EntryGeneralPage(EntryEditState& state, QWidget* parent)
    : EntryPage(state, parent) {
    setObjectName(QStringLiteral("generalPage"));
}

QString EntryGeneralPage::timeFormat() {
    return platform::Locale::timeFormatWithoutSeconds();
}

void EntryGeneralPage::build() {
    auto* form = new QFormLayout(this);
    m_date = new QDateEdit(this);
    m_date->setObjectName(QStringLiteral("date"));
    m_date->setDisplayFormat(platform::Locale::longDateFormat());
    m_date->setCalendarPopup(true);
    m_client = editableList(QStringLiteral("client"), 127, this);
    m_project = editableList(QStringLiteral("project"), 127, this);
    m_phase = editableList(QStringLiteral("phase"), 127, this);
    m_task = editableList(QStringLiteral("task"), 127, this);
    m_duration = editableList(QStringLiteral("duration"), 6, this);
    m_startBox = new QCheckBox(QStringLiteral("Start:"), this);
    m_startBox->setObjectName(QStringLiteral("startBox"));
    m_start = new QTimeEdit(this);
    m_start->setObjectName(QStringLiteral("startTime"));
    m_start->setDisplayFormat(timeFormat());
    m_set = new QPushButton(QStringLiteral("Set..."), this);
    m_set->setObjectName(QStringLiteral("setButton"));

    form->addRow(QStringLiteral("Date:"), m_date);
    form->addRow(QStringLiteral("Client:"), m_client);
    form->addRow(QStringLiteral("Project:"), m_project);
    form->addRow(QStringLiteral("Phase:"), m_phase);
    form->addRow(QStringLiteral("Task:"), m_task);
    form->addRow(QStringLiteral("Duration:"), m_duration);
    auto* startRow = new QHBoxLayout;
    startRow->addWidget(m_start, 1);
    startRow->addWidget(m_set);
    form->addRow(m_startBox, startRow);

    RecordStore& store = context().store;
    ClientStructureStore& structure = store.clientStructure();
    if (store.isOpen()) {
        for (const Client& c : listClients(structure.clients))
            m_client->addItem(c.name, c.clientId);
    }
    m_client->setCurrentIndex(-1);
    refillProjectsAndTasks(0);
    m_phase->addItems(Lists(context().store.objectStore()).texts(ListKind::Phase));
    m_phase->setCurrentIndex(-1);
    m_duration->addItems(ev::durationChoices(context().settings.timeIntervalMinutes()));

    const platform::SystemTime when = ev::dateTimeOf(entry());
    m_date->setDate(when.date());
    const bool hasStart = entry().hasStartTime();
    m_startBox->setChecked(hasStart);
    m_start->setTime(hasStart ? QTime(when.hour, when.minute) : QTime(0, 0));
    m_start->setEnabled(hasStart);

    const int clientIndex = m_client->findText(entry().client, Qt::MatchFixedString);
    if (clientIndex >= 0) {
        m_client->setCurrentIndex(clientIndex);
        clientChanged(false);
    } else {
        m_client->setEditText(entry().client);
    }
    m_project->setEditText(entry().project);
    projectChanged();
    m_phase->setEditText(entry().phase);
    m_task->setEditText(entry().task);
    m_duration->setEditText(hundredthsText(entry().duration));

    m_client->installEventFilter(this);
    m_client->lineEdit()->installEventFilter(this);
    m_project->installEventFilter(this);
    m_project->lineEdit()->installEventFilter(this);
    connect(m_client, &QComboBox::activated, this, [this] { clientChanged(true); });
    connect(m_project, &QComboBox::activated, this, [this] { projectChanged(); });
    connect(m_startBox, &QCheckBox::toggled, m_start, &QWidget::setEnabled);
    connect(m_set, &QPushButton::clicked, this, &EntryGeneralPage::setStartEnd);
}

bool EntryGeneralPage::eventFilter(QObject* watched, QEvent* event) {
    // Only while the user works on the page, not as the dialog closes.
    if (event->type() == QEvent::FocusOut && isVisible()) {
        if (watched == m_client || watched == m_client->lineEdit())
            clientChanged(true);
        else if (watched == m_project || watched == m_project->lineEdit())
            projectChanged();
    }
    return EntryPage::eventFilter(watched, event);
}

int EntryGeneralPage::selectedClientIndex() const {
    // Names compare exactly: a client typed in another case is a new client.
    return m_client->findText(m_client->currentText(), Qt::MatchExactly | Qt::MatchCaseSensitive);
}

void EntryGeneralPage::refillProjectsAndTasks(quint32 clientId) {
    RecordStore& store = context().store;
    if (!store.isOpen())
        return;
    ClientStructureStore& structure = store.clientStructure();
    refill(m_project, listProjects(structure.projects, clientId));
    refill(m_task, listTasks(structure.tasks, clientId));
}

void EntryGeneralPage::clientChanged(bool byUser) {
    const int index = selectedClientIndex();
    const quint32 id = index >= 0 ? m_client->itemData(index).toUInt() : 0;
    if (byUser && index >= 0 && id != state().clientId) {
        // Another client's rates apply: the Billing page picks anew.
        entry().rate = 0;
        entry().rateType = RateType::Normal;
    }
    state().clientId = id;
    state().clientName = index >= 0 ? m_client->itemText(index) : QString();
    refillProjectsAndTasks(state().clientId);
}

void EntryGeneralPage::projectChanged() {
    const int index = selectedClientIndex();
    RecordStore& store = context().store;
    if (index < 0 || !store.isOpen())
        return;
    ClientStructureStore& structure = store.clientStructure();
    const quint32 clientId = m_client->itemData(index).toUInt();
    const QString project = m_project->currentText();
    refill(m_task, project.isEmpty() ? listTasks(structure.tasks, clientId)
                                     : listProjectTasks(structure.projects, clientId, project));
}

void EntryGeneralPage::warn(int messageId, QWidget* focus) {
    context().ui.message(resourceString(messageId), platform::MessageIcon::Warning, this);
    if (focus)
        focus->setFocus();
}

void EntryGeneralPage::setStartEnd() {
    if (m_startBox->isChecked())
        ev::setStartTime(entry(), m_start->time().hour(), m_start->time().minute());
    else
        ev::clearStartTime(entry());
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
    const int index = selectedClientIndex();
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
    if (m_startBox->isChecked())
        ev::setStartTime(entry(), m_start->time().hour(), m_start->time().minute());
    else
        ev::clearStartTime(entry());
    entry().client = m_client->currentText();
    entry().project = m_project->currentText();
    entry().phase = m_phase->currentText();
    if (m_task->currentText().isEmpty()) {
        warn(str::TaskRequired, m_task);
        return false;
    }
    entry().task = m_task->currentText();
    if (!ev::isNumericText(m_duration->currentText())) {
        warn(str::NumericOnly, m_duration);
        return false;
    }
    return true;
}

}  // namespace tempolatch
