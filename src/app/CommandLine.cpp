#include "app/CommandLine.h"

#include <QCoreApplication>
#include <QTextStream>
#include <cstdio>

#include "app/GuiMain.h"
#include "platform/Locale.h"
#include "platform/ObjectStore.h"
#include "platform/Profile.h"
#include "platform/StringTable.h"
#include "platform/Ui.h"
#include "settings/Context.h"
#include "settings/Settings.h"
#include "store/RecordStore.h"
#include "store/StoreDump.h"
#include "transfer/BackupOperation.h"

namespace tempolatch {

namespace {

int usage() {
    std::fprintf(stderr,
                 "usage: tempolatch [--profile DIR] [dump | backup FILE | restore FILE "
                 "[--delete-all]]\n"
                 "  dump                        print every database and record of the store\n"
                 "  backup FILE                 write a backup of all data to FILE\n"
                 "  restore FILE [--delete-all] add the data of the backup FILE to the store;\n"
                 "                              with --delete-all, replace all data with it\n");
    return 2;
}

int dumpCommand() {
    QString error;
    auto store = platform::ObjectStore::open(platform::Profile::storePath(),
                                             platform::ObjectStore::Access::ReadOnly,
                                             platform::Locale::collationName(), &error);
    if (!store) {
        std::fprintf(stderr, "tempolatch: cannot open the store: %s\n", qPrintable(error));
        return 1;
    }
    QTextStream out(stdout);
    dumpStore(*store, out);
    return 0;
}

// The store of the profile, opened; false (and a message) when it cannot be.
bool openStore(RecordStore& store) {
    if (store.openAll())
        return true;
    std::fprintf(stderr, "tempolatch: cannot open the store: %s\n", qPrintable(store.openError()));
    return false;
}

int backupCommand(Context& context, const QString& path) {
    if (!openStore(context.store))
        return 1;
    if (BackupOperation(context.store).backup(path))
        return 0;
    context.ui.message(resourceString(str::BackupFailed), platform::MessageIcon::Stop);
    return 1;
}

// Exits with the restore's result: 0 done, 1 failed, 2 unsupported version,
// 3 refused kind of file.
int restoreCommand(Context& context, const QString& path, bool deleteAll) {
    if (!openStore(context.store))
        return 1;
    const int result = BackupOperation(context.store).restore(path, deleteAll);
    const QString text = restoreResultText(result);
    if (!text.isEmpty())
        context.ui.message(text, platform::MessageIcon::Stop);
    return result;
}

// Takes "--profile DIR" out of the arguments; false when DIR is missing.
bool takeProfile(QStringList& args) {
    const qsizetype at = args.indexOf(QStringLiteral("--profile"));
    if (at < 0)
        return true;
    if (at + 1 >= args.size())
        return false;
    platform::Profile::setFolder(args.at(at + 1));
    args.remove(at, 2);
    return true;
}

}  // namespace

int runCommand(const QStringList& args) {
    if (args.isEmpty())
        return -1;
    const QString& command = args.first();
    // A command runs on its own store, settings and console, never a window's.
    platform::ConsoleUi ui;
    Settings settings;
    RecordStore store;
    Context context{store, settings, ui};
    if (command == QLatin1String("dump"))
        return args.size() == 1 ? dumpCommand() : usage();
    if (command == QLatin1String("backup"))
        return args.size() == 2 ? backupCommand(context, args.at(1)) : usage();
    if (command == QLatin1String("restore")) {
        const bool deleteAll = args.size() == 3 && args.at(2) == QLatin1String("--delete-all");
        return args.size() == 2 || deleteAll ? restoreCommand(context, args.at(1), deleteAll)
                                             : usage();
    }
    if (command == QLatin1String("--help") || command == QLatin1String("-h")) {
        usage();
        return 0;
    }
    return command.startsWith(QLatin1Char('-')) ? -1 : usage();
}

int runCommandLine(int argc, char* argv[]) {
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args.append(QString::fromLocal8Bit(argv[i]));
    if (!takeProfile(args))
        return usage();
    if (!args.isEmpty() && !args.first().startsWith(QLatin1Char('-'))) {
        QCoreApplication app(argc, argv);
        return runCommand(args);
    }
    return runGui(argc, argv, args);
}

}  // namespace tempolatch
