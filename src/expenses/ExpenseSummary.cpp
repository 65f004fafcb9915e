#include "expenses/ExpenseSummary.h"

#include <QDialogButtonBox>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "expenses/ExpenseRows.h"
#include "platform/Locale.h"
#include "platform/StringTable.h"
#include "settings/Settings.h"
#include "views/ViewIcons.h"
#include "widgets/WindowPlace.h"

namespace tempolatch {

namespace {

const QStringList kSections = {QStringLiteral("General"), QStringLiteral("Expense"),
                               QStringLiteral("Custom Fields")};

QString dayText(platform::FileTime time, const QString& format) {
    const auto st = platform::toSystemTime(time);
    return st ? platform::Locale::formatDate(*st, format) : QString();
}

}  // namespace

QStringList ExpenseSummary::rows(const ExpenseEntry& e, const Settings& settings) {
    QStringList rows;
    const auto add = [&rows](const QString& text) {
        if (!text.isEmpty())
            rows << text;
    };
    rows << kSections[0];
    add(dayText(e.date, platform::Locale::longDateFormat()));
    add(expenseTypeName(e.type));
    add(e.description);
    add(e.client);
    add(e.project);
    if (e.isMileage())
        rows << QStringLiteral("%1 - %2 (%3)")
                    .arg(e.startOdometer)
                    .arg(e.endOdometer())
                    .arg(e.distance);
    else
        add(e.category);

    rows << kSections[1];
    rows << statusName(e.status);
    if (e.isMileage())
        rows << e.currency + QString::asprintf("%.2f", e.amount / 100.0) +
                    QStringLiteral(" x %1").arg(e.distance);
    rows << e.currency + ExpenseRows::amountText(e);
    if (e.status == EntryStatus::Paid)
        add(dayText(e.paidDate, platform::Locale::shortDateFormat()));
    add(e.billTo);
    rows << (e.receipt ? QStringLiteral("Receipt") : QStringLiteral("No receipt"));

    rows << kSections[2];
    // Each value under the name the user gave its field.
    const std::pair<const QString&, const QString&> customs[] = {
        {settings.expenseCustom1, e.custom1}, {settings.expenseCustom2, e.custom2}};
    for (const auto& [label, value] : customs)
        if (!value.isEmpty())
            rows << label + QStringLiteral(": ") + value;
    return rows;
}

ExpenseSummary::ExpenseSummary(const ExpenseEntry& expense, const Settings& settings,
                               QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("expenseSummary"));
    setWindowTitle(QStringLiteral("Expense Summary"));
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("summaryList"));
    QFont bold = m_list->font();
    bold.setBold(true);
    for (const QString& text : rows(expense, settings)) {
        auto* item = new QListWidgetItem(text, m_list);
        if (kSections.contains(text)) {
            item->setFont(bold);
            item->setBackground(palette().alternateBase());
        }
    }
    if (QListWidgetItem* kind = m_list->item(2))
        kind->setIcon(ViewIcons::icon(ExpenseRows::kindIcon(expense)));
    auto* note = new QPlainTextEdit(expense.note, this);
    note->setObjectName(QStringLiteral("note"));
    note->setReadOnly(true);
    auto* tabs = new QTabWidget(this);
    tabs->addTab(m_list, resourceString(str::SummaryPage));
    tabs->addTab(note, QStringLiteral("Note"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    QPushButton* edit = buttons->addButton(QStringLiteral("Edit"), QDialogButtonBox::ActionRole);
    edit->setObjectName(QStringLiteral("editButton"));
    connect(edit, &QPushButton::clicked, this, [this] {
        m_editRequested = true;
        accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs);
    layout->addWidget(buttons);
    resize(400, 440);
    keepWindowPlace(this, QStringLiteral("ExpenseSummary"));
}

}  // namespace tempolatch
