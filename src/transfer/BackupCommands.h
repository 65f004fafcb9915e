#pragma once

#include <functional>

class QString;
class QWidget;

namespace tempolatch {

struct Context;
class CommandTable;
class RecordStore;

// "12 time entries, 3 expenses": what the store holds, for the notices.
QString storedCounts(RecordStore& store);

// The main window's commands that keep and remove the data: Create Backup,
// Restore and Remove All Data. `parent` owns the dialogs and is the target
// of the store's change notifications when the databases are reopened.
// Each returns true when the main view must reload.

// Asks for a file and writes a backup into it.
bool createBackup(Context& context, QWidget* parent);

// Asks for a backup file and whether to delete all data first, then
// restores it.
bool restoreBackup(Context& context, QWidget* parent);
// The same for the backup `path` (a file opened from the desktop).
bool restoreBackupFrom(Context& context, QWidget* parent, const QString& path);

// Asks, then deletes every record of the store; settings stay.
bool removeAllData(Context& context, QWidget* parent);

// Registers the three; `changed` runs after one of them changed the data.
void registerDataCommands(CommandTable& table, Context& context, QWidget* parent,
                          std::function<void()> changed);

}  // namespace tempolatch
