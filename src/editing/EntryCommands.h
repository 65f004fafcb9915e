#pragma once

#include <QString>
#include <functional>
#include <optional>
#include <utility>

#include "store/TimeEntry.h"

class QWidget;

namespace tempolatch {

struct Context;
class RecordStore;
class CommandTable;

// The main window's commands that open the entry editor or the summary.
// Each returns the record id of the saved entry, or nullopt when nothing
// was saved.
namespace entrycommands {

// The stored entry of that record id.
std::optional<TimeEntry> readStoredEntry(RecordStore& store, quint32 recordId);
// A record id typed in hexadecimal ("1A2B", "0x1a2b"); nullopt for anything else.
std::optional<quint32> parseRecordId(const QString& text);

// A new entry dated `day` (00:00, no start time).
std::optional<quint32> newEntry(Context& context, QWidget* parent, const platform::SystemTime& day);
// Opens the stored entry on the given page (EntryEditor::Page).
std::optional<quint32> editEntry(Context& context, QWidget* parent, quint32 recordId, int page);
// The entry as a new one: saved as a copy, its values kept.
std::optional<quint32> copyEntry(Context& context, QWidget* parent, quint32 recordId);
// Asks for a record id in hexadecimal and edits that entry.
std::optional<quint32> openEntryById(Context& context, QWidget* parent);

// Shows the entry's summary; true when the user asked to edit it.
bool previewEntry(Context& context, QWidget* parent, quint32 recordId);

}  // namespace entrycommands

// What the entry commands need of the window they run in.
struct EntryCommandHost {
    Context* context = nullptr;
    QWidget* parent = nullptr;
    // The record id of the selected entry; 0 when none is selected.
    std::function<quint32()> selectedEntry;
    // Every selected entry's record id, in the list's order.
    std::function<QList<quint32>()> selectedEntries;
    // After a command that may have saved an entry: its record id, if it did.
    std::function<void(std::optional<quint32>)> saved;
    // Runs another command once this one has returned.
    std::function<void(int id)> post;
    // The day a new entry starts on.
    std::function<platform::SystemTime()> newEntryDay;
    // After a command that changed entries: the view reloads.
    std::function<void()> reload;
    // After the selected entry was deleted: its row goes, nothing else.
    std::function<void(const TimeEntry& deleted)> removeSelectedRow;
    // The period the view shows, which bulk commands start from.
    std::function<std::pair<platform::SystemTime, platform::SystemTime>()> period;
};

// Registers New, Edit (the menu's and the tap's), Edit Note, Create Copy,
// Preview and opening an entry by its record id, and the commands that
// change entries outside the editor (editing/EntryChangeCommands.h).
void registerEntryCommands(CommandTable& table, const EntryCommandHost& host);

}  // namespace tempolatch
