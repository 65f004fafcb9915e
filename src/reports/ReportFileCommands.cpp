#include "reports/ReportFileCommands.h"

#include "platform/Clock.h"
#include "platform/StringTable.h"
#include "platform/Ui.h"
#include "records/ExpenseCriteria.h"
#include "records/InvoiceItems.h"
#include "reports/ReportFiles.h"
#include "reports/ReportLayoutDialog.h"
#include "settings/BackgroundWork.h"
#include "settings/Context.h"
#include "views/EntryCriteriaSheet.h"
#include "widgets/CommandIds.h"
#include "widgets/CommandTable.h"
#include "widgets/SaveFileName.h"

namespace tempolatch {

namespace {

constexpr int kHtmlFilter = 158;
constexpr int kXmlFilter = 211;
const QString kWritingExport = QStringLiteral("Writing the export...");
const QString kPdfFilter = QStringLiteral("PDF Files (*.pdf)|*.pdf|");

bool chooseCriteria(const ReportFileCommandHost& host, EntryFilter& criteria,
                    bool* withExpenses = nullptr) {
    platform::SystemTime start;
    platform::SystemTime end;
    if (host.period)
        host.period(start, end);
    return runEntryCriteria(*host.context, host.parent, CriteriaMode::Any, start, end, criteria,
                            withExpenses);
}

// The file the save dialog gave for `filter`, with its filter's extension.
QString chooseFile(Context& context, QWidget* parent, const QString& filter) {
    return chooseOutputFile(context.ui, filter, parent).path;
}

}  // namespace

void exportXml(const ReportFileCommandHost& host) {
    Context& context = *host.context;
    EntryFilter criteria;
    if (!chooseCriteria(host, criteria))
        return;
    const QString path = chooseFile(context, host.parent, resourceString(kXmlFilter));
    if (path.isEmpty())
        return;
    int written = 0;
    bool cancelled = false;
    const bool ok = runInBackground(
        context, host.parent, kWritingExport,
        [&](Context& worker) {
            return writeXmlFile(worker.store, worker.settings, criteria, path, &written);
        },
        &cancelled);
    if (cancelled)
        return;
    if (!ok)
        context.ui.message(resourceString(str::ExportFailed), platform::MessageIcon::Stop,
                           host.parent);
    else
        context.ui.noticeDone(QStringLiteral("XML written to"), path,
                              platform::recordCounts(written));
}

namespace {

// The steps every report command takes: the layout dialog of the kind, the
// criteria, the file (HTML or PDF), then the page written off the window's
// thread and shown; message 157 when it cannot be written. `write` may
// change the notice's words ("Report written to"); `written` follows a
// file written, before it is shown.
void runReportSteps(const ReportFileCommandHost& host, int kind,
                    const std::function<bool(const ReportLayout&)>& chooseCriteria,
                    const std::function<bool(Context& worker, const ReportLayout&, const QString&,
                                             QString& notice)>& write,
                    const std::function<void()>& written = {}) {
    Context& context = *host.context;
    ReportLayoutDialog dialog(context, kind, host.parent);
    // Closing the layout dialog's window ends the command.
    if (dialog.exec() != QDialog::Accepted)
        return;
    const ReportLayout layout = dialog.layout();
    if (!chooseCriteria(layout))
        return;
    const QString path = chooseFile(context, host.parent, resourceString(kHtmlFilter) + kPdfFilter);
    if (path.isEmpty())
        return;
    QString notice = QStringLiteral("Report written to");
    bool cancelled = false;
    const bool ok = runInBackground(
        context, host.parent, QStringLiteral("Writing the report..."),
        [&](Context& worker) { return write(worker, layout, path, notice); }, &cancelled);
    if (cancelled)
        return;
    if (!ok) {
        context.ui.message(resourceString(ReportFailedMessage), platform::MessageIcon::Stop,
                           host.parent);
        return;
    }
    context.ui.noticeDone(notice, path);
    if (written)
        written();
    if (host.open)
        host.open(path);
}

}  // namespace

void runReport(const ReportFileCommandHost& host, int kind) {
    EntryFilter criteria;
    InvoiceRequest request;
    WrittenInvoice invoice;
    runReportSteps(
        host, kind,
        [&](const ReportLayout& layout) {
            // Only an invoice offers its client's expenses.
            const bool isInvoice = layout.reportType() == ReportLayout::Invoice;
            return chooseCriteria(host, criteria, isInvoice ? &request.withExpenses : nullptr);
        },
        [&](Context& worker, const ReportLayout& layout, const QString& path, QString& notice) {
            const bool written = writeReportFile(worker, layout, criteria, path, request, &invoice);
            // The number the sequence gave is worth a word: it is on no screen.
            if (!invoice.number.isEmpty())
                notice = QStringLiteral("Invoice %1 written to").arg(invoice.number);
            return written;
        },
        [&] { offerToMarkBilled(host, invoice); });
}

void offerToMarkBilled(const ReportFileCommandHost& host, const WrittenInvoice& invoice) {
    if (invoice.items.isEmpty())
        return;
    Context& context = *host.context;
    const QString question =
        QStringLiteral(
            "Mark the %1 Billable entries and %2 expenses of %3 as "
            "Billed, so that they are not billed again?")
            .arg(invoice.items.entries.size())
            .arg(invoice.items.expenses.size())
            .arg(invoice.number.isEmpty() ? QStringLiteral("this invoice")
                                          : QStringLiteral("invoice ") + invoice.number);
    if (!context.ui.question(question, host.parent))
        return;
    entrymarking::BulkResult result;
    bool cancelled = false;
    runInBackground(
        context, host.parent, resourceString(str::UpdatingRecords),
        [&](Context& worker) {
            result = markInvoiceBilled(worker.store, invoice.items, platform::Clock::nowFileTime());
            return succeeded(result.result);
        },
        &cancelled);
    if (host.reload)
        host.reload();
    if (cancelled)
        return;
    if (!succeeded(result.result)) {
        context.ui.message(
            QStringLiteral("Error: %1. Nothing was marked Billed.").arg(result.error),
            platform::MessageIcon::Stop, host.parent);
        return;
    }
    context.ui.notice(QStringLiteral("%1 entries and %2 expenses marked Billed")
                          .arg(invoice.items.entries.size())
                          .arg(invoice.items.expenses.size()));
}

void runExpenseReport(const ReportFileCommandHost& host, int kind,
                      const ExpenseCriteriaChooser& chooseCriteria) {
    ExpenseCriteria criteria;
    runReportSteps(
        host, kind,
        [&](const ReportLayout& layout) {
            // Only an expense layout has a writer here; any other ends the
            // command before anything more is asked.
            return ReportLayout::isExpenseType(layout.reportType()) &&
                   chooseCriteria(layout.reportType(), criteria);
        },
        [&](Context& worker, const ReportLayout& layout, const QString& path, QString&) {
            return writeExpenseReportFile(worker.store, worker.settings, layout, criteria, path);
        });
}

void registerReportFileCommands(CommandTable& table, const ReportFileCommandHost& host) {
    table.add(cmd::ExportXml, [host](int) { exportXml(host); });
    table.add({cmd::ReportGroupBy, cmd::ReportTabular, cmd::ReportInvoice},
              [host](int id) { runReport(host, id - cmd::ReportGroupBy); });
}

}  // namespace tempolatch
