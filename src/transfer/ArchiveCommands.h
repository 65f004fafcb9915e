#pragma once

#include <functional>

#include "platform/FileTime.h"

class QString;
class QWidget;

namespace tempolatch {

struct Context;
class CommandTable;

// The main window's Archive Entries... and Load Archive... commands. Each
// returns true when the main view must reload.

struct ArchiveRange {
    platform::SystemTime start;
    platform::SystemTime end;
    bool deleteArchived = true;
};

// Asks for the range (preset with `start`..`end`) and the file, then
// archives. Cancel in either dialog ends the command.
bool archiveEntries(Context& context, QWidget* parent, const platform::SystemTime& start,
                    const platform::SystemTime& end);
// The part after the range dialog: the save dialog, the archive, the
// message on failure.
bool archiveEntriesInRange(Context& context, QWidget* parent, const ArchiveRange& range);

// Asks for an archive file and adds what it holds; says how it went.
bool loadArchive(Context& context, QWidget* parent);
// The same for the archive `path` (a file opened from the desktop).
bool loadArchiveFrom(Context& context, QWidget* parent, const QString& path);

// Registers the two; `period` gives the period the main window shows and
// `changed` runs after one of them changed the data.
void registerArchiveCommands(
    CommandTable& table, Context& context, QWidget* parent,
    std::function<void(platform::SystemTime& start, platform::SystemTime& end)> period,
    std::function<void()> changed);

}  // namespace tempolatch
