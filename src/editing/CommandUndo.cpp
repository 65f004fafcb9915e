#include "editing/CommandUndo.h"

#include <QAction>
#include <QWidget>

#include "platform/Ui.h"
#include "settings/Context.h"
#include "store/RecordJournal.h"
#include "store/RecordStore.h"
#include "widgets/CommandIds.h"
#include "widgets/CommandTable.h"

namespace tempolatch {

std::optional<UndoAction> undoActionOf(int commandId) {
    switch (commandId) {
        case cmd::Delete:
            return UndoAction::Delete;
        case cmd::MarkAsBilled:
        case cmd::MarkBilledEntries:
            return UndoAction::MarkBilled;
        case cmd::MarkAsPaid:
        case cmd::MarkPaidEntries:
            return UndoAction::MarkPaid;
        case cmd::Copy:
            return UndoAction::Copy;
        case cmd::New:
        case cmd::Edit:
        case cmd::EditSelected:
        case cmd::EditNote:
        case cmd::CreateCopy:
        case cmd::Preview:
        case cmd::OpenEntryById:
            return UndoAction::Edit;
        case cmd::ReplaceFieldText:
            return UndoAction::Replace;
        default:
            return std::nullopt;
    }
}

CommandUndo::CommandUndo(Context& context, UndoHistory& history, UndoRecords records,
                         QWidget* parent)
    : m_context(context), m_history(history), m_records(records), m_parent(parent) {}

bool CommandUndo::run(const CommandTable& table, int id) {
    std::optional<UndoAction> action = undoActionOf(id);
    if (const auto own = m_ownCommands.find(id); own != m_ownCommands.end())
        action = own->second;
    if (!action || !table.has(id) || !m_context.store.isOpen())
        return table.run(id);
    const RecordJournal journal(m_context.store);
    const bool ran = table.run(id);
    m_history.push(stepOf(journal, m_context.store, *action, m_records));
    return ran;
}

void CommandUndo::registerCommands(CommandTable& table, std::function<void()> changed) {
    table.add({cmd::Undo, cmd::Redo}, [this, changed](int id) {
        if (take(id == cmd::Undo) && changed)
            changed();
    });
}

bool CommandUndo::take(bool back) {
    const QString name = back ? m_history.undoText() : m_history.redoText();
    int error = 0;
    const UndoResult result =
        back ? m_history.undo(m_context.store, &error) : m_history.redo(m_context.store, &error);
    switch (result) {
        case UndoResult::Done:
            m_context.ui.notice(QStringLiteral("%1: done.").arg(name));
            return true;
        case UndoResult::Nothing:
            m_context.ui.notice(back ? QStringLiteral("Nothing to undo.")
                                     : QStringLiteral("Nothing to redo."));
            return false;
        case UndoResult::ChangedMeanwhile:
            m_context.ui.message(
                QStringLiteral("%1 is not possible: some of its records were changed since, in "
                               "another window or program. Nothing was changed.")
                    .arg(name),
                platform::MessageIcon::Warning, m_parent);
            return false;
        case UndoResult::Refused:
            m_context.ui.message(QStringLiteral("Error: %1").arg(error),
                                 platform::MessageIcon::Stop, m_parent);
            return false;
    }
    return false;
}

void CommandUndo::updateActions(QAction* undo, QAction* redo) const {
    if (undo) {
        undo->setText(m_history.undoText());
        undo->setEnabled(m_history.canUndo());
    }
    if (redo) {
        redo->setText(m_history.redoText());
        redo->setEnabled(m_history.canRedo());
    }
}

}  // namespace tempolatch
