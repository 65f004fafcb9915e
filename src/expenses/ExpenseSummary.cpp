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
#include "settings/Context.h"
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

QList<ExpenseSummary::Row> ExpenseSummary::summaryRows(const ExpenseEntry& e,
                                                       const Settings& settings) {
    QList<Row> rows;
    const auto section = [&rows](const QString& title) { rows.append({title, true, false}); };
    const auto row = [&rows](const QString& text) { rows.append({text, false, false}); };
    const auto add = [&row](const QString& text) {
        if (!text.isEmpty())
            row(text);
    };
    section(kSections[0]);
    add(dayText(e.date, platform::Locale::longDateFormat()));
    rows.append({expenseTypeName(e.type), false, true});
    add(e.description);
    add(e.client);
    add(e.project);
    if (e.isMileage())
        row(QStringLiteral("%1 - %2 (%3)")
                .arg(e.startOdometer)
                .arg(e.endOdometer())
                .arg(e.distance));
    else
        add(e.category);

    section(kSections[1]);
    row(statusName(e.status));
    if (e.isMileage())
        row(e.currency + QString::asprintf("%.2f", e.amount / 100.0) +
            QStringLiteral(" x %1").arg(e.distance));
    row(e.currency + ExpenseRows::amountText(e));
    if (e.status == EntryStatus::Paid)
        add(dayText(e.paidDate, platform::Locale::shortDateFormat()));
    add(e.billTo);
    row(e.receipt ? QStringLiteral("Receipt") : QStringLiteral("No receipt"));

    section(kSections[2]);
    // Each value under the name the user gave its field.
    const std::pair<const QString&, const QString&> customs[] = {
        {settings.expenseCustom1, e.custom1}, {settings.expenseCustom2, e.custom2}};
    for (const auto& [label, value] : customs)
        if (!value.isEmpty())
            row(label + QStringLiteral(": ") + value);
    return rows;
}

QStringList ExpenseSummary::rows(const ExpenseEntry& expense, const Settings& settings) {
    QStringList texts;
    for (const Row& row : summaryRows(expense, settings))
        texts << row.text;
    return texts;
}

ExpenseSummary::ExpenseSummary(const ExpenseEntry& expense, Context& context, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("expenseSummary"));
    setWindowTitle(QStringLiteral("Expense Summary"));
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("summaryList"));
    QFont bold = m_list->font();
    bold.setBold(true);
    for (const Row& row : summaryRows(expense, context.settings)) {
        auto* item = new QListWidgetItem(row.text, m_list);
        if (row.section) {
            item->setFont(bold);
            item->setBackground(palette().alternateBase());
        }
        if (row.type)
            item->setIcon(ViewIcons::icon(ExpenseRows::kindIcon(expense)));
    }
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
    keepWindowPlace(this, context.registry, QStringLiteral("ExpenseSummary"));
}

}  // namespace tempolatch
