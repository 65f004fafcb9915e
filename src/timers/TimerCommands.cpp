#include "timers/TimerCommands.h"

#include "editing/EntryCommands.h"
#include "editing/EntryEditor.h"
#include "platform/Clock.h"
#include "platform/StringTable.h"
#include "platform/Ui.h"
#include "settings/Context.h"
#include "timers/EntryTimer.h"
#include "timers/TimerKeeper.h"
#include "timers/TimersDialog.h"
#include "widgets/CommandIds.h"
#include "widgets/CommandTable.h"

namespace tempolatch {

namespace timercommands {

namespace {
// A note longer than this is more than the Note page keeps.
constexpr qsizetype LargestTimerNote = 65000;
}  // namespace

std::optional<quint32> openTimers(const TimerCommandHost& host, const TimeEntry* templateEntry,
                                  bool autoAdd) {
    int completed = -1;
    {
        TimersDialog dialog(*host.context, *host.keeper, templateEntry, autoAdd, host.parent);
        dialog.exec();
        completed = dialog.completedSlot();
    }
    if (completed < 0)
        return std::nullopt;
    return completeTimer(*host.context, host.parent, *host.keeper, completed);
}

std::optional<quint32> createTimerFrom(const TimerCommandHost& host, quint32 recordId) {
    const std::optional<TimeEntry> entry =
        entrycommands::readStoredEntry(host.context->store, recordId);
    if (!entry)
        return std::nullopt;
    const TimeEntry from = timers::templateOf(*entry);
    return openTimers(host, &from, true);
}

bool continueEntry(Context& context, TimerKeeper& keeper, quint32 recordId) {
    const std::optional<TimeEntry> entry = entrycommands::readStoredEntry(context.store, recordId);
    if (!entry)
        return false;
    const TimerStart work{entry->client, entry->project, entry->phase, entry->task, std::nullopt};
    if (keeper.table().start(work, timers::templateOf(*entry), platform::Clock::now()) < 0)
        return false;
    keeper.changed();
    return true;
}

std::optional<quint32> completeTimer(Context& context, QWidget* parent, TimerKeeper& keeper,
                                     int slot) {
    EntryTimerTable& table = keeper.table();
    if (!table.slot(slot).inUse())
        return std::nullopt;
    const TimeEntry entry = timers::entryOf(table.slot(slot), context.settings);
    if (entry.note.size() > LargestTimerNote)
        context.ui.message(resourceString(str::TimerNoteTooLarge), platform::MessageIcon::Warning,
                           parent);
    quint32 recordId = 0;
    const bool saved =
        EntryEditor::edit(context, parent, &entry, false, EntryEditor::GeneralPage, &recordId);
    if (saved)
        table.clear(slot);
    else
        table.slot(slot).state = EntryTimer::Paused;
    keeper.changed();
    return saved ? std::optional<quint32>(recordId) : std::nullopt;
}

}  // namespace timercommands

void registerTimerCommands(CommandTable& table, const TimerCommandHost& host) {
    table.add(cmd::Timers, [host](int) {
        const std::optional<quint32> saved = timercommands::openTimers(host, nullptr, false);
        if (saved && host.saved)
            host.saved(saved);
    });
    table.add(cmd::CreateNewTimer, [host](int) {
        const quint32 id = host.selectedEntry ? host.selectedEntry() : 0;
        if (id == 0)
            return;
        const std::optional<quint32> saved = timercommands::createTimerFrom(host, id);
        if (saved && host.saved)
            host.saved(saved);
    });
}

}  // namespace tempolatch
