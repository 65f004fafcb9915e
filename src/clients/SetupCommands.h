#pragma once

#include <functional>

class QWidget;

namespace tempolatch {

class CommandTable;
struct Context;
class StoreWatcher;

// Registers the main window's commands of the client structure: Setup
// Clients and Setup Rates, opened over `parent`. The rates setup follows the
// changes that the window's store watcher reports; `watcher` gives it at the
// time of the command (nullptr: the setup watches the store itself).
void registerSetupCommands(CommandTable& table, Context& context, QWidget* parent,
                           std::function<StoreWatcher*()> watcher);

// Registers Replace Field Text and Edit Drop Lists; `changed` runs after a
// replacement changed the entries.
void registerListCommands(CommandTable& table, Context& context, QWidget* parent,
                          std::function<void()> changed);

}  // namespace tempolatch
