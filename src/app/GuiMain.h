#pragma once

#include <QStringList>

namespace tempolatch {

// Starts the program's window and runs it until it closes.
int runGui(int argc, char* argv[], const QStringList& args);

}  // namespace tempolatch
