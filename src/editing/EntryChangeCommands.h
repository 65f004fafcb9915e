#pragma once

#include <functional>

#include "platform/FileTime.h"
#include "records/RecordMarking.h"

class QWidget;

namespace tempolatch {

struct Context;
class CommandTable;
struct EntryCommandHost;

// The main window's commands that change entries outside the editor: on the
// selected entry Copy..., Mark As Billed, Mark As Paid and Delete; in bulk
// Mark Billed Entries... and Mark Paid Entries.... Each returns true when it
// changed the store.
namespace entrycommands {

// "Copy Entry" on the stored entries (one or several selected).
bool copyToDays(Context& context, QWidget* parent, const QList<quint32>& recordIds);
// Mark As Billed or Mark As Paid on the stored entry or expense (TimeEntry
// or ExpenseEntry); a refused write says "Error: %d". True when written.
template <typename Record>
bool markRecord(Context& context, QWidget* parent, quint32 recordId, entrymarking::Mark mark);
// Asks (message 24, No the default), then deletes the stored entry or
// expense. True when it was deleted.
template <typename Record>
bool deleteRecord(Context& context, QWidget* parent, quint32 recordId);
// The same on every selected entry or expense: one of them as above;
// several marked, or asked about once and deleted, in one transaction (a
// refused write leaves all as they were and says so), and the status line
// says how many. True when the store changed.
template <typename Record>
bool markRecords(Context& context, QWidget* parent, const QList<quint32>& recordIds,
                 entrymarking::Mark mark);
template <typename Record>
bool deleteRecords(Context& context, QWidget* parent, const QList<quint32>& recordIds);
// The criteria sheet preset to the period, for Mark Paid the paid date,
// then every chosen entry marked in one transaction under the progress
// dialog. A refused write leaves every entry as it was and says so.
bool markEntries(Context& context, QWidget* parent, entrymarking::Mark mark,
                 const platform::SystemTime& periodStart, const platform::SystemTime& periodEnd);

// What follows the criteria sheet of any bulk marking: for Mark Paid the
// paid-date dialog (Cancel ends it), then `markAll` off the window's thread
// under the progress dialog, on the worker's store (see runInBackground);
// a cancelled marking changes nothing. A refused write shows "Error: %d";
// otherwise the status line says how many `records` were marked. True when
// records were written.
enum class MarkedRecords { Entries, Expenses };
using BulkMarking =
    std::function<entrymarking::BulkResult(RecordStore& store, platform::FileTime paidDate)>;
bool markWithProgress(Context& context, QWidget* parent, entrymarking::Mark mark,
                      MarkedRecords records, const BulkMarking& markAll);
// "12 entries marked Paid.", "No expenses to mark Billed."
QString markedNotice(int written, entrymarking::Mark mark, MarkedRecords records);

}  // namespace entrycommands

// Registers the six on the host's window.
void registerEntryChangeCommands(CommandTable& table, const EntryCommandHost& host);

}  // namespace tempolatch
