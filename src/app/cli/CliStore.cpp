#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QTextStream>
#include <cstdio>

#include "app/cli/CliCommand.h"
#include "platform/OutputFile.h"
#include "platform/Profile.h"
#include "platform/StoreAddress.h"
#include "platform/StringTable.h"
#include "platform/Ui.h"
#include "settings/Context.h"
#include "store/RecordStore.h"
#include "store/StoreCopy.h"
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

// The profile's file store to a server (--to) or back (--from).
int copyStoreCommand(Context&, const CliArguments& args) {
    const QString to = args.parser.value(QStringLiteral("to"));
    const QString from = args.parser.value(QStringLiteral("from"));
    const QString server = to.isEmpty() ? from : to;
    if (to.isEmpty() == from.isEmpty() || !platform::isServerAddress(server)) {
        std::fputs(
            "tempolatch: copy-store needs either --to ADDRESS or --from ADDRESS, "
            "a postgresql:// address\n",
            stderr);
        return 2;
    }
    const QString file = platform::Profile::storePath();
    if (!to.isEmpty() && !QFileInfo::exists(file)) {
        std::fprintf(stderr, "tempolatch: no profile at %s\n",
                     qPrintable(QDir::toNativeSeparators(platform::Profile::folder())));
        return 1;
    }
    if (!from.isEmpty() && !platform::Profile::ensureFolder()) {
        std::fprintf(stderr, "tempolatch: cannot create the folder %s\n",
                     qPrintable(platform::Profile::folder()));
        return 1;
    }
    QString error;
    if (!copyStore(to.isEmpty() ? from : file, to.isEmpty() ? file : to, &error)) {
        std::fprintf(stderr, "tempolatch: %s\n", qPrintable(error));
        return 1;
    }
    return 0;
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

    CliCommand copy =
        cliCommand(QStringLiteral("copy-store"),
                   QStringLiteral("copy the profile's store to an empty team store, or back"),
                   copyStoreCommand);
    copy.details = QStringLiteral(
        "--to ADDRESS copies the profile's file into the empty store at ADDRESS (a\n"
        "postgresql:// address); --from ADDRESS copies that store into the profile's empty\n"
        "file. All of it lands in one transaction, or nothing does; ids stay the same.");
    copy.options = {{QStringLiteral("to"), QStringLiteral("The empty store to copy to."),
                     QStringLiteral("ADDRESS")},
                    {QStringLiteral("from"), QStringLiteral("The store to copy from."),
                     QStringLiteral("ADDRESS")}};
    copy.opensStore = false;
    copy.needsProfile = false;
    return {dump, backup, restore, copy};
}

}  // namespace tempolatch
