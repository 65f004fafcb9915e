#pragma once

#include <QString>

#include "records/InvoiceItems.h"

namespace tempolatch {

struct Context;
class EntryFilter;
struct ExpenseCriteria;
class RecordStore;
class ReportLayout;
class Settings;

// The files the export and report commands write, for the window and the
// command line alike. Each goes to a temporary file that replaces the
// target only when complete; false (with any earlier file left as it was)
// when it cannot be written.

// The message when a report cannot be written.
inline constexpr int ReportFailedMessage = 157;

// The XML export of the entries the criteria choose.
// `written`, when given, counts the entries in the file.
bool writeXmlFile(RecordStore& store, const Settings& settings, const EntryFilter& criteria,
                  const QString& path, int* written = nullptr);

// What an invoice is written with beyond its layout and criteria.
struct InvoiceRequest {
    // Printed instead of the sequence's next; empty: the sequence's next
    // when the layout leaves its number open ("-" or none), else the
    // layout's own.
    QString number;
    // The criteria's billable expenses as a second table, added into the
    // total due.
    bool withExpenses = false;
};

// What a written invoice holds.
struct WrittenInvoice {
    QString number;  // as printed; none for "-"
    InvoiceItems items;
};

// The report page as HTML in the locale's character set, or as PDF when
// the path ends in ".pdf" (which needs a QGuiApplication). A number the
// sequence (Options) gives moves it on only when the file was written.
// `written`, when given, gets the invoice's number and what it billed.
bool writeReportFile(Context& context, const ReportLayout& layout, const EntryFilter& criteria,
                     const QString& path, const InvoiceRequest& invoice = {},
                     WrittenInvoice* written = nullptr);

// Whether an invoice layout leaves its number to the sequence.
bool leavesNumberOpen(const ReportLayout& layout);

// The same for an expense layout and the expenses the criteria choose; false
// for a layout of any other report type.
bool writeExpenseReportFile(RecordStore& store, const Settings& settings,
                            const ReportLayout& layout, const ExpenseCriteria& criteria,
                            const QString& path);

}  // namespace tempolatch
