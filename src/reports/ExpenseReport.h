#pragma once

#include <QList>
#include <QString>
#include <memory>

#include "records/ExpenseCriteria.h"
#include "reports/PageStream.h"
#include "reports/ReportLayout.h"

namespace tempolatch {

class RecordStore;

class ExpenseEntry;
class Settings;

// The HTML page of an expense report, General Expense or Mileage Expense
// by the layout's report type: the title, the owner block, "Bill To" with
// the first expense's bill-to and client, one table of the expenses of the
// layout's type that the criteria choose, their total row, and the report
// date. With no such expense the page keeps only the title, the owner
// block and the footer.
class ExpenseReport {
public:
    // The writer of an expense layout; nullptr for any other report type.
    static std::unique_ptr<ExpenseReport> make(const ReportLayout& layout,
                                               const Settings& settings);

    // The whole page as text, the document type declaration first; its
    // meta element says the bytes will be in `charset`.
    QString page(RecordStore& db, const ExpenseCriteria& criteria, const QString& charset);
    // The same page given to `sink` in pieces as it is made; false when the
    // sink refused one.
    bool write(RecordStore& db, const ExpenseCriteria& criteria, const QString& charset,
               const PageStream::Sink& sink);

    // A column's caption: the user's expense labels for the custom fields.
    static QString caption(int field, const Settings& settings);

private:
    ExpenseReport(const ReportLayout& layout, const Settings& settings);

    ReportLayout m_layout;
    const Settings& m_settings;
};

// An expense field's text in a report's cell.
QString expenseCellText(const ExpenseEntry& e, int field);

// The caption of an expense field as the layout dialog lists it.
QString expenseFieldCaption(int field);

}  // namespace tempolatch
