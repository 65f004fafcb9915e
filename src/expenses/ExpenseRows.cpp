#include "expenses/ExpenseRows.h"

#include "platform/Locale.h"
#include "platform/StringTable.h"
#include "records/ExpenseFilter.h"
#include "settings/Settings.h"
#include "store/Expenses.h"
#include "store/RecordStore.h"

namespace tempolatch {

namespace {

QString dateText(platform::FileTime time) {
    const auto st = platform::toSystemTime(time);
    return st ? platform::Locale::shortDate(*st) : QString();
}

QString numberText(double value) {
    return platform::Locale::current().toString(value, 'f', 2);
}

QString amountOf(const ExpenseEntry& expense) {
    return localeCentsText(centsOf(expense.totalAmount()));
}

}  // namespace

const ColumnLayout& ExpenseRows::columns() {
    static const ColumnLayout layout{
        {
            {5001, 80, false},                      // Entry Date
            {str::DescriptionList, 100, false},     // Description
            {5002, 100, false},                     // Client
            {5003, 100, false},                     // Project
            {str::CategoryList, 100, false},        // Category
            {str::ExpenseStartOdometer, 65, true},  // Start Odo.
            {str::ExpenseEndOdometer, 65, true},    // End Odo.
            {str::ExpenseDistance, 65, true},       // Distance
            {5007, 70, false},                      // Currency
            {5009, 70, true},                       // Rate
            {5016, 70, true},                       // Amount
            {str::ExpenseReceipt, 65, false},       // Receipt
            {5011, 80, false},                      // Bill To
            {str::Custom1, 70, false},              // Custom 1
            {str::Custom2, 70, false},              // Custom 2
        },
        QStringLiteral("ExpColOrder"),
        QStringLiteral("ExpColumn%d"),
        11,
    };
    return layout;
}

QString ExpenseRows::kindIcon(const ExpenseEntry& expense) {
    return expense.isMileage() ? QStringLiteral("expense-mileage")
                               : QStringLiteral("expense-general");
}

QString ExpenseRows::amountText(const ExpenseEntry& expense) {
    return moneyText(expense.totalAmount());
}

EntryRow ExpenseRows::build(const ExpenseEntry& expense, const RowContext& context) {
    EntryRow row;
    row.recordId = expense.recordId;
    row.status = int(expense.status);
    row.hasNote = !expense.note.isEmpty();
    row.keys.reserve(ExpenseFilter::MaxArrangeBy + 1);
    for (int index = 0; index <= ExpenseFilter::MaxArrangeBy; ++index)
        row.keys.append(ExpenseFilter::sortKey(expense, index));
    // Equal keys: the expense date, then the time of the last change.
    row.date = expense.date;
    row.tieTime = expense.modified;
    if (context.listStyle == EntryList::Simple)
        fillSimple(row, expense);
    else
        fillDefault(row, expense, context.dayView);
    return row;
}

void ExpenseRows::fillDefault(EntryRow& row, const ExpenseEntry& expense, bool dayView) {
    row.statusIcon = true;
    row.kindIcon = kindIcon(expense);
    row.line1Right = amountText(expense);
    const QString distance = QString::number(expense.distance);
    QString line1;
    QString line2 = expense.description;
    if (dayView) {
        line1 = expense.isMileage() ? distance : expense.category;
    } else {
        line1 = dateText(expense.date) + QLatin1Char(' ');
        if (expense.isMileage())
            line2 += QStringLiteral(" (") + distance + QLatin1Char(')');
        else if (!expense.category.isEmpty())
            line2 += QStringLiteral(" (") + expense.category + QLatin1Char(')');
    }
    QString line3 = expense.client;
    if (!expense.project.isEmpty())
        line3 += QStringLiteral(" (") + expense.project + QLatin1Char(')');
    row.lines = {line1, line2, line3};
}

void ExpenseRows::fillSimple(EntryRow& row, const ExpenseEntry& expense) {
    const bool mileage = expense.isMileage();
    const bool billable = expense.status != EntryStatus::NonBillable;
    const auto mileageOnly = [mileage](qint32 value) {
        return mileage ? QString::number(value) : QString();
    };
    row.cells = {
        dateText(expense.date),
        expense.description,
        expense.client,
        expense.project,
        mileage ? QString() : expense.category,
        mileageOnly(expense.startOdometer),
        mileageOnly(expense.endOdometer()),
        mileageOnly(expense.distance),
        billable ? expense.currency : QString(),
        billable && mileage ? numberText(expense.amount / 100.0) : QString(),
        billable ? amountOf(expense) : QString(),
        expense.receipt ? QStringLiteral("Y") : QStringLiteral("N"),
        billable ? expense.billTo : QString(),
        expense.custom1,
        expense.custom2,
    };
}

void ExpenseRecords::beginLoad() {
    m_count = 0;
    m_amounts = MoneyTotals();
}

bool ExpenseRecords::walk(platform::FileTime from, platform::FileTime to,
                          const RecordAccess::Visit& visit) {
    if (!m_store.isOpen())
        return false;
    Expenses(m_store).forEachStoredInRange(from, to, visit);
    return true;
}

void ExpenseRecords::addRecord(const platform::PropertyList& props, quint32 recordId, bool select,
                               const RowContext& context, EntryList& list) {
    ExpenseEntry expense;
    expense.recordId = recordId;
    expense.setFromProperties(props);
    if (!m_filter.matches(expense))
        return;
    ++m_count;
    if (expense.status != EntryStatus::NonBillable)
        m_amounts.add(expense.currency, expense.totalAmount());
    list.addRow(ExpenseRows::build(expense, context), select);
}

int ExpenseRecords::arrangeBy() const {
    return m_settings.expSort;
}

QString ExpenseRecords::totalsText() const {
    if (m_count == 0)
        return QStringLiteral("No expenses in this period");
    QStringList parts{m_count == 1 ? QStringLiteral("1 expense")
                                   : QStringLiteral("%1 expenses").arg(m_count)};
    // As the main window's line: each currency apart, in the list's number format.
    parts << m_amounts.localeTexts();
    return parts.join(QStringLiteral(", "));
}

}  // namespace tempolatch
