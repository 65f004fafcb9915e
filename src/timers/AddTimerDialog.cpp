#include "timers/AddTimerDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QTimeEdit>
#include <algorithm>

#include "editing/ClientFieldLists.h"
#include "editing/EntryGeneralPage.h"
#include "editing/EntrySaver.h"
#include "platform/Clock.h"
#include "platform/StringTable.h"
#include "platform/Ui.h"
#include "settings/Context.h"

namespace tempolatch {

AddTimerDialog::AddTimerDialog(Context& context, const TimeEntry* from, QWidget* parent)
    : QDialog(parent), m_context(context) {
    setObjectName(QStringLiteral("addTimer"));
    setWindowTitle(QStringLiteral("Add Timer"));
    auto* form = new QFormLayout(this);
    m_lists = new ClientFieldLists(context.store, this);
    m_startBox = new QCheckBox(QStringLiteral("Start Time:"), this);
    m_startBox->setObjectName(QStringLiteral("startBox"));
    m_start = new QTimeEdit(this);
    m_start->setObjectName(QStringLiteral("startTime"));
    m_start->setDisplayFormat(EntryGeneralPage::timeFormat());
    const platform::SystemTime now = platform::Clock::now();
    m_start->setTime(QTime(now.hour, now.minute));
    m_start->setEnabled(false);
    connect(m_startBox, &QCheckBox::toggled, m_start, &QWidget::setEnabled);

    form->addRow(QStringLiteral("Client:"), m_lists->client());
    form->addRow(QStringLiteral("Project:"), m_lists->project());
    form->addRow(QStringLiteral("Phase:"), m_lists->phase());
    form->addRow(QStringLiteral("Task:"), m_lists->task());
    form->addRow(m_startBox, m_start);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName(QStringLiteral("buttons"));
    connect(buttons, &QDialogButtonBox::accepted, this, &AddTimerDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &AddTimerDialog::reject);
    form->addRow(buttons);

    m_lists->fill();
    if (from)
        m_lists->setTexts(from->client, from->project, from->phase, from->task);
    else
        m_lists->setTexts({}, {}, {}, {});
    // Room for a client's and a project's full names.
    resize(std::max(420, sizeHint().width()), sizeHint().height());
}

void AddTimerDialog::accept() {
    TimerStart result;
    result.client = m_lists->client()->currentText();
    result.project = m_lists->project()->currentText();
    result.phase = m_lists->phase()->currentText();
    result.task = m_lists->task()->currentText();
    if (m_startBox->isChecked()) {
        const platform::SystemTime now = platform::Clock::now();
        const platform::SystemTime start =
            timers::startToday(now, m_start->time().hour(), m_start->time().minute());
        // Elapsed time can never be negative: a start still to come is refused.
        if (timers::isFutureStart(start, now)) {
            m_context.ui.message(resourceString(str::FutureTimerStart),
                                 platform::MessageIcon::Warning, this);
            m_start->setFocus();
            return;
        }
        result.givenStart = start;
    }
    TimeEntry named;
    named.client = result.client;
    named.project = result.project;
    named.phase = result.phase;
    named.task = result.task;
    EntrySaver saver(m_context.store);
    if (saver.saveStructure(named) == WriteResult::Refused) {
        m_context.ui.message(QStringLiteral("Error: %1").arg(saver.error()),
                             platform::MessageIcon::Stop, this);
        return;
    }
    m_result = result;
    QDialog::accept();
}

}  // namespace tempolatch
