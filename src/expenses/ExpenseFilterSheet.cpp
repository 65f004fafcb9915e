#include "expenses/ExpenseFilterSheet.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QKeySequence>
#include <QPushButton>
#include <QShortcut>
#include <QTabWidget>
#include <QVBoxLayout>

#include "records/ExpenseFilter.h"
#include "records/PeriodMath.h"
#include "settings/Context.h"
#include "settings/Settings.h"
#include "store/Lists.h"
#include "store/RecordStore.h"
#include "views/FilterLists.h"
#include "widgets/DatePicker.h"
#include "widgets/HelpWindow.h"
#include "widgets/WindowPlace.h"

namespace tempolatch {

using namespace filterlists;

namespace {

// The status boxes, in page order, with the flag each stands for.
struct StatusBox {
    const char* name;
    const char* text;
    bool ExpenseFilter::*flag;
};
constexpr StatusBox kStatusBoxes[] = {
    {"unpaid", "Unpaid", &ExpenseFilter::billable},
    {"billed", "Billed", &ExpenseFilter::billed},
    {"paid", "Paid", &ExpenseFilter::paid},
    {"nonBillable", "Non Billable", &ExpenseFilter::nonBillable},
};

// Receipt list items after "(All)": the criterion of each.
constexpr int kReceiptOfItem[] = {ExpenseFilter::AnyReceipt, ExpenseFilter::WithReceipt,
                                  ExpenseFilter::WithoutReceipt};

bool isKnownType(qint32 type) {
    return type == qint32(ExpenseType::General) || type == qint32(ExpenseType::Mileage);
}

QString criteriaTitle(CriteriaMode mode) {
    switch (mode) {
        case CriteriaMode::MarkPaid:
            return QStringLiteral("Mark Paid Entries");
        case CriteriaMode::MarkBilled:
            return QStringLiteral("Mark Billed Entries");
        case CriteriaMode::Any:
            break;
    }
    return QStringLiteral("Choose Expenses");
}

platform::SystemTime dayOf(const QDate& date) {
    return platform::SystemTime::fromDateTime(QDateTime(date, QTime(0, 0)));
}

}  // namespace

ExpenseFilterSheet::ExpenseFilterSheet(ExpenseFilter& filter, Context& context,
                                       const QString& custom1Label, const QString& custom2Label,
                                       QWidget* parent)
    : QDialog(parent), m_filter(filter), m_store(context.store) {
    setObjectName(QStringLiteral("expenseFilterSheet"));
    setWindowTitle(QStringLiteral("Expense Filter"));
    build(custom1Label, custom2Label);
    keepWindowPlace(this, context.registry, QStringLiteral("ExpenseFilter"));
    showFilter(m_filter);
}

ExpenseFilterSheet::ExpenseFilterSheet(ExpenseFilter& criteria, CriteriaMode mode, Context& context,
                                       const QString& custom1Label, const QString& custom2Label,
                                       QWidget* parent)
    : QDialog(parent),
      m_filter(criteria),
      m_store(context.store),
      m_mode(mode),
      m_typeFixed(isKnownType(criteria.type)) {
    setObjectName(QStringLiteral("expenseCriteriaSheet"));
    setWindowTitle(criteriaTitle(mode));
    m_start = createDatePicker(QStringLiteral("start"), this);
    m_end = createDatePicker(QStringLiteral("end"), this);
    build(custom1Label, custom2Label);
    keepWindowPlace(this, context.registry, QStringLiteral("ExpenseFilter"));
    m_start->setDate(criteria.startDate.date());
    m_end->setDate(criteria.endDate.date());
    ExpenseFilter shown = criteria;
    applyModeStatuses(mode, shown);
    showFilter(shown);
    const StatusBoxesEnabled enabled = statusBoxesEnabled(mode);
    const bool boxEnabled[] = {enabled.unpaid, enabled.billed, enabled.paid, enabled.nonBillable};
    for (std::size_t i = 0; i < std::size(kStatusBoxes); ++i)
        m_statuses[i]->setEnabled(boxEnabled[i]);
    m_type->setEnabled(!m_typeFixed);
    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this,
            [] { HelpWindow::showTopic(QStringLiteral("expensecriteria")); });
}

