#include "reports/ReportFileCommands.h"

#include <QApplication>
#include <QFileInfo>

#include "platform/StringTable.h"
#include "platform/Ui.h"
#include "reports/ReportFiles.h"
#include "reports/ReportLayoutDialog.h"
#include "settings/Context.h"
#include "views/EntryCriteriaSheet.h"
#include "widgets/CommandIds.h"
#include "widgets/CommandTable.h"

namespace tempolatch {

namespace {

constexpr int kExportFailed = 76;
constexpr int kReportFailed = 157;
constexpr int kHtmlFilter = 158;
constexpr int kXmlFilter = 211;
const QString kPdfFilter = QStringLiteral("PDF Files (*.pdf)|*.pdf|");

bool chooseCriteria(const ReportFileCommandHost& host, EntryFilter& criteria) {
    platform::SystemTime start;
    platform::SystemTime end;
    if (host.period)
        host.period(start, end);
    return runEntryCriteria(*host.context, host.parent, CriteriaMode::Any, start, end, criteria);
}

// The chosen file with the extension of its filter when it has none.
QString withExtension(const platform::Ui::ChosenFile& chosen, const QStringList& extensions) {
    if (chosen.path.isEmpty() || !QFileInfo(chosen.path).suffix().isEmpty())
        return chosen.path;
    const int index = qBound(1, chosen.filter, int(extensions.size())) - 1;
    return chosen.path + QLatin1Char('.') + extensions.at(index);
}

// Runs the work under the wait cursor.
bool waiting(const std::function<bool()>& work) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool ok = work();
    QApplication::restoreOverrideCursor();
    return ok;
}

}  // namespace

void exportXml(const ReportFileCommandHost& host) {
    Context& context = *host.context;
    EntryFilter criteria;
    if (!chooseCriteria(host, criteria))
        return;
    const QString path =
        withExtension(context.ui.saveFileWithFilter(QString(), resourceString(kXmlFilter),
                                                    QString(), host.parent),
                      {QStringLiteral("xml")});
    if (path.isEmpty())
        return;
    if (!waiting([&] { return writeXmlFile(context.store, context.settings, criteria, path); }))
        context.ui.message(resourceString(kExportFailed), platform::MessageIcon::Stop, host.parent);
}

void runReport(const ReportFileCommandHost& host, int kind) {
    Context& context = *host.context;
    ReportLayoutDialog dialog(context, kind, host.parent);
    // Closing the layout dialog's window ends the command.
    if (dialog.exec() != QDialog::Accepted)
        return;
    const ReportLayout layout = dialog.layout();
    EntryFilter criteria;
    if (!chooseCriteria(host, criteria))
        return;
    const QString path = withExtension(
        context.ui.saveFileWithFilter(QString(), resourceString(kHtmlFilter) + kPdfFilter,
                                      QString(), host.parent),
        {QStringLiteral("html"), QStringLiteral("pdf")});
    if (path.isEmpty())
        return;
    if (!waiting([&] {
            return writeReportFile(context.store, context.settings, layout, criteria, path);
        })) {
        context.ui.message(resourceString(kReportFailed), platform::MessageIcon::Stop, host.parent);
        return;
    }
    if (host.open)
        host.open(path);
}

void registerReportFileCommands(CommandTable& table, const ReportFileCommandHost& host) {
    table.add(cmd::ExportXml, [host](int) { exportXml(host); });
    table.add({cmd::ReportGroupBy, cmd::ReportTabular, cmd::ReportInvoice},
              [host](int id) { runReport(host, id - cmd::ReportGroupBy); });
}

}  // namespace tempolatch
