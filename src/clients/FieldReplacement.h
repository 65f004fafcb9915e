#pragma once

#include <QString>
#include <QStringList>
#include <functional>

#include "platform/FileTime.h"

namespace tempolatch {

class RecordStore;

// The fields Replace Field Text works on, in the order of its "Type:" list.
// Task renames the tasks of clients (outside projects); ProjectTask the
// task names inside projects. Both replace the entries' task field.
enum class ReplaceField {
    Client,
    Project,
    Phase,
    Task,
    Currency,
    BillTo,
    Custom1,
    Custom2,
    Custom3,
    ProjectTask,
};
inline constexpr int ReplaceFieldCount = 10;

// "Client" ... "Project-Task".
QString replaceFieldName(ReplaceField field);

// The values "Find:" offers for the field: the names the client structure
// or the drop list holds, each once, in the locale's order.
QStringList existingValues(RecordStore& store, ReplaceField field);

struct ReplaceOutcome {
    bool ok = false;
    int entriesChanged = 0;
    int error = 0;  // the store's error code when not ok
};

// Gives `replacement` (cut to the store's name length) to the client
// structure or drop-list records named `find`, then to the field of every
// time entry whose value equals `find` in the user's locale, each with the
// modification time `now`. Where the new name already exists at that
// level, the two are merged rather than doubled: a client's projects,
// tasks, contacts and rates move to the client that has the name (what it
// has already is skipped) and the old client goes; a project, task,
// contact or list value that would repeat a name is removed. All of it is
// one transaction: on failure nothing has changed. `entryWalked` runs once
// per time entry walked.
ReplaceOutcome replaceFieldText(RecordStore& store, ReplaceField field, const QString& find,
                                const QString& replacement, platform::FileTime now,
                                const std::function<void()>& entryWalked = {});

}  // namespace tempolatch
