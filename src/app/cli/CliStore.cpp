#include <QCommandLineParser>
#include <QTextStream>
#include <cstdio>

#include "app/cli/CliCommand.h"
#include "platform/StringTable.h"
#include "platform/Ui.h"
#include "settings/Context.h"
#include "store/RecordStore.h"
#include "store/StoreDump.h"
#include "transfer/BackupOperation.h"

namespace tempolatch {

namespace {

int dumpCommand(Context&, const CliArguments&) {
    QString error;
    QTextStream out(stdout);
    if (dumpProfileStore(out, &error))
        return 0;
    std::fprintf(stderr, "tempolatch: cannot open the store: %s\n", qPrintable(error));
    return 1;
}

int backupCommand(Context& context, const CliArguments& args) {
    if (BackupOperation(context.store).backup(args.positional.at(0)))
        return 0;
    context.ui.message(resourceString(str::BackupFailed), platform::MessageIcon::Stop);
    return 1;
}

int restoreCommand(Context& context, const CliArguments& args) {
    const bool deleteAll = args.parser.isSet(QStringLiteral("delete-all"));
    const int result = BackupOperation(context.store).restore(args.positional.at(0), deleteAll);
    const QString text = restoreResultText(result);
    if (!text.isEmpty())
        context.ui.message(text, platform::MessageIcon::Stop);
    return result;
}

}  // namespace

CliCommands storeCommands() {
    CliCommand dump =
        cliCommand(QStringLiteral("dump"),
                   QStringLiteral("print every database and record of the store"), dumpCommand);
    dump.details = QStringLiteral("Changes nothing; works while the program runs.");
    dump.opensStore = false;

    CliCommand backup =
        cliCommand(QStringLiteral("backup"), QStringLiteral("write a backup of all data to FILE"),
                   backupCommand);
    backup.arguments = {QStringLiteral("FILE")};

    CliCommand restore =
        cliCommand(QStringLiteral("restore"),
                   QStringLiteral("add the data of the backup FILE to the store"), restoreCommand);
    restore.arguments = {QStringLiteral("FILE")};
    restore.details = QStringLiteral(
        "Exit codes: 0 done, 1 failed, 2 unsupported version of the file, 3 not a backup file.");
    restore.options = {
        {QStringLiteral("delete-all"), QStringLiteral("Replace all data with the backup's.")}};
    return {dump, backup, restore};
}

}  // namespace tempolatch
