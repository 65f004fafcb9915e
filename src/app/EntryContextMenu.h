#pragma once

#include <QMenu>
#include <optional>

namespace tempolatch {

class CommandTable;

// The pop-up menu of one time entry: the items are the texts 310 to 322 in
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
