#pragma once

#include <QString>
#include <optional>

#include "store/TimeEntry.h"

class QWidget;

namespace tempolatch {

struct Context;
class RecordStore;

// The main window's commands that open the entry editor or the summary.
// Each returns the record id of the saved entry, or nullopt when nothing
// was saved.
namespace entrycommands {

// The stored entry of that record id.
std::optional<TimeEntry> readStoredEntry(RecordStore& store, quint32 recordId);
// A record id typed in hexadecimal ("1A2B", "0x1a2b"); nullopt for anything else.
std::optional<quint32> parseRecordId(const QString& text);

std::optional<quint32> newEntry(Context& context, QWidget* parent);
// Opens the stored entry on the given page (EntryEditor::Page).
std::optional<quint32> editEntry(Context& context, QWidget* parent, quint32 recordId, int page);
// The entry as a new one: saved as a copy, its values kept.
std::optional<quint32> copyEntry(Context& context, QWidget* parent, quint32 recordId);
// Asks for a record id in hexadecimal and edits that entry.
std::optional<quint32> openEntryById(Context& context, QWidget* parent);

// Shows the entry's summary; true when the user asked to edit it.
bool previewEntry(Context& context, QWidget* parent, quint32 recordId);

}  // namespace entrycommands
}  // namespace tempolatch
