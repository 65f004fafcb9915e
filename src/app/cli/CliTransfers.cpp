#include <QCommandLineParser>
#include <cstdio>

#include "app/cli/CliCommand.h"
#include "app/cli/CliCriteria.h"
#include "platform/StringTable.h"
#include "platform/Ui.h"
#include "settings/Context.h"
#include "store/RecordStore.h"
#include "transfer/ArchiveOperation.h"
#include "transfer/ClientStructureOperation.h"

namespace tempolatch {

namespace {

using platform::MessageIcon;

int archiveCommand(Context& context, const CliArguments& args) {
    EntryFilter range;
    QString error;
    if (!args.parser.isSet(QStringLiteral("from")) || !args.parser.isSet(QStringLiteral("to")))
        error = QStringLiteral("archive needs --from and --to");
    else
        dateRangeFromOptions(args.parser, range, error);
    if (!error.isEmpty()) {
        std::fprintf(stderr, "tempolatch: %s\n", qPrintable(error));
        return 2;
    }
    const bool keep = args.parser.isSet(QStringLiteral("keep"));
    ArchiveOperation archive(context.store, *platform::toFileTime(range.startDate),
                             *platform::toFileTime(range.endDate));
    switch (archive.archive(args.positional.at(0), !keep)) {
        case ArchiveOperation::ArchiveResult::Written:
            if (archive.keptChanged() > 0)
                context.ui.message(keptChangedText(archive.keptChanged()),
                                   MessageIcon::Information);
            return 0;
        case ArchiveOperation::ArchiveResult::WriteFailed:
            return cannotWrite(args.positional.at(0), archive.errorString(),
                               resourceString(str::ArchiveFailed));
        case ArchiveOperation::ArchiveResult::DeleteFailed:
            context.ui.message(QStringLiteral("The archive was written, but its entries could "
                                              "not be deleted (error %1); the store is unchanged.")
                                   .arg(context.store.lastError()),
                               MessageIcon::Stop);
            return 1;
    }
    return 1;
}

int loadArchiveCommand(Context& context, const CliArguments& args) {
    ArchiveOperation load(context.store);
    const int result = load.loadArchive(args.positional.at(0));
    if (result == BackupOperation::RestoreFailed)
        return cannotRead(args.positional.at(0), load.errorString());
    const LoadArchiveMessage message = loadArchiveMessage(result);
    // Success is silent, as scripts expect.
    if (result != BackupOperation::RestoreOk && !message.text.isEmpty())
        context.ui.message(message.text, message.icon);
    return result;
}

int exportClientsCommand(Context& context, const CliArguments& args) {
    ClientStructureOperation operation(context.store);
    if (operation.exportTo(args.positional.at(0)))
        return 0;
    return cannotWrite(args.positional.at(0), operation.errorString(),
                       QStringLiteral("The client structure could not be written."));
}

int importClientsCommand(Context& context, const CliArguments& args) {
    ClientStructureOperation operation(context.store);
    const int result = operation.importFrom(args.positional.at(0));
    if (result == BackupOperation::RestoreFailed)
        return cannotRead(args.positional.at(0), operation.errorString());
    const ImportMessage message = importResultMessage(result);
    if (!message.text.isEmpty())
        context.ui.message(message.text, message.icon);
    return result;
}

}  // namespace

CliCommands transferCommands() {
    CliCommand archive = cliCommand(
        QStringLiteral("archive"),
        QStringLiteral("write the entries of a date range and all expenses to the archive FILE"),
        archiveCommand);
    archive.arguments = {QStringLiteral("FILE")};
    archive.writesFile = true;
    archive.options = {
        {QStringLiteral("from"), QStringLiteral("First day to archive (YYYY-MM-DD)."),
         QStringLiteral("D")},
        {QStringLiteral("to"), QStringLiteral("Last day to archive, included (YYYY-MM-DD)."),
         QStringLiteral("D")},
        {QStringLiteral("keep"), QStringLiteral("Keep the archived entries in the store.")},
    };
    archive.details = QStringLiteral(
        "Unless --keep is given, the entries written into FILE are then deleted from the store,\n"
        "once the file is complete; an entry that another program changed meanwhile stays, and\n"
        "standard error says how many did. Exit codes: 0 done, 1 failed, 2 usage.");

    CliCommand load = cliCommand(QStringLiteral("load-archive"),
                                 QStringLiteral("add the entries of the archive FILE to the store"),
                                 loadArchiveCommand);
    load.arguments = {QStringLiteral("FILE")};
    load.readsFile = true;
    load.details = QStringLiteral(
        "Expenses the store holds already, alike in every field, are not added again.\n"
        "Exit codes: 0 done, 1 failed (nothing added), 2 unsupported version of the file,\n"
        "3 not an archive file.");

    CliCommand exportClients =
        cliCommand(QStringLiteral("export clients"),
                   QStringLiteral("write the client structure to the client structure FILE"),
                   exportClientsCommand);
    exportClients.arguments = {QStringLiteral("FILE")};
    exportClients.writesFile = true;
    exportClients.details = QStringLiteral("Exit codes: 0 done, 1 failed, 2 usage.");

    CliCommand importClients = cliCommand(
        QStringLiteral("import clients"),
        QStringLiteral("add the clients, projects, tasks and contacts of FILE that are missing"),
        importClientsCommand);
    importClients.arguments = {QStringLiteral("FILE")};
    importClients.readsFile = true;
    importClients.details = QStringLiteral(
        "Rates are not read. Exit codes: 0 done, 1 failed (nothing added), 2 unsupported\n"
        "version of the file, 3 not a client structure file.");
    return {archive, load, exportClients, importClients};
}

}  // namespace tempolatch
