#include "app/CommandLine.h"

#include <QCoreApplication>
#include <QTextStream>
#include <cstdio>

#include "app/GuiMain.h"
#include "platform/Locale.h"
#include "platform/ObjectStore.h"
#include "platform/Profile.h"
#include "store/StoreDump.h"

namespace tempolatch {

namespace {

int usage() {
    std::fprintf(stderr,
                 "usage: tempolatch [--profile DIR] [dump]\n"
                 "  dump    print every database and record of the store\n");
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
    if (command == QLatin1String("dump"))
        return args.size() == 1 ? dumpCommand() : usage();
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
