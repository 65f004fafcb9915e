#include <QCommandLineParser>
#include <QTextStream>
#include <cstdio>

#include "app/cli/CliCommand.h"
#include "platform/OutputFile.h"
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
    platform::OutputFile output(QStringLiteral("-"));
    if (!output.open()) {
        std::fprintf(stderr, "tempolatch: cannot write: %s\n", qPrintable(output.errorString()));
        return 1;
    }
    QTextStream out(&output);
    if (!dumpProfileStore(out, &error)) {
        std::fprintf(stderr, "tempolatch: cannot open the store: %s\n", qPrintable(error));
        return 1;
    }
    out.flush();
    // A dump cut short by a full disk or a closed pipe is no dump.
    if (out.status() != QTextStream::Ok || !output.commit()) {
        std::fprintf(stderr, "tempolatch: cannot write: %s\n", qPrintable(output.errorString()));
        return 1;
    }
    return 0;
}

int backupCommand(Context& context, const CliArguments& args) {
    BackupOperation backup(context.store);
    if (backup.backup(args.positional.at(0)))
        return 0;
    return cannotWrite(args.positional.at(0), backup.errorString(),
                       resourceString(str::BackupFailed));
}

int restoreCommand(Context& context, const CliArguments& args) {
    const bool deleteAll = args.parser.isSet(QStringLiteral("delete-all"));
    BackupOperation restore(context.store);
    const int result = restore.restore(args.positional.at(0), deleteAll);
    if (result == BackupOperation::RestoreFailed)
        return cannotRead(args.positional.at(0), restore.errorString());
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
    backup.writesFile = true;

    CliCommand restore =
        cliCommand(QStringLiteral("restore"),
                   QStringLiteral("add the data of the backup FILE to the store"), restoreCommand);
    restore.arguments = {QStringLiteral("FILE")};
    restore.needsProfile = false;  // restoring into a new profile is how one moves
    restore.readsFile = true;
    restore.details = QStringLiteral(
        "Exit codes: 0 done, 1 failed, 2 unsupported version of the file, 3 not a backup file.");
    restore.options = {
        {QStringLiteral("delete-all"), QStringLiteral("Replace all data with the backup's.")}};
    return {dump, backup, restore};
}

}  // namespace tempolatch