void ExpenseFilterSheet::build(const QString& custom1Label, const QString& custom2Label) {
    auto* tabs = new QTabWidget(this);
    tabs->addTab(createFilterPage(), QStringLiteral("Filter"));
    tabs->addTab(createMoreChoicesPage(custom1Label, custom2Label), QStringLiteral("More Choices"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    QPushButton* clearButton =
        buttons->addButton(QStringLiteral("Clear"), QDialogButtonBox::ResetRole);
    clearButton->setObjectName(QStringLiteral("clear"));
    connect(clearButton, &QPushButton::clicked, this, &ExpenseFilterSheet::clear);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs);
    layout->addWidget(buttons);
    connect(m_client, &QComboBox::activated, this, &ExpenseFilterSheet::clientChosen);
}

QWidget* ExpenseFilterSheet::createFilterPage() {
    auto* page = new QWidget(this);
    auto* form = new QFormLayout(page);
    if (isCriteriaSheet()) {
        m_start->setParent(page);
        m_end->setParent(page);
        form->addRow(QStringLiteral("Start:"), m_start);
        form->addRow(QStringLiteral("End:"), m_end);
    }
    m_client = filterlists::create(page, "client");
    fillClients(m_client, m_store);
    m_project = filterlists::create(page, "project");
    m_category = filterlists::create(page, "category");
    setItems(m_category, m_store.lists().texts(ListKind::Category));
    m_billTo = filterlists::create(page, "billTo");
    form->addRow(QStringLiteral("Client:"), m_client);
    form->addRow(QStringLiteral("Project:"), m_project);
    form->addRow(QStringLiteral("Category:"), m_category);
    form->addRow(QStringLiteral("Bill To:"), m_billTo);
    for (std::size_t i = 0; i < std::size(kStatusBoxes); ++i) {
        m_statuses[i] = new QCheckBox(QString::fromLatin1(kStatusBoxes[i].text), page);
        m_statuses[i]->setObjectName(QString::fromLatin1(kStatusBoxes[i].name));
        form->addRow(m_statuses[i]);
    }
    return page;
}

QWidget* ExpenseFilterSheet::createMoreChoicesPage(const QString& custom1Label,
                                                   const QString& custom2Label) {
    auto* page = new QWidget(this);
    auto* form = new QFormLayout(page);
    Lists lists = m_store.lists();
    m_currency = filterlists::create(page, "currency");
    setItems(m_currency, lists.texts(ListKind::Currency));
    m_custom1 = filterlists::create(page, "custom1");
    setItems(m_custom1, lists.texts(ListKind::Custom1));
    m_custom2 = filterlists::create(page, "custom2");
    setItems(m_custom2, lists.texts(ListKind::Custom2));
    m_type = filterlists::create(page, "type");
    setItems(m_type,
             {expenseTypeName(ExpenseType::General), expenseTypeName(ExpenseType::Mileage)});
    m_receipt = filterlists::create(page, "receipt");
    setItems(m_receipt, {QStringLiteral("With Receipt"), QStringLiteral("Without Receipt")});
    form->addRow(QStringLiteral("Currency:"), m_currency);
    form->addRow(custom1Label + QLatin1Char(':'), m_custom1);
    form->addRow(custom2Label + QLatin1Char(':'), m_custom2);
    form->addRow(QStringLiteral("Type:"), m_type);
    form->addRow(QStringLiteral("Receipt:"), m_receipt);
    return page;
}

void ExpenseFilterSheet::showFilter(const ExpenseFilter& filter) {
    showText(m_client, filter.client);
    // The projects and contacts of the chosen client, so that its criteria
    // are there to keep.
    fillProjectsAndContacts(m_project, m_billTo, m_store, m_client->currentData().toUInt());
    showText(m_project, filter.project);
    showText(m_category, filter.category);
    showText(m_billTo, filter.billTo);
    for (std::size_t i = 0; i < std::size(kStatusBoxes); ++i)
        m_statuses[i]->setChecked(filter.*kStatusBoxes[i].flag);
    showText(m_currency, filter.currency);
    showText(m_custom1, filter.custom1);
    showText(m_custom2, filter.custom2);
    m_type->setCurrentIndex(isKnownType(filter.type) ? filter.type + 1 : 0);
    const auto* item =
        std::find(std::begin(kReceiptOfItem), std::end(kReceiptOfItem), filter.receipt);
    m_receipt->setCurrentIndex(
        item == std::end(kReceiptOfItem) ? 0 : int(item - std::begin(kReceiptOfItem)));
}

void ExpenseFilterSheet::clientChosen(int index) {
    fillProjectsAndContacts(m_project, m_billTo, m_store, m_client->itemData(index).toUInt());
    m_project->setCurrentIndex(0);
    m_billTo->setCurrentIndex(0);
}

void ExpenseFilterSheet::clear() {
    ExpenseFilter cleared;
    applyModeStatuses(m_mode, cleared);
    if (m_typeFixed)
        cleared.type = m_filter.type;
    showFilter(cleared);
}

void ExpenseFilterSheet::accept() {
    ExpenseFilter chosen;
    if (isCriteriaSheet()) {
        // The end picker names a day: every expense of that day is in.
        chosen.startDate = periodmath::dateOnly(dayOf(m_start->date()));
        chosen.endDate = periodmath::endOfDay(dayOf(m_end->date()));
    } else {
        // The window's filter has no range of its own: it stays as it was.
        chosen.startDate = m_filter.startDate;
        chosen.endDate = m_filter.endDate;
    }
    chosen.client = chosenText(m_client);
    chosen.project = chosenText(m_project);
    chosen.category = chosenText(m_category);
    chosen.billTo = chosenText(m_billTo);
    for (std::size_t i = 0; i < std::size(kStatusBoxes); ++i)
        chosen.*kStatusBoxes[i].flag = m_statuses[i]->isChecked();
    chosen.currency = chosenText(m_currency);
    chosen.custom1 = chosenText(m_custom1);
    chosen.custom2 = chosenText(m_custom2);
    chosen.type = qMax(0, m_type->currentIndex()) - 1;
    chosen.receipt = kReceiptOfItem[qBound(0, m_receipt->currentIndex(), 2)];
    applyModeStatuses(m_mode, chosen);
    if (m_typeFixed)
        chosen.type = m_filter.type;
    m_filter = chosen;
    QDialog::accept();
}

bool runExpenseCriteria(Context& context, QWidget* parent, CriteriaMode mode,
                        const platform::SystemTime& periodStart,
                        const platform::SystemTime& periodEnd, qint32 type,
                        ExpenseFilter& criteria) {
    ExpenseFilter chosen = ExpenseFilter::preset(mode, periodStart, periodEnd, type);
    const Settings& s = context.settings;
    ExpenseFilterSheet sheet(chosen, mode, context, s.expenseCustom1, s.expenseCustom2, parent);
    if (sheet.exec() != QDialog::Accepted)
        return false;
    criteria = chosen;
    return true;
}

}  // namespace tempolatch
