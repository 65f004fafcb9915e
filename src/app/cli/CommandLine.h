#pragma once

#include <QStringList>

namespace tempolatch {

// Parses "[--profile DIR] [command args...]". Commands run without a window
// and never hand over to a running program; without one the window starts.
// An unknown option before the command is a usage error (exit code 2).
int runCommandLine(int argc, char* argv[]);

// Runs a command given its arguments (after the options before it were
// taken out); returns the exit code; -1 when there are no arguments.
int runCommand(const QStringList& args);

}  // namespace tempolatch
