#pragma once

#include <QCommandLineOption>
#include <QList>
#include <QStringList>
#include <functional>
#include <vector>

#include "records/EntryFilter.h"

class QCommandLineParser;

namespace tempolatch {

struct Context;

// What a command gets when it runs: its positional arguments (after the
// command's words), its parsed options and, for commands that choose
// entries, the criteria given as options (every entry when none is given).
struct CliArguments {
    QStringList positional;
    const QCommandLineParser& parser;
    EntryFilter criteria;
};

// One command of the command line ("export csv FILE [options]"). Commands
// run on their own store, settings and console, never on a window's.
struct CliCommand {
    QStringList words;      // {"export", "csv"}
    QStringList arguments;  // positional names; "[NAME]" is optional
    QString description;    // one line for the program's --help
    QString details;        // more for the command's own --help
    QList<QCommandLineOption> options;
    bool takesCriteria = false;  // --from, --to, --client, ... --status
    bool opensStore = true;      // the profile's store is opened first
    bool drawsPages = false;     // renders pages (PDF): runs with an offscreen QGuiApplication
    bool drawsCharts = false;    // renders charts (widgets): runs with an offscreen QApplication
    bool writesFile = false;     // the argument FILE is written (refused first when it must not be)
    bool readsFile = false;      // the argument FILE is read (refused first when it cannot be)
    bool needsProfile = true;    // refused when the profile folder holds no store
    // Returns the exit code: 0 done, 1 failed, or the operation's result.
    std::function<int(Context&, const CliArguments&)> run;
};

using CliCommands = std::vector<CliCommand>;

// Say on standard error why FILE was not written or read, by its cause (a
// full disk, a read-only folder, a file missing or damaged); return 1.
// `usual` is said when nothing in the file system explains the failure.
int cannotWrite(const QString& path, const QString& systemError, const QString& usual);
int cannotRead(const QString& path, const QString& why);

// A command of these space-separated words; the caller sets the rest.
CliCommand cliCommand(const QString& words, const QString& description,
                      std::function<int(Context&, const CliArguments&)> run);

// The commands each part of the program offers; the command line joins them.
CliCommands storeCommands();     // dump, backup, restore
CliCommands listCommands();      // replace-text, list export, list import
CliCommands transferCommands();  // archive, load-archive, export clients, import clients
CliCommands exportCommands();    // export csv, export expenses, summary client, summary quick
CliCommands reportCommands();    // export xml, report group-by|tabular|invoice|mileage|general
CliCommands importCommands();    // import toggl|harvest|timew|kimai|ics
CliCommands chartCommands();     // chart hours-per-day|amount-per-client

}  // namespace tempolatch
