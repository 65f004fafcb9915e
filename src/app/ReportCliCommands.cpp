#include <QCommandLineParser>

#include "app/CliCommand.h"
#include "platform/StringTable.h"
#include "platform/Ui.h"
#include "reports/ReportFiles.h"
#include "reports/ReportLayout.h"
#include "reports/SavedReports.h"
#include "settings/Context.h"
#include "store/RecordStore.h"

namespace tempolatch {

namespace {

constexpr int kExportFailed = 76;
constexpr int kReportFailed = 157;

int exportXmlCommand(Context& context, const CliArguments& args) {
    if (writeXmlFile(context.store, context.settings, args.criteria, args.positional.at(0)))
        return 0;
    context.ui.message(resourceString(kExportFailed), platform::MessageIcon::Stop);
    return 1;
}

int reportCommand(int kind, Context& context, const CliArguments& args) {
    SavedReports reports(context.store.objectStore());
    ReportLayout layout;
    const QString name = args.parser.value(QStringLiteral("layout"));
    if (!name.isEmpty()) {
        const quint32 id = reports.find(name);
        const auto report = id != 0 ? reports.read(id) : std::nullopt;
        if (!report) {
            context.ui.message(QStringLiteral("There is no saved report named \"%1\".").arg(name),
                               platform::MessageIcon::Stop);
            return 1;
        }
        layout = report->layout;
    } else {
        QString current;
        quint32 recordId = 0;
        layout = startingLayout(kind, context.settings, reports, &current, &recordId);
    }
    if (writeReportFile(context.store, context.settings, layout, args.criteria,
                        args.positional.at(0)))
        return 0;
    context.ui.message(resourceString(kReportFailed), platform::MessageIcon::Stop);
    return 1;
}

CliCommand report(const QString& kindWord, int kind, const QString& what) {
    CliCommand command = cliCommand(
        QStringLiteral("report ") + kindWord,
        QStringLiteral("write the %1 report of the chosen entries to FILE (HTML, or PDF)")
            .arg(what),
        [kind](Context& context, const CliArguments& args) {
            return reportCommand(kind, context, args);
        });
    command.arguments = {QStringLiteral("FILE")};
    command.takesCriteria = true;
    command.drawsPages = true;
    command.options = {{QStringLiteral("layout"),
                        QStringLiteral("The saved report NAME (its own report type decides the "
                                       "report); default: the kind's default report."),
                        QStringLiteral("NAME")}};
    command.details = QStringLiteral(
        "FILE ending in .pdf is written as PDF, any other name as HTML in the locale's "
        "character set.");
    return command;
}

}  // namespace

CliCommands reportCommands() {
    CliCommand xml = cliCommand(QStringLiteral("export xml"),
                                QStringLiteral("write the chosen entries to the XML file FILE"),
                                exportXmlCommand);
    xml.arguments = {QStringLiteral("FILE")};
    xml.takesCriteria = true;
    xml.details =
        QStringLiteral("The encoding is the profile's XML export encoding (Options, Export page).");
    return {xml,
            report(QStringLiteral("group-by"), ReportLayout::GroupBy, QStringLiteral("Group By")),
            report(QStringLiteral("tabular"), ReportLayout::Tabular, QStringLiteral("Tabular")),
            report(QStringLiteral("invoice"), ReportLayout::Invoice, QStringLiteral("Invoice"))};
}

}  // namespace tempolatch
