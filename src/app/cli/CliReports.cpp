#include <QCommandLineParser>

#include <cstdio>

#include "app/cli/CliCommand.h"
#include "app/cli/CliCriteria.h"
#include "platform/Clock.h"
#include "platform/StringTable.h"
#include "platform/Ui.h"
#include "records/EntryCriteria.h"
#include "records/ExpenseCriteria.h"
#include "records/ExpenseFilter.h"
#include "records/InvoiceItems.h"
#include "reports/ReportFiles.h"
#include "reports/ReportLayout.h"
#include "reports/SavedReports.h"
#include "settings/Context.h"
#include "store/ExpenseEntry.h"
#include "store/RecordStore.h"
#include "store/TimeEntry.h"

namespace tempolatch {

namespace {

int exportXmlCommand(Context& context, const CliArguments& args) {
    if (writeXmlFile(context.store, context.settings, args.criteria, args.positional.at(0)))
        return 0;
    context.ui.message(resourceString(str::ExportFailed), platform::MessageIcon::Stop);
    return 1;
}

// The layout --layout names, or else the kind's default report or
// built-in layout; nullopt (with the message said) when the name is unknown
// or names a report of the other family (a time report for an expense
// command, or the reverse), which this command has no writer for.
std::optional<ReportLayout> chosenLayout(int kind, Context& context, const CliArguments& args) {
    SavedReports reports(context.store);
    const QString name = args.parser.value(QStringLiteral("layout"));
    if (name.isEmpty()) {
        QString current;
        quint32 recordId = 0;
        return startingLayout(kind, context.settings, reports, &current, &recordId);
    }
    const quint32 id = reports.find(name);
    const auto report = id != 0 ? reports.read(id) : std::nullopt;
    if (!report) {
        context.ui.message(QStringLiteral("There is no saved report named \"%1\".").arg(name),
                           platform::MessageIcon::Stop);
        return std::nullopt;
    }
    const bool expenses = ReportLayout::isExpenseType(kind);
    if (ReportLayout::isExpenseType(report->layout.reportType()) != expenses) {
        context.ui.message(
            QStringLiteral("The saved report \"%1\" is not %2 report.")
                .arg(name, expenses ? QStringLiteral("an expense") : QStringLiteral("a time")),
            platform::MessageIcon::Stop);
        return std::nullopt;
    }
    return report->layout;
}

int reportWritten(Context& context, bool written) {
    if (written)
        return 0;
    context.ui.message(resourceString(ReportFailedMessage), platform::MessageIcon::Stop);
    return 1;
}

// A report of nothing is still written (a script may expect the file), but
// says so on standard error, so that a misspelt --client can be told from a
// quiet month.
int reportOf(Context& context, bool written, bool anyChosen, const char* records) {
    const int result = reportWritten(context, written);
    if (result == 0 && !anyChosen)
        std::fprintf(stderr, "tempolatch: 0 %s chosen; the report lists none\n", records);
    return result;
}

// Marks what the invoice billed as Billed, all or nothing; says how many
// on standard error, or that nothing was marked.
int markBilled(Context& context, const WrittenInvoice& invoice) {
    const entrymarking::BulkResult result =
        markInvoiceBilled(context.store, invoice.items, platform::Clock::nowFileTime());
    if (!succeeded(result.result)) {
        context.ui.message(
            QStringLiteral("Error: %1. Nothing was marked Billed.").arg(result.error),
            platform::MessageIcon::Stop);
        return 1;
    }
    std::fprintf(stderr, "tempolatch: %d entries and %d expenses marked Billed\n",
                 int(invoice.items.entries.size()), int(invoice.items.expenses.size()));
    return 0;
}

int reportCommand(int kind, Context& context, const CliArguments& args) {
    const auto layout = chosenLayout(kind, context, args);
    if (!layout)
        return 1;
    bool any = false;
    forEachChosenEntry(context.store, args.criteria, [&](const TimeEntry&) {
        any = true;
        return false;
    });
    // An invoice takes the number given, or the sequence's next.
    const bool invoice = kind == ReportLayout::Invoice;
    InvoiceRequest request;
    if (invoice) {
        request.number = args.parser.value(QStringLiteral("invoice-number"));
        request.withExpenses = args.parser.isSet(QStringLiteral("with-expenses"));
    }
    WrittenInvoice written;
    const int result = reportOf(
        context,
        writeReportFile(context, *layout, args.criteria, args.positional.at(0), request, &written),
        any, "entries");
    if (result != 0 || !invoice || !args.parser.isSet(QStringLiteral("mark-billed")))
        return result;
    return markBilled(context, written);
}

// The expense reports take the criteria an expense has; the expenses are
// those of the layout's own type.
int expenseReportCommand(int kind, Context& context, const CliArguments& args) {
    ExpenseFilter criteria;
    QString error;
    if (!expenseCriteriaFromOptions(args.parser, criteria, error)) {
        std::fprintf(stderr, "tempolatch: %s\n", qPrintable(error));
        return 2;
    }
    const auto layout = chosenLayout(kind, context, args);
    if (!layout)
        return 1;
    criteria.type =
        qint32(layout->reportType() == ReportLayout::MileageExpense ? ExpenseType::Mileage
                                                                    : ExpenseType::General);
    const ExpenseCriteria chosen = criteria.chosen();
    bool any = false;
    forEachChosenExpense(context.store, chosen, [&](const ExpenseEntry&) {
        any = true;
        return false;
    });
    return reportOf(context,
                    writeExpenseReportFile(context.store, context.settings, *layout, chosen,
                                           args.positional.at(0)),
                    any, "expenses");
}

CliCommand report(const QString& kindWord, int kind, const QString& what) {
    const bool expenses = ReportLayout::isExpenseType(kind);
    CliCommand command = cliCommand(
        QStringLiteral("report ") + kindWord,
        QStringLiteral("write the %1 report of the chosen %2 to FILE (HTML, or PDF)")
            .arg(what, expenses ? QStringLiteral("expenses") : QStringLiteral("entries")),
        [kind, expenses](Context& context, const CliArguments& args) {
            return expenses ? expenseReportCommand(kind, context, args)
                            : reportCommand(kind, context, args);
        });
    command.arguments = {QStringLiteral("FILE")};
    command.writesFile = true;
    // The time reports take the entry criteria options, the expense
    // reports those of the expense criteria sheet.
    command.takesCriteria = !expenses;
    command.drawsPages = true;
    command.options = {{QStringLiteral("layout"),
                        QStringLiteral("The saved report NAME (its own report type decides the "
                                       "report); default: the kind's default report."),
                        QStringLiteral("NAME")}};
    if (expenses)
        command.options += expenseCriteriaOptions();
    if (kind == ReportLayout::Invoice)
        command.options +=
            {{QStringLiteral("invoice-number"),
              QStringLiteral("The invoice's number, printed instead of the sequence's next "
                             "(which then stays as it is)."),
              QStringLiteral("TEXT")},
             {QStringLiteral("with-expenses"),
              QStringLiteral("Also list the Billable expenses of the chosen dates (and client, "
                             "project, bill-to and currency, when given) in a table of their own, "
                             "added into the total due.")},
             {QStringLiteral("mark-billed"),
              QStringLiteral("Once the file is written, mark the Billable entries and expenses it "
                             "lists Billed, all in one transaction: when a write is refused, "
                             "nothing is marked and the exit code is 1.")}};
    command.details = QStringLiteral(
        "FILE ending in .pdf is written as PDF, any other name as HTML in the locale's "
        "character set.");
    if (expenses)
        command.details += QStringLiteral("\nOnly expenses of the layout's type are listed.");
    return command;
}

}  // namespace

CliCommands reportCommands() {
    CliCommand xml = cliCommand(QStringLiteral("export xml"),
                                QStringLiteral("write the chosen entries to the XML file FILE"),
                                exportXmlCommand);
    xml.arguments = {QStringLiteral("FILE")};
    xml.writesFile = true;
    xml.takesCriteria = true;
    xml.details =
        QStringLiteral("The encoding is the profile's XML export encoding (Options, Export page).");
    return {xml,
            report(QStringLiteral("group-by"), ReportLayout::GroupBy, QStringLiteral("Group By")),
            report(QStringLiteral("tabular"), ReportLayout::Tabular, QStringLiteral("Tabular")),
            report(QStringLiteral("invoice"), ReportLayout::Invoice, QStringLiteral("Invoice")),
            report(QStringLiteral("mileage"), ReportLayout::MileageExpense,
                   QStringLiteral("Mileage Expense")),
            report(QStringLiteral("general"), ReportLayout::GeneralExpense,
                   QStringLiteral("General Expense"))};
}

}  // namespace tempolatch
