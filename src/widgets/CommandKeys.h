#pragma once

#include <QDialog>
#include <QKeySequence>
#include <QList>
#include <functional>
#include <initializer_list>

class QAction;
class QTableWidget;
class QWidget;

namespace tempolatch {

class CommandTable;

// A command's keys as windows list them: {id, {keys}, "what it does"}.
struct CommandKeyRow {
    int id = 0;
    QList<QKeySequence> keys;
    const char* description = nullptr;
};
void addCommandKeys(CommandTable& table, std::initializer_list<CommandKeyRow> rows);
// The keys every window with a list has: Undo, Redo and Help.
void addUndoAndHelpKeys(CommandTable& table);

// Makes the keys of the table work in `window`: each runs its command
// through `run` (a command without a handler has greyed keys too).
void installCommandKeys(QWidget* window, const CommandTable& table,
                        const std::function<void(int id)>& run);

// Shows the command's keys beside its menu item. The item's own shortcut
// only answers while its menu has the focus, so the key never runs the
// command twice.
void showCommandKeys(QAction* item, const CommandTable& table, int id);

// Help > Keyboard Shortcuts: every key of the window's table and what it does.
class KeyboardShortcutsDialog : public QDialog {
    Q_OBJECT
public:
    KeyboardShortcutsDialog(const CommandTable& table, QWidget* parent = nullptr);
    QTableWidget* table() const { return m_table; }

private:
    QTableWidget* m_table;
};

}  // namespace tempolatch
