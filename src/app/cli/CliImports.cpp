#include <QCommandLineParser>
#include <cstdio>

#include "app/ImportCommands.h"
#include "app/cli/CliCommand.h"
#include "settings/Context.h"
#include "settings/Settings.h"
#include "transfer/TimeImport.h"

namespace tempolatch {

namespace {

int importCommand(ImportFormat format, Context& context, const CliArguments& args) {
    const QString& path = args.positional.at(0);
    const ImportPlan plan =
        planImport(context.store, format, path, importedStatus(context.settings));
    const bool dryRun = args.parser.isSet(QStringLiteral("dry-run"));
    std::fputs(qPrintable(importPreview(plan)), plan.canImport() ? stdout : stderr);
    if (!plan.canImport()) {
        std::fputs("tempolatch: nothing was imported\n", stderr);
        return 1;
    }
    if (dryRun)
        return 0;
    const StoreOutcome outcome = runImport(context.store, plan, importedNote);
    if (!outcome.succeeded()) {
        std::fprintf(stderr, "tempolatch: nothing was imported: Error: %d\n", outcome.error);
        return 1;
    }
    std::printf("%lld entries added\n", static_cast<long long>(plan.toAdd.size()));
    return 0;
}

QString importDetails() {
    return QStringLiteral(
        "Prints the preview first: how many entries are added and how many the store holds\n"
        "already (the same client, project, task, start and duration: importing a file again\n"
        "adds nothing), the clients and projects created, the first entries, and every row\n"
        "that cannot be read with its line number. Any such row, or a file that is not UTF-8\n"
        "or UTF-16 text or is over 64 MB, leaves the store unchanged: all or nothing.\n");
}

CliCommand importOf(ImportFormat format, const QString& word, const QString& tracker,
                    const QString& file, const QString& columns) {
    CliCommand command =
        cliCommand(QStringLiteral("import ") + word,
                   QStringLiteral("add the time entries of %1 %2 FILE").arg(tracker, file),
                   [format](Context& context, const CliArguments& args) {
                       return importCommand(format, context, args);
                   });
    command.arguments = {QStringLiteral("FILE")};
    command.details =
        importDetails() + columns +
        QStringLiteral("Exit codes: 0 done, 1 failed (nothing added), 2 wrong arguments.");
    command.options = {
        {QStringLiteral("dry-run"), QStringLiteral("Show what would be imported; write nothing.")}};
    return command;
}

}  // namespace

CliCommands importCommands() {
    return {
        importOf(ImportFormat::Toggl, QStringLiteral("toggl"), QStringLiteral("Toggl Track's"),
                 QStringLiteral("detailed report CSV"),
                 QStringLiteral(
                     "Columns read: Client, Project, Task, Description (the note), Billable,\n"
                     "Start date, Start time, Duration and Amount (CUR), which gives the\n"
                     "currency and the rate. Without Billable, the new-entry default applies.\n")),
        importOf(
            ImportFormat::Harvest, QStringLiteral("harvest"), QStringLiteral("Harvest's"),
            QStringLiteral("detailed time report CSV"),
            QStringLiteral("Columns read: Date, Client, Project, Task, Notes (the note), Hours,\n"
                           "Billable?, Invoiced? (invoiced entries are Billed), Billable Rate and\n"
                           "Currency. Harvest keeps no start times.\n")),
        importOf(
            ImportFormat::Timewarrior, QStringLiteral("timew"), QStringLiteral("Timewarrior's"),
            QStringLiteral("timew export JSON"),
            QStringLiteral("Tags name the client (first), project (second) and task (third); the\n"
                           "annotation is the note; entries get the new-entry status. Open\n"
                           "intervals cannot be read.\n")),
        importOf(ImportFormat::Kimai, QStringLiteral("kimai"), QStringLiteral("Kimai's"),
                 QStringLiteral("timesheet export (CSV or JSON)"),
                 QStringLiteral(
                     "CSV columns read (English headers): Date, From and To (or Begin and End),\n"
                     "Duration (decimal hours or H:MM; without it, From to To, past midnight\n"
                     "when To is earlier), Customer, Project, Activity (the task), Description\n"
                     "(the note), Billable, Exported (exported records are Billed), Price (or\n"
                     "Rate: the record's total) and Currency. JSON: the API's timesheet list\n"
                     "fetched with full=true. Records still running cannot be read.\n")),
        importOf(ImportFormat::ICalendar, QStringLiteral("ics"), QStringLiteral("the events of"),
                 QStringLiteral("an iCalendar .ics"),
                 QStringLiteral(
                     "Each event (VEVENT) with a start and end time is an entry: DTSTART and\n"
                     "DTEND (or DURATION) in UTC, with a TZID, or in local time; CATEGORIES name\n"
                     "the client, project and task; SUMMARY and DESCRIPTION make the note.\n"
                     "All-day and cancelled events are skipped, and the preview says so. A\n"
                     "repeating event (RRULE) gives its first occurrence only: repetitions are\n"
                     "not expanded, and the preview names each such event.\n")),
    };
}

}  // namespace tempolatch
