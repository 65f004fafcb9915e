#include "editing/CopyEntryDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QShortcut>
#include <QVBoxLayout>

#include "editing/EntryValues.h"
#include "editing/StartEndDialog.h"
#include "platform/Clock.h"
#include "platform/Locale.h"
#include "platform/StringTable.h"
#include "platform/Ui.h"
#include "settings/Context.h"
#include "settings/Settings.h"
#include "widgets/DatePicker.h"
#include "widgets/HelpWindow.h"
#include "widgets/WaitCursor.h"

namespace tempolatch {

namespace ev = entryvalues;

CopyEntryDialog::CopyEntryDialog(Context& context, const TimeEntry& entry, QWidget* parent)
    : CopyEntryDialog(context, QList<TimeEntry>{entry}, parent) {}

CopyEntryDialog::CopyEntryDialog(Context& context, const ExpenseEntry& expense, QWidget* parent)
    : CopyEntryDialog(context, QList<ExpenseEntry>{expense}, parent) {}

CopyEntryDialog::CopyEntryDialog(Context& context, const QList<TimeEntry>& entries, QWidget* parent)
    : CopyEntryDialog(context, entries.value(0).date, parent) {
    m_records = entries;
    setWindowTitle(entries.size() > 1 ? tr("Copy %1 Entries").arg(entries.size())
                                      : tr("Copy Entry"));
    m_duration = createDurationList(QStringLiteral("duration"), context.settings, this);
    m_duration->setEditText(entries.size() > 1
                                ? QString()
                                : QString::asprintf("%.2f", entries.value(0).duration / 100.0));
    if (entries.size() > 1)
        m_duration->lineEdit()->setPlaceholderText(tr("each entry's own"));
    m_grid->addWidget(new QLabel(tr("Duration:"), this), 0, 0);
    m_grid->addWidget(m_duration, 0, 1);
    setTabOrder(m_duration, m_onDate);
}

CopyEntryDialog::CopyEntryDialog(Context& context, const QList<ExpenseEntry>& expenses,
                                 QWidget* parent)
    : CopyEntryDialog(context, expenses.value(0).date, parent) {
    m_records = expenses;
    setWindowTitle(expenses.size() > 1 ? tr("Copy %1 Expenses").arg(expenses.size())
                                       : tr("Copy Expense"));
}

CopyEntryDialog::CopyEntryDialog(Context& context, platform::FileTime date, QWidget* parent)
    : QDialog(parent), m_context(context) {
    setObjectName(QStringLiteral("copyEntryDialog"));
    m_onDate = new QRadioButton(tr("Date:"), this);
    m_onDate->setObjectName(QStringLiteral("onDate"));
    m_restOfWeek = new QRadioButton(tr("Rest of the week"), this);
    m_restOfWeek->setObjectName(QStringLiteral("restOfWeek"));
    m_toEndDate = new QRadioButton(tr("Specific end date:"), this);
    m_toEndDate->setObjectName(QStringLiteral("toEndDate"));
    m_includeWeekend = new QCheckBox(tr("Include weekend"), this);
    m_includeWeekend->setObjectName(QStringLiteral("includeWeekend"));
    m_date = createDatePicker(QStringLiteral("date"), this);
    m_endDate = createDatePicker(QStringLiteral("endDate"), this);
    // Both pickers start on the day after the entry's.
    const QDate entryDay = platform::dateTimeOf(date).date();
    const QDate next = entryDay.isValid() ? entryDay.addDays(1) : platform::Clock::now().date();
    m_date->setDate(next);
    m_endDate->setDate(next);
    m_onDate->setChecked(true);

    // Row 0 is the duration's, for an entry.
    m_grid = new QGridLayout;
    m_grid->addWidget(m_onDate, 1, 0);
    m_grid->addWidget(m_date, 1, 1);
    m_grid->addWidget(m_restOfWeek, 2, 0, 1, 2);
    m_grid->addWidget(m_toEndDate, 3, 0);
    m_grid->addWidget(m_endDate, 3, 1);
    m_grid->addWidget(m_includeWeekend, 4, 0, 1, 2);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(m_grid);
    layout->addWidget(buttons);
    for (QRadioButton* target : {m_onDate, m_restOfWeek, m_toEndDate})
        connect(target, &QRadioButton::toggled, this, &CopyEntryDialog::targetChanged);
    targetChanged();
    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this,
            [] { HelpWindow::showTopic(QStringLiteral("copy")); });
}

