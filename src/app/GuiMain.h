#pragma once

#include <QStringList>

namespace tempolatch {

namespace platform {
class Ui;
}

// Starts the program's window and runs it until it closes.
int runGui(int argc, char* argv[], const QStringList& args);

// False when the profile folder was given, does not exist and the user
// would rather not start a new profile there (a mistyped --profile).
bool confirmNewProfile(platform::Ui& ui);

}  // namespace tempolatch
