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
#include "settings/Context.h"
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
    if (!xml.write(store, criteria,
                   [&](const QByteArray& bytes) { return file.writeRaw(bytes); })) {
        file.abandon();
        return false;
    }
    if (written)
        *written = xml.written();
    return file.close();
}

namespace {

// A page made for a character set and handed over in pieces as it is
// made, written as PDF or as HTML in the locale's character set.
using PageWriter = std::function<bool(const QString& charset, const PageStream::Sink& sink)>;

bool writePage(const PageWriter& page, const QString& path) {
    if (isPdfPath(path)) {
        platform::OutputFile file(path);
        if (!file.open())
            return false;
        ReportPdfWriter pdf(file);
        return page(QStringLiteral("UTF-8"), [&](QStringView html) { return pdf.add(html); }) &&
               pdf.finish() && file.commit();
    }
    // The bytes in the locale's character set, which the page's meta
    // element names; characters it lacks as character references.
    const QByteArray charset = platform::Locale::systemCodeset();
    CharsetEncoder encoder(charset);
    if (!encoder.isValid())
        return false;
    ExportFile file(charset);
    const auto encoded = [&](QStringView html) {
        return file.writeRaw(encoder.encode(html.toString()));
    };
    if (!file.open(path) || !page(QString::fromLatin1(charset), encoded)) {
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

bool writeReportFile(Context& context, const ReportLayout& layout, const EntryFilter& criteria,
                     const QString& path, const InvoiceRequest& invoice, WrittenInvoice* written) {
    const Settings& settings = context.settings;
    const bool isInvoice = layout.reportType() == ReportLayout::Invoice;
    InvoiceDetails details;
    quint32 taken = 0;
    if (isInvoice) {
        details.number = invoice.number;
        if (details.number.isEmpty() && leavesNumberOpen(layout)) {
            taken = invoicenumbers::take(context.registry);
            if (taken != 0)
                details.number = settings.invoice.numberPrefix + QString::number(taken);
        }
        details.withExpenses = invoice.withExpenses;
    }
    const auto report = HtmlReport::make(layout, settings, details);
    const bool ok = report && writePage(
                                  [&](const QString& charset, const PageStream::Sink& sink) {
                                      return report->write(context.store, criteria, charset, sink);
                                  },
                                  path);
    if (!ok)
        invoicenumbers::giveBack(context.registry, taken);
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
                         [&](const QString& charset, const PageStream::Sink& sink) {
                             return report->write(store, criteria, charset, sink);
                         },
                         path);
}

}  // namespace tempolatch