void CopyEntryDialog::targetChanged() {
    m_date->setEnabled(m_onDate->isChecked());
    m_endDate->setEnabled(m_toEndDate->isChecked());
}

entrycopy::Choice CopyEntryDialog::choice() const {
    entrycopy::Choice c;
    c.target = m_onDate->isChecked()       ? entrycopy::Target::Date
               : m_restOfWeek->isChecked() ? entrycopy::Target::RestOfWeek
                                           : entrycopy::Target::EndDate;
    c.date = m_date->date();
    c.endDate = m_endDate->date();
    c.includeWeekend = m_includeWeekend->isChecked();
    return c;
}

bool CopyEntryDialog::takeDuration(QList<TimeEntry>& entries) {
    const QString text = m_duration->currentText().left(128);
    if (entries.size() > 1 && text.trimmed().isEmpty())
        return true;
    int message = ev::isNumericText(text) ? 0 : int(str::NumericOnly);
    for (TimeEntry& entry : entries) {
        if (message != 0)
            break;
        ev::setDurationText(entry, text, m_context.settings);
        message = ev::rangeMessage(entry);
    }
    if (message == 0)
        return true;
    m_context.ui.message(resourceString(message), platform::MessageIcon::Warning, this);
    m_duration->setFocus();
    return false;
}

QString CopyEntryDialog::copiesNotice(int written, entrycopy::Target target) {
    if (written == 1)
        return QStringLiteral("1 copy made.");
    if (written > 1)
        return QStringLiteral("%1 copies made.").arg(written);
    switch (target) {
        case entrycopy::Target::RestOfWeek:
            return QStringLiteral("No copies: the rest of the week is empty.");
        case entrycopy::Target::EndDate:
            return QStringLiteral("No copies: no day up to the end date follows the entry's.");
        case entrycopy::Target::Date:
            break;
    }
    return QStringLiteral("No copies were made.");
}

void CopyEntryDialog::accept() {
    auto copies = m_records;
    if (auto* entries = std::get_if<QList<TimeEntry>>(&copies); entries && !takeDuration(*entries))
        return;
    const bool weekStartsMonday = m_context.settings.hasFlag(WeekStartsMonday);
    const entrycopy::Choice chosen = choice();
    // Asked about as a whole: the days of every record, the latest last.
    qsizetype total = 0;
    QDate last;
    std::visit(
        [&](const auto& records) {
            for (const auto& record : records) {
                const QList<QDate> days = entrycopy::copyDays(
                    platform::dateTimeOf(record.date).date(), chosen, weekStartsMonday);
                total += days.size();
                if (!days.isEmpty() && (!last.isValid() || days.last() > last))
                    last = days.last();
            }
        },
        copies);
    if (total > entrycopy::MostCopiesUnasked &&
        !m_context.ui.question(
            tr("This makes %1 copies, one a day up to %2. Do you want to make them all?")
                .arg(total)
                .arg(platform::Locale::shortDate(
                    platform::SystemTime::fromDateTime(last.startOfDay()))),
            this)) {
        m_endDate->setFocus();
        return;
    }
    int error = 0;
    int written = 0;
    WriteResult result = WriteResult::Refused;
    {
        const WaitCursor wait;
        result = std::visit(
            [&](const auto& records) {
                return entrycopy::addCopiesOfEach(m_context.store, records, chosen,
                                                  weekStartsMonday, platform::Clock::nowFileTime(),
                                                  &error, &written);
            },
            copies);
    }
    if (!succeeded(result)) {
        m_context.ui.message(QStringLiteral("Error: %1").arg(error), platform::MessageIcon::Stop,
                             this);
        return;
    }
    m_written = written;
    m_context.ui.notice(copiesNotice(m_written, chosen.target));
    QDialog::accept();
}

}  // namespace tempolatch
