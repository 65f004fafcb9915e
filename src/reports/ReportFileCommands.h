#pragma once

#include <QString>
#include <functional>

#include "platform/FileTime.h"

class QWidget;

namespace tempolatch {

struct Context;
struct ExpenseCriteria;
class CommandTable;
struct WrittenInvoice;

// What the export and report commands need from the main window.
struct ReportFileCommandHost {
    Context* context = nullptr;
    QWidget* parent = nullptr;
    // The period the main view shows: the range the criteria sheet proposes.
    std::function<void(platform::SystemTime& start, platform::SystemTime& end)> period;
    // Shows a finished report (the desktop's browser or PDF viewer).
    std::function<void(const QString& path)> open;
    // Shows the entries again after an invoice marked them Billed.
    std::function<void()> reload;
};

// Export > XML...: criteria, file, export; message 76 when it fails.
void exportXml(const ReportFileCommandHost& host);

// Report > Group By..., Tabular..., Invoice... (kind 0-2): the layout
// dialog, criteria, file (HTML or PDF), the report shown; message 157
// when it fails. An invoice's criteria offer its client's expenses, and a
// written invoice offers to mark what it billed Billed.
void runReport(const ReportFileCommandHost& host, int kind);

// Asks whether to mark the Billable entries and expenses the invoice
// listed Billed; Yes marks them all in one transaction, or says that a
// refused write left every one as it was.
void offerToMarkBilled(const ReportFileCommandHost& host, const WrittenInvoice& invoice);

// What the expense reports ask for their expenses: the criteria for the
// report type (3 general, 4 mileage); false when the user does not confirm
// them.
using ExpenseCriteriaChooser = std::function<bool(int reportType, ExpenseCriteria& criteria)>;

// Report > Mileage Expense... and General Expense... of the expense window
// (kind 4 and 3): the layout dialog, the expense criteria, the file (HTML
// or PDF), the report shown; message 157 when it fails.
void runExpenseReport(const ReportFileCommandHost& host, int kind,
                      const ExpenseCriteriaChooser& chooseCriteria);

// Registers Export > XML... and the three reports.
void registerReportFileCommands(CommandTable& table, const ReportFileCommandHost& host);

}  // namespace tempolatch
