#pragma once

#include <QString>

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

// The report page as HTML in the locale's character set, or as PDF when
// the path ends in ".pdf" (which needs a QGuiApplication). An invoice
// prints `invoiceNumber` when one is given; else, when its layout leaves
// its number open ("-" or none), the next number of the sequence (Options),
// which moves on only when the file was written. `printedNumber`, when
// given, gets the invoice's number as printed (none for "-").
bool writeReportFile(Context& context, const ReportLayout& layout, const EntryFilter& criteria,
                     const QString& path, const QString& invoiceNumber = QString(),
                     QString* printedNumber = nullptr);

// Whether an invoice layout leaves its number to the sequence.
bool leavesNumberOpen(const ReportLayout& layout);

// The same for an expense layout and the expenses the criteria choose; false
// for a layout of any other report type.
bool writeExpenseReportFile(RecordStore& store, const Settings& settings,
                            const ReportLayout& layout, const ExpenseCriteria& criteria,
                            const QString& path);

}  // namespace tempolatch
