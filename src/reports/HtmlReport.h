#pragma once

#include <QString>
#include <memory>

#include "records/InvoiceItems.h"
#include "reports/PageStream.h"
#include "reports/ReportLayout.h"

namespace tempolatch {

class RecordStore;

class EntryFilter;
class Settings;

// What an invoice prints beyond its layout and the settings.
struct InvoiceDetails {
    QString number;  // empty: the layout's own
    // The billable expenses the entry criteria take in, listed in a table
    // of their own and added into the total due.
    bool withExpenses = false;
};

// The HTML page of a time report: Group By, Tabular or Invoice, chosen by
// the layout's report type (whichever report command opened the layout).
class HtmlReport {
public:
    // The writer of the layout's report type; nullptr for the types that
    // have none here (the expense reports are ExpenseReport's).
    static std::unique_ptr<HtmlReport> make(const ReportLayout& layout, const Settings& settings,
                                            const InvoiceDetails& invoice = {});
    virtual ~HtmlReport() = default;

    // The whole page as text, the document type declaration first; its
    // meta element says the bytes will be in `charset`.
    QString page(RecordStore& db, const EntryFilter& criteria, const QString& charset);
    // The same page given to `sink` in pieces as it is made; false when the
    // sink refused one.
    virtual bool write(RecordStore& db, const EntryFilter& criteria, const QString& charset,
                       const PageStream::Sink& sink) = 0;

    // What the last page billed: the Billable entries (and expenses) an
    // invoice listed; nothing for the other reports.
    virtual InvoiceItems billableItems() const { return {}; }
};

// The document type declaration every report page starts with.
QString htmlDocType();

}  // namespace tempolatch
