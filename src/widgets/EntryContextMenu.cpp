#include "widgets/EntryContextMenu.h"

#include "platform/StringTable.h"
#include "widgets/CommandIcons.h"
#include "widgets/CommandIds.h"
#include "widgets/CommandKeys.h"
#include "widgets/CommandTable.h"
#include "widgets/Mnemonics.h"

namespace tempolatch {

EntryContextMenu::EntryContextMenu(std::optional<int> status, const CommandTable& commands,
                                   QWidget* parent)
    : QMenu(parent) {
    setObjectName(QStringLiteral("entryContextMenu"));
    for (int id = str::EntryMenuFirst; id <= str::EntryMenuLast; ++id) {
        const QString label = resourceString(id);
        if (label == QLatin1String("-")) {
            addSeparator();
            continue;
        }
        QAction* action = addAction(label);
        action->setData(id);
        action->setEnabled(commands.has(id));
        action->setIcon(commandIcon(id));
        showCommandKeys(action, commands, id);
        connect(action, &QAction::triggered, this, [this, id] { Q_EMIT commandTriggered(id); });
    }
    const EntryMenuState state = entryMenuState(status);
    QAction* billed = command(cmd::MarkAsBilled);
    billed->setCheckable(true);
    billed->setChecked(state.billedChecked);
    billed->setEnabled(state.billedEnabled && commands.has(cmd::MarkAsBilled));
    QAction* paid = command(cmd::MarkAsPaid);
    paid->setCheckable(true);
    paid->setChecked(state.paidChecked);
    paid->setEnabled(state.paidEnabled && commands.has(cmd::MarkAsPaid));
    // Opened from the keyboard, its items are chosen by letter.
    mnemonics::assign(this);
}

QAction* EntryContextMenu::command(int id) const {
    for (QAction* action : actions()) {
        if (!action->isSeparator() && action->data().toInt() == id)
            return action;
    }
    return nullptr;
}

}  // namespace tempolatch
