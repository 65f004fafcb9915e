#include "reports/ReportFiles.h"

#include <functional>

#include "platform/Locale.h"
#include "platform/OutputFile.h"
#include "platform/Registry.h"
#include "reports/CharsetEncoder.h"
#include "reports/ExpenseReport.h"
#include "reports/ExportFile.h"
#include "reports/HtmlReport.h"
#include "reports/ReportPdf.h"
#include "reports/XmlExport.h"
#include "settings/InvoiceNumbers.h"
#include "settings/Settings.h"
#include "store/RecordStore.h"

namespace tempolatch {

bool writeXmlFile(RecordStore& store, const Settings& settings, const EntryFilter& criteria,
                  const QString& path, int* written) {
    ExportFile file;
    if (!file.open(path))
        return false;
    XmlExport xml(settings);
    if (!xml.write(store.entries(), criteria,
                   [&](const QByteArray& bytes) { return file.writeRaw(bytes); })) {
        file.abandon();
        return false;
    }
    if (written)
        *written = xml.written();
    return file.close();
}

namespace {

// A page made for a character set, written as PDF or as HTML in the
// locale's character set.
bool writePage(const std::function<QString(const QString& charset)>& page, const QString& path) {
    if (isPdfPath(path)) {
        const QString html = page(QStringLiteral("UTF-8"));
        platform::OutputFile file(path);
        return file.open() && writeReportPdf(html, file) && file.commit();
    }
    // The bytes in the locale's character set, which the page's meta
    // element names; characters it lacks as character references.
    const QByteArray charset = platform::Locale::systemCodeset();
    CharsetEncoder encoder(charset);
    if (!encoder.isValid())
        return false;
    const QString html = page(QString::fromLatin1(charset));
    ExportFile file(charset);
    if (!file.open(path) || !file.writeRaw(encoder.encode(html))) {
        file.abandon();
        return false;
    }
    return file.close();
}

}  // namespace

bool leavesNumberOpen(const ReportLayout& layout) {
    const QString number = layout.invoiceNumber().trimmed();
    return number.isEmpty() || number == QLatin1String("-");
}

bool writeReportFile(RecordStore& store, const Settings& settings, const ReportLayout& layout,
                     const EntryFilter& criteria, const QString& path,
                     const InvoiceRequest& invoice, WrittenInvoice* written) {
    const bool isInvoice = layout.reportType() == ReportLayout::Invoice;
    InvoiceDetails details;
    quint32 taken = 0;
    if (isInvoice) {
        details.number = invoice.number;
        if (details.number.isEmpty() && leavesNumberOpen(layout)) {
            taken = invoicenumbers::take(platform::Registry::user());
            if (taken != 0)
                details.number = settings.invoice.numberPrefix + QString::number(taken);
        }
        if (invoice.withExpenses)
            details.expenses = &store.expenses();
    }
    const auto report = HtmlReport::make(layout, settings, details);
    const bool ok = report && writePage(
                                  [&](const QString& charset) {
                                      return report->page(store.entries(), criteria, charset);
                                  },
                                  path);
    if (!ok)
        invoicenumbers::giveBack(platform::Registry::user(), taken);
    if (written && isInvoice) {
        written->number = !details.number.isEmpty()  ? details.number
                          : leavesNumberOpen(layout) ? QString()
                                                     : layout.invoiceNumber();
        written->items = ok ? report->billableItems() : InvoiceItems();
    }
    return ok;
}

bool writeExpenseReportFile(RecordStore& store, const Settings& settings,
                            const ReportLayout& layout, const ExpenseCriteria& criteria,
                            const QString& path) {
    const auto report = ExpenseReport::make(layout, settings);
    return report && writePage(
                         [&](const QString& charset) {
                             return report->page(store.expenses(), criteria, charset);
                         },
                         path);
}

}  // namespace tempolatch
