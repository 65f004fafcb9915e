#pragma once

#include <QStringList>

namespace tempolatch {

// Parses "[--profile DIR] [command args...]". Commands run without a window
// and never hand over to a running program; without one the window starts.
int runCommandLine(int argc, char* argv[]);

// Runs a command given its arguments (after --profile was taken out);
// returns the exit code, or -1 when the arguments name no command.
int runCommand(const QStringList& args);

}  // namespace tempolatch
