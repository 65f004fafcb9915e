#pragma once

#include <QString>
#include <functional>

#include "store/RecordDatabase.h"

class QObject;

namespace tempolatch {

namespace platform {
class Ui;
}

// What the user wants done with a record that someone else changed while
// it was being edited: see it as it is stored now (dropping the edits),
// save the edits over it, or go on editing.
enum class ConflictChoice { Reload, Overwrite, KeepEditing };

// Asks; `what` names the record ("entry", "expense").
ConflictChoice askAboutConflict(platform::Ui& ui, const QString& what, QObject* parent);

// How one save of an editor ended: its result and the store's code.
struct SaveTry {
    WriteResult result = WriteResult::Refused;
    int error = 0;

    bool changedElsewhere() const;
};

// An editor's OK: `save(overwrite)` saves the record, refusing to
// overwrite another's change unless told to. When someone else had changed
// it the user is asked; Overwrite saves again. The last save's outcome;
// `reload` is set when the user chose to see the stored record instead.
SaveTry saveSettlingConflict(platform::Ui& ui, const QString& what, QObject* parent,
                             const std::function<SaveTry(bool overwrite)>& save, bool& reload);

}  // namespace tempolatch
