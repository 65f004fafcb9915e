#pragma once

#include <QMenu>
#include <optional>

namespace tempolatch {

class CommandTable;

// The mark items of the entry context menu for an entry of that status;
// without an entry (nothing selected or unreadable) both are greyed.
struct EntryMenuState {
    bool billedChecked = false;
    bool billedEnabled = false;
    bool paidChecked = false;
    bool paidEnabled = false;
};

inline EntryMenuState entryMenuState(std::optional<int> status) {
    EntryMenuState state;
    if (!status)
        return state;
    const int s = *status;
    state.billedEnabled = s != 0;
    state.paidEnabled = s != 0;
    state.billedChecked = s == 2 || s == 3;
    state.paidChecked = s == 3;
    return state;
}

// The pop-up menu of one entry (a time entry or an expense): the items are the texts 310 to 322 in
// order ("-" becomes a separator), each with its text's number as command
// id. The mark items are checked and greyed by the entry's status; without
// an entry (none selected, or it cannot be read) both are greyed. Items
// without a handler in `commands` are greyed too.
class EntryContextMenu : public QMenu {
    Q_OBJECT
public:
    EntryContextMenu(std::optional<int> status, const CommandTable& commands,
                     QWidget* parent = nullptr);

    QAction* command(int id) const;

Q_SIGNALS:
    void commandTriggered(int id);
};

}  // namespace tempolatch
