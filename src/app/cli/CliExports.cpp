#include <QCommandLineParser>
#include <cstdio>

#include "app/cli/CliCommand.h"
#include "app/cli/CliCriteria.h"
#include "platform/StringTable.h"
#include "platform/Ui.h"
#include "records/EntryCriteria.h"
#include "records/ExpenseFilter.h"
#include "reports/CsvExport.h"
#include "reports/Summaries.h"
#include "settings/Context.h"
#include "settings/Settings.h"
#include "store/RecordStore.h"
#include "store/TimeEntry.h"

namespace tempolatch {

namespace {

const QString kStandardOutput = QStringLiteral("-");

int printRows(Context& context, const SummaryRows& rows) {
    if (exportSummaryCsv(rows, kStandardOutput, context.settings.csvFormulaGuard))
        return 0;
    context.ui.message(resourceString(str::ExportFailed), platform::MessageIcon::Stop);
    return 1;
}

int exportCsvCommand(Context& context, const CliArguments& args) {
    if (exportTimeEntryCsv(context.store, context.settings, args.criteria, args.positional.at(0)))
        return 0;
    return cannotWrite(args.positional.at(0), QString(), resourceString(str::ExportFailed));
}

// The file Export "Mileage Expense CSV..." or "General Expense CSV..."
// writes for the same choice.
int exportExpensesCommand(Context& context, const CliArguments& args) {
    const QString kind = args.positional.at(0);
    const auto fail = [](const QString& error) {
        std::fprintf(stderr, "tempolatch: %s\n", qPrintable(error));
        return 2;
    };
    if (kind != QLatin1String("mileage") && kind != QLatin1String("general"))
        return fail(
            QStringLiteral("the kind of expenses is mileage or general, not \"%1\"").arg(kind));
    const ExpenseType type =
        kind == QLatin1String("mileage") ? ExpenseType::Mileage : ExpenseType::General;
    ExpenseFilter criteria;
    QString error;
    if (!expenseCriteriaFromOptions(args.parser, criteria, error))
        return fail(error);
    criteria.type = qint32(type);
    if (exportExpenseCsv(context.store, context.settings, type, criteria.chosen(),
                         args.positional.at(1)))
        return 0;
    return cannotWrite(args.positional.at(1), QString(), resourceString(str::ExportFailed));
}

int clientSummaryCommand(Context& context, const CliArguments& args) {
    ClientSummaryChoice choice;
    choice.client = args.positional.at(0);
    choice.project = args.parser.value(QStringLiteral("project"));
    choice.task = args.parser.value(QStringLiteral("task"));
    const ClientSummary summary =
        computeClientSummary(context.store, choice, context.settings.hasFlag(PreciseCalculation));
    return printRows(context, clientSummaryRows(choice, summary, context.settings.hoursFormat));
}

// The entries the criteria choose, as a custom period: the days given, or
// else those of the first and last chosen entries.
int quickSummaryCommand(Context& context, const CliArguments& args) {
    QList<quint32> ids;
    platform::FileTime first, last;
    forEachChosenEntry(context.store, args.criteria, [&](const TimeEntry& entry) {
        ids.append(entry.recordId);
        if (first.isNull())
            first = entry.date;
        last = entry.date;
        return true;
    });
    SummaryPeriod period;
    period.periodType = 4;
    // No entry chosen and no day given: the period is none, not 1601.
    const auto dayOf = [](platform::FileTime time) {
        return time.isNull() ? platform::SystemTime()
                             : platform::toSystemTime(time).value_or(platform::SystemTime());
    };
    const bool from = args.parser.isSet(QStringLiteral("from"));
    const bool to = args.parser.isSet(QStringLiteral("to"));
    period.start = from ? args.criteria.startDate : dayOf(first);
    period.end = to ? args.criteria.endDate : dayOf(last);
    return printRows(context, quickSummaryRows(context.store, period, ids,
                                               context.settings.hasFlag(PreciseCalculation),
                                               context.settings.hoursFormat));
}

}  // namespace

CliCommands exportCommands() {
    CliCommand csv = cliCommand(QStringLiteral("export csv"),
                                QStringLiteral("write the chosen time entries to FILE as CSV"),
                                exportCsvCommand);
    csv.arguments = {QStringLiteral("FILE")};
    csv.writesFile = true;
    csv.takesCriteria = true;
    csv.details = QStringLiteral(
        "FILE - writes to standard output. The file is the one Export > CSV... writes: a "
        "header and one line per entry, with the custom labels and line-break replacement of "
        "the profile's settings.");

    CliCommand expenses =
        cliCommand(QStringLiteral("export expenses"),
                   QStringLiteral("write the chosen mileage or general expenses to FILE as CSV"),
                   exportExpensesCommand);
    expenses.arguments = {QStringLiteral("mileage|general"), QStringLiteral("FILE")};
    expenses.writesFile = true;
    expenses.options = expenseCriteriaOptions();
    expenses.details = QStringLiteral(
        "FILE - writes to standard output. The file is the one the expense window's Export > "
        "Mileage Expense CSV... or General Expense CSV... writes: a header and one line per "
        "expense of that kind, with the expense custom labels of the profile's settings.");

    CliCommand client =
        cliCommand(QStringLiteral("summary client"),
                   QStringLiteral("print the Client Summary of NAME as CSV"), clientSummaryCommand);
    client.arguments = {QStringLiteral("NAME")};
    client.options = {
        {QStringLiteral("project"), QStringLiteral("Only the entries of this project."),
         QStringLiteral("P")},
        {QStringLiteral("task"), QStringLiteral("Only the entries of this task."),
         QStringLiteral("T")},
    };

    CliCommand quick =
        cliCommand(QStringLiteral("summary quick"),
                   QStringLiteral("print the Quick Summary of the chosen entries as CSV"),
                   quickSummaryCommand);
    quick.takesCriteria = true;
    return {csv, expenses, client, quick};
}

}  // namespace tempolatch
