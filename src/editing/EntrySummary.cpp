#include "editing/EntrySummary.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "editing/EntryNotePage.h"
#include "editing/EntryValues.h"
#include "platform/Clock.h"
#include "platform/Locale.h"
#include "platform/StringTable.h"
#include "platform/Ui.h"
#include "settings/Settings.h"
#include "store/RecordStore.h"
#include "store/TimeEntries.h"
#include "views/ViewIcons.h"
#include "widgets/SetupIcons.h"
#include "widgets/WindowPlace.h"

namespace tempolatch {

namespace {

struct Row {
    QString text;
    bool section = false;
    QIcon icon;
};

// "Rate: USD 85.00": a currency and its amount with a space between.
QString money(const QString& currency, double amount) {
    const QString number = QString::asprintf("%.2f", amount);
    return currency.isEmpty() ? number : currency + QLatin1Char(' ') + number;
}

QList<Row> summaryRows(const TimeEntry& entry, const Settings& settings) {
    const bool precise = settings.hasFlag(PreciseCalculation);
    QList<Row> rows;
    // A section's title waits for its first row: a section with none is left out.
    QString pendingSection;
    const auto section = [&pendingSection](const QString& title) { pendingSection = title; };
    const auto row = [&](const QString& label, const QString& value, const QIcon& icon = {}) {
        if (value.isEmpty())
            return;
        if (!pendingSection.isEmpty()) {
            rows.append({pendingSection, true, {}});
            pendingSection.clear();
        }
        rows.append({label + QStringLiteral(": ") + value, false, icon});
    };
    const platform::SystemTime when = entryvalues::dateTimeOf(entry);
    section(QStringLiteral("General"));
    row(QStringLiteral("Date"),
        platform::Locale::formatDate(when, platform::Locale::longDateFormat()));
    row(QStringLiteral("Client"), entry.client);
    row(QStringLiteral("Project"), entry.project);
    row(QStringLiteral("Phase"), entry.phase);
    row(QStringLiteral("Task"), entry.task);
    QString duration = QString::asprintf("%.2f", entry.duration / 100.0) + QStringLiteral("h");
    if (entry.hasStartTime()) {
        const platform::SystemTime end =
            platform::toSystemTime(entry.endTime()).value_or(platform::SystemTime{});
        duration += QStringLiteral(" (") + platform::Locale::timeWithoutSeconds(when) +
                    QStringLiteral("-") + platform::Locale::timeWithoutSeconds(end) +
                    QStringLiteral(")");
    }
    row(QStringLiteral("Duration"), duration);
    const int status = qBound(0, int(entry.status), 3);
    row(QStringLiteral("Status"), resourceString(str::StatusNames + status),
        ViewIcons::statusIcon(status, false));
    section(QStringLiteral("Billing"));
    row(QStringLiteral("Bill To"), entry.billTo);
    if (entry.status != EntryStatus::NonBillable)
        row(QStringLiteral("Rate"), money(entry.currency, entry.rate / 100.0),
            rateTreeIcon(int(entry.rateType) + 1));
    row(QStringLiteral("Amount"), money(entry.currency, entry.amount(precise)));
    if (entry.status == EntryStatus::Paid && !entry.paidDate.isNull()) {
        if (auto paid = platform::toSystemTime(entry.paidDate))
            row(QStringLiteral("Paid"), platform::Locale::shortDate(*paid));
    }
    section(QStringLiteral("Custom Fields"));
    // Each value under the name the user gave its field.
    const std::pair<const QString&, const QString&> customs[] = {{settings.custom1, entry.custom1},
                                                                 {settings.custom2, entry.custom2},
                                                                 {settings.custom3, entry.custom3}};
    for (const auto& [label, value] : customs)
        row(label, value);
    return rows;
}

}  // namespace

EntrySummary::EntrySummary(Context& context, const TimeEntry& entry, QWidget* parent)
    : QDialog(parent), m_state(context) {
    setObjectName(QStringLiteral("entrySummary"));
    setWindowTitle(QStringLiteral("Entry Summary"));
    m_state.entry = entry;
    m_tabs = new QTabWidget(this);
    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("summaryList"));
    m_list->setHeaderHidden(true);
    m_list->setRootIsDecorated(false);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_notePage = new EntryNotePage(m_state, this);
    m_tabs->addTab(m_list, resourceString(str::SummaryPage));
    m_tabs->addTab(m_notePage, QStringLiteral("Note"));
    connect(m_tabs, &QTabWidget::currentChanged, this, [this](int index) {
        if (index == 1)
            m_notePage->activate();
    });
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    QPushButton* edit = buttons->addButton(QStringLiteral("Edit"), QDialogButtonBox::ActionRole);
    edit->setObjectName(QStringLiteral("editButton"));
    connect(edit, &QPushButton::clicked, this, [this] {
        m_editRequested = true;
        accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &EntrySummary::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    layout->addWidget(buttons);
    resize(420, 480);
    keepWindowPlace(this, context.registry, QStringLiteral("EntrySummary"));
    fill();
}

QStringList EntrySummary::rows(const TimeEntry& entry, const Settings& settings) {
    QStringList texts;
    for (const Row& r : summaryRows(entry, settings))
        texts.append(r.text);
    return texts;
}

void EntrySummary::fill() {
    QFont bold = m_list->font();
    bold.setBold(true);
    for (const Row& r : summaryRows(m_state.entry, m_state.context.settings)) {
        auto* item = new QTreeWidgetItem(m_list, {r.text});
        if (r.section) {
            item->setFont(0, bold);
            item->setBackground(0, palette().alternateBase());
        } else {
            item->setIcon(0, r.icon);
        }
    }
}

void EntrySummary::accept() {
    if (m_notePage->wasShown()) {
        if (!m_notePage->apply()) {
            m_editRequested = false;
            return;
        }
        if (m_notePage->noteChanged() && !saveNote()) {
            // Stays open with the note; closing once more gives it up.
            m_editRequested = false;
            m_saveFailed = true;
            return;
        }
    }
    QDialog::accept();
}

void EntrySummary::reject() {
    if (m_saveFailed)
        QDialog::reject();
    else
        accept();
}

bool EntrySummary::saveNote() {
    RecordStore& store = m_state.context.store;
    if (m_state.entry.recordId == 0 || !store.isOpen())
        return true;
    TimeEntry entry = m_state.entry;
    entry.modified = platform::Clock::nowFileTime();
    TimeEntries entries(store);
    const WriteResult result = entries.update(entry);
    // An entry deleted meanwhile has no note left to keep.
    if (result == WriteResult::Written || result == WriteResult::NotFound) {
        m_state.entry = entry;
        return true;
    }
    m_state.context.ui.message(QStringLiteral("Error: %1").arg(entries.lastError()),
                               platform::MessageIcon::Stop, this);
    return false;
}

}  // namespace tempolatch
