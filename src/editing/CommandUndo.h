#pragma once

#include <functional>
#include <map>
#include <optional>

#include "records/UndoHistory.h"

class QAction;
class QWidget;

namespace tempolatch {

struct Context;
class CommandTable;

// Which of a window's commands leave a step to undo, and as what: Delete,
// the markings (on the selection and in bulk), Copy..., every save of the
// entry editor (new, edit, copy, note, preview) and Replace Field Text.
std::optional<UndoAction> undoActionOf(int commandId);

// A window's Undo and Redo: the window runs its commands through run(),
// which makes a step of what an undoable one wrote, and registers Undo
// and Redo (Ctrl+Z, Ctrl+Shift+Z) in its table. The history is the
// caller's, so that it outlives the window for the session.
class CommandUndo {
public:
    CommandUndo(Context& context, UndoHistory& history, UndoRecords records, QWidget* parent);

    // A command of the window's own that leaves a step.
    void addCommand(int id, UndoAction action) { m_ownCommands[id] = action; }
    // Runs the command's handler; false when it has none.
    bool run(const CommandTable& table, int id);
    // Undo and Redo; `changed` runs after either changed the store.
    void registerCommands(CommandTable& table, std::function<void()> changed);
    // The items' texts ("Undo Delete 3 Entries") and greying.
    void updateActions(QAction* undo, QAction* redo) const;

    UndoHistory& history() { return m_history; }

private:
    bool take(bool back);

    Context& m_context;
    UndoHistory& m_history;
    UndoRecords m_records;
    QWidget* m_parent;
    std::map<int, UndoAction> m_ownCommands;
};

}  // namespace tempolatch
