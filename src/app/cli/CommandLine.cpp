#include "app/cli/CommandLine.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <cstdio>

#include "app/DataFileArgument.h"
#include "app/GuiMain.h"
#include "app/cli/CliCommand.h"
#include "app/cli/CliCriteria.h"
#include "app/cli/TerminalProgress.h"
#include "platform/FileProblem.h"
#include "platform/NativePath.h"
#include "platform/OutputFile.h"
#include "platform/Profile.h"
#include "platform/Registry.h"
#include "platform/StoreAddress.h"
#include "platform/Ui.h"
#include "platform/WorkProgress.h"
#include "settings/Context.h"
#include "settings/Settings.h"
#include "settings/StoreChoice.h"
#include "store/RecordStore.h"

#ifndef TEMPOLATCH_VERSION
#define TEMPOLATCH_VERSION "unknown"
#endif

namespace tempolatch {

namespace {

CliCommands allCommands() {
    CliCommands all;
    for (auto part : {storeCommands, listCommands, transferCommands, importCommands, exportCommands,
                      reportCommands, chartCommands}) {
        CliCommands commands = part();
        std::move(commands.begin(), commands.end(), std::back_inserter(all));
    }
    return all;
}

QString synopsis(const CliCommand& command) {
    QStringList parts = command.words + command.arguments;
    if (!command.options.isEmpty() || command.takesCriteria)
        parts.append(QStringLiteral("[options]"));
    return parts.join(QLatin1Char(' '));
}

void printProgramHelp(std::FILE* to, const CliCommands& commands) {
    QString text = QStringLiteral(
        "usage: tempolatch [--profile DIR] [--store ADDRESS] [COMMAND [ARGS] [OPTIONS]]\n"
        "Without a command the window starts.\n\n"
        "  --profile DIR   use the store and settings of DIR (also --profile=DIR, before or\n"
        "                  after the command); commands other than restore need a profile\n"
        "                  there already\n"
        "  --store ADDRESS keep the data in the team store at postgresql://HOST/DATABASE\n"
        "                  (libpq's address; passwords from ~/.pgpass or PGPASSWORD) instead\n"
        "                  of the profile's file; also TEMPOLATCH_STORE\n"
        "  --help          this text; COMMAND --help tells more of a command\n"
        "  --version       the program's version\n"
        "  --              ends the options: what follows is an argument even when it\n"
        "                  begins with - (replace-text task -- -draft- final)\n\n"
        "Commands:\n");
    for (const CliCommand& command : commands)
        text += QStringLiteral("  %1\n      %2\n").arg(synopsis(command), command.description);
    std::fputs(qPrintable(text), to);
}

int usage(const CliCommands& commands, const QString& error) {
    std::fprintf(stderr, "tempolatch: %s\n", qPrintable(error));
    printProgramHelp(stderr, commands);
    return 2;
}

// The command whose words begin `args` (the longest such), or nullptr.
const CliCommand* findCommand(const CliCommands& commands, const QStringList& args) {
    const CliCommand* found = nullptr;
    for (const CliCommand& command : commands) {
        if (args.mid(0, command.words.size()) == command.words &&
            (!found || command.words.size() > found->words.size()))
            found = &command;
    }
    return found;
}

bool isOptional(const QString& argument) {
    return argument.startsWith(QLatin1Char('['));
}

QString commandHelp(const CliCommand& command, QCommandLineParser& parser) {
    // The parser's own usage line names the executable only; ours names the command.
    QString options = parser.helpText();
    options = options.mid(options.indexOf(QLatin1Char('\n')) + 1);
    QString text = QStringLiteral("usage: tempolatch [--profile DIR] %1\n%2.\n")
                       .arg(synopsis(command), command.description);
    if (!command.details.isEmpty())
        text += command.details + QLatin1Char('\n');
    return text + options;
}

// Why --profile cannot take `folder`; empty when it can. The profile's
// files are opened by names that must be text: a folder whose name is no
// UTF-8 would end up under another name, so it is refused instead.
QString profileFolderProblem(const QString& folder) {
    if (folder.isEmpty())
        return QStringLiteral("--profile needs a folder");
    if (platform::nativePath(folder) != folder.toUtf8())
        return QStringLiteral("--profile needs a folder whose name is UTF-8 text");
    return {};
}

int runParsed(const CliCommand& command, const QStringList& rest) {
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show this help."));
    parser.addOption(help);
    const QCommandLineOption profile(QStringLiteral("profile"),
                                     QStringLiteral("Use the store and settings of DIR."),
                                     QStringLiteral("DIR"));
    parser.addOption(profile);
    const QCommandLineOption storeOption(QStringLiteral("store"),
                                         QStringLiteral("Keep the data in the store at ADDRESS."),
                                         QStringLiteral("ADDRESS"));
    parser.addOption(storeOption);
    parser.addOptions(command.options);
    if (command.takesCriteria)
        parser.addOptions(criteriaOptions());
    for (const QString& argument : command.arguments)
        parser.addPositionalArgument(argument, QString(), argument);

    const QString usageOf = QStringLiteral("usage: tempolatch %1\n").arg(synopsis(command));
    if (!parser.parse(QStringList{QStringLiteral("tempolatch")} + rest)) {
        // A text that begins with "-" (a client "-Internal-") reads as an option.
        std::fprintf(stderr, "tempolatch: %s\n%s%s", qPrintable(parser.errorText()),
                     qPrintable(usageOf),
                     parser.unknownOptionNames().isEmpty()
                         ? ""
                         : "An argument that begins with - goes after --, which ends the "
                           "options.\n");
        return 2;
    }
    if (parser.isSet(help)) {
        std::fputs(qPrintable(commandHelp(command, parser)), stdout);
        return 0;
    }
    if (parser.isSet(profile)) {
        const QString problem = profileFolderProblem(parser.value(profile));
        if (!problem.isEmpty()) {
            std::fprintf(stderr, "tempolatch: %s\n%s", qPrintable(problem), qPrintable(usageOf));
            return 2;
        }
        platform::Profile::setFolder(parser.value(profile));
    }
    if (parser.isSet(storeOption)) {
        if (!platform::isServerAddress(parser.value(storeOption))) {
            std::fprintf(stderr, "tempolatch: --store needs a postgresql:// address\n%s",
                         qPrintable(usageOf));
            return 2;
        }
        platform::Profile::setStore(parser.value(storeOption));
    }
    const QStringList positional = parser.positionalArguments();
    const auto required = std::count_if(command.arguments.begin(), command.arguments.end(),
                                        [](const QString& a) { return !isOptional(a); });
    if (positional.size() < required || positional.size() > command.arguments.size()) {
        std::fprintf(stderr, "tempolatch: %s\n%s",
                     positional.size() < required ? "missing argument" : "too many arguments",
                     qPrintable(usageOf));
        return 2;
    }
    // A file of the profile in use, a folder or a socket is refused before
    // anything is read, with the reason.
    const qsizetype output = command.arguments.indexOf(QStringLiteral("FILE"));
    if (command.writesFile && output >= 0 && output < positional.size()) {
        const QString refused = platform::OutputFile::refusal(positional.at(output));
        if (!refused.isEmpty()) {
            std::fprintf(stderr, "tempolatch: %s\n", qPrintable(refused));
            return 1;
        }
    }
    if (command.readsFile) {
        const qsizetype input = command.arguments.indexOf(QStringLiteral("FILE"));
        const QString problem = platform::readProblem(positional.value(input));
        if (!problem.isEmpty())
            return cannotRead(positional.value(input), problem);
    }
    // A mistyped --profile would otherwise give a new, empty profile on
    // which a backup of nothing succeeds. The per-user folder is never
    // mistyped: a first command there (an import, say) starts the profile.
    if (command.needsProfile && platform::Profile::isChosen() && platform::Profile::storeIsFile() &&
        !QFileInfo::exists(platform::Profile::storePath())) {
        std::fprintf(stderr, "tempolatch: no profile at %s\n",
                     qPrintable(QDir::toNativeSeparators(platform::Profile::folder())));
        return 1;
    }
    CliArguments args{positional, parser, EntryFilter()};
    QString error;
    if (command.takesCriteria && !criteriaFromOptions(parser, args.criteria, error)) {
        std::fprintf(stderr, "tempolatch: %s\n%s", qPrintable(error), qPrintable(usageOf));
        return 2;
    }

    // A command runs on its own store, settings and console, never a window's.
    platform::ConsoleUi ui;
    Settings settings;
    RecordStore store;
    Context context{store, settings, ui, platform::Registry::user()};
    storechoice::apply(context.registry);
    if (command.opensStore) {
        if (!store.openAll()) {
            std::fprintf(stderr, "tempolatch: cannot open the store: %s\n",
                         qPrintable(store.openError()));
            return 1;
        }
        settings.load(context.registry);
    }
    platform::WorkProgress progress;
    const platform::WorkProgress::Scope working(progress);
    const TerminalProgress shown(progress);
    return command.run(context, args);
}

// A file name as the user typed it, byte for byte.
QByteArray shownPath(const QString& path) {
    return platform::nativePath(QDir::toNativeSeparators(path));
}

const QStringList& consoleFlags() {
    static const QStringList flags{QStringLiteral("--help"), QStringLiteral("-h"),
                                   QStringLiteral("--version"), QStringLiteral("-v")};
    return flags;
}

// Takes the options before the command out of the arguments: --profile DIR
// and --store ADDRESS, each also as --option=VALUE. --help and --version
// stay for runCommand; anything else that looks like an option is a usage
// error, so that a mistyped one never starts the window in place of the
// command that follows.
bool takeLeadingOptions(QStringList& args, QString& error) {
    struct Leading {
        QString name;
        QString needs;
        void (*apply)(const QString&);
    };
    static const Leading options[] = {
        {QStringLiteral("--profile"), QStringLiteral("a folder"), platform::Profile::setFolder},
        {QStringLiteral("--store"), QStringLiteral("a postgresql:// address"),
         platform::Profile::setStore}};
    while (!args.isEmpty() && args.first().startsWith(QLatin1Char('-')) &&
           !consoleFlags().contains(args.first())) {
        const QString option = args.takeFirst();
        const Leading* found = nullptr;
        QString value;
        for (const Leading& leading : options) {
            if (option == leading.name && !args.isEmpty())
                value = args.takeFirst();
            else if (option.startsWith(leading.name + QLatin1Char('=')))
                value = option.mid(leading.name.size() + 1);
            else if (option != leading.name)
                continue;
            found = &leading;
            break;
        }
        if (!found) {
            error = QStringLiteral("unknown option \"%1\"").arg(option);
            return false;
        }
        const bool store = found == &options[1];
        if (value.isEmpty() || (store && !platform::isServerAddress(value))) {
            error = QStringLiteral("%1 needs %2").arg(found->name, found->needs);
            return false;
        }
        if (!store) {
            error = profileFolderProblem(value);
            if (!error.isEmpty())
                return false;
        }
        found->apply(value);
    }
    return true;
}

}  // namespace

CliCommand cliCommand(const QString& words, const QString& description,
                      std::function<int(Context&, const CliArguments&)> run) {
    CliCommand command;
    command.words = words.split(QLatin1Char(' '));
    command.description = description;
    command.run = std::move(run);
    return command;
}

int cannotWrite(const QString& path, const QString& systemError, const QString& usual) {
    const QString problem = platform::writeProblem(path, systemError);
    if (problem.isEmpty())
        std::fprintf(stderr, "tempolatch: %s\n", qPrintable(usual));
    else
        std::fprintf(stderr, "tempolatch: cannot write %s: %s\n", shownPath(path).constData(),
                     qPrintable(problem));
    return 1;
}

int cannotRead(const QString& path, const QString& why) {
    std::fprintf(stderr, "tempolatch: cannot read %s: %s\n", shownPath(path).constData(),
                 qPrintable(why));
    return 1;
}

int runCommand(const QStringList& args) {
    if (args.isEmpty())
        return -1;
    const CliCommands commands = allCommands();
    const QString& first = args.first();
    if (first == QLatin1String("--help") || first == QLatin1String("-h")) {
        printProgramHelp(stdout, commands);
        return 0;
    }
    if (first == QLatin1String("--version") || first == QLatin1String("-v")) {
        std::printf("tempolatch %s\n", TEMPOLATCH_VERSION);
        return 0;
    }
    if (first.startsWith(QLatin1Char('-')))
        return usage(commands, QStringLiteral("unknown option \"%1\"").arg(first));
    const CliCommand* command = findCommand(commands, args);
    if (!command)
        return usage(commands,
                     QStringLiteral("unknown command \"%1\"").arg(args.join(QLatin1Char(' '))));
    return runParsed(*command, args.mid(command->words.size()));
}

int runCommandLine(int argc, char* argv[]) {
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args.append(platform::pathFromNative(argv[i]));
    QString error;
    if (!takeLeadingOptions(args, error))
        return usage(allCommands(), error);
    // A file of ours alone, as a file manager starts us with it, opens in
    // the window, which offers to restore, load or import it.
    const QString dataFile = dataFileArgument(args);
    if (!dataFile.isEmpty() && !findCommand(allCommands(), args))
        return runGui(argc, argv, {dataFile});
    if (!args.isEmpty()) {
        // Commands that render pages need fonts, but never a window.
        const CliCommands commands = allCommands();
        const CliCommand* command = findCommand(commands, args);
        if (command && (command->drawsPages || command->drawsCharts)) {
            if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
                qputenv("QT_QPA_PLATFORM", "offscreen");
            if (command->drawsCharts) {
                QApplication app(argc, argv);
                return runCommand(args);
            }
            QGuiApplication app(argc, argv);
            return runCommand(args);
        }
        QCoreApplication app(argc, argv);
        return runCommand(args);
    }
    return runGui(argc, argv, args);
}

}  // namespace tempolatch
