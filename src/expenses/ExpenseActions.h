#pragma once

#include <functional>
#include <optional>

#include "platform/FileTime.h"
#include "records/RecordMarking.h"
#include "store/ExpenseEntry.h"
#include "store/RecordDatabase.h"

namespace tempolatch {

class RecordStore;
struct ExpenseCriteria;

// What the expense window's commands do to one stored expense, without a
// window: read it, mark it, delete it, save it from the editor.
namespace expenseactions {

std::optional<ExpenseEntry> read(RecordStore& store, quint32 recordId);

// A new expense of that type dated today, in the default currency.
ExpenseEntry fresh(ExpenseType type, const QString& defaultCurrency);

// Mark Billed Entries and Mark Paid Entries on the expenses the criteria
// choose: a Billable or Billed one becomes Billed, or Paid on `paidDate`,
// and every chosen one is written back stamped `now`, all in one store
// transaction (a refused write leaves every expense as it was).
entrymarking::BulkResult markChosen(RecordStore& store, const ExpenseCriteria& criteria,
                                    entrymarking::Mark mark, platform::FileTime paidDate,
                                    platform::FileTime now,
                                    const std::function<void(const ExpenseEntry&)>& visited = {});

// The odometer boxes of the mileage page: the end that a start and
// distance give, and the distance that a start and end give, each kept
// inside the boxes' range of 0 to 999999 (an end before the start gives
// a distance of 0).
inline constexpr qint32 MaxOdometer = 999999;
qint32 endOf(qint32 start, qint32 distance);
qint32 distanceOf(qint32 start, qint32 end);

// The text of "Total:": the currency followed directly by rate x distance
// ("%s%.02f").
QString mileageTotalText(const QString& currency, const QString& rateText, qint32 distance);

}  // namespace expenseactions

// Writes an edited expense and adds what the user typed that the client
// structure and the drop lists do not have yet: the client, its project and
// the bill-to contact, the currency, custom values, category and
// description. All of it lands together or none of it does.
class ExpenseSaver {
public:
    explicit ExpenseSaver(RecordStore& store) : m_store(store) {}

    // Stamps the modified time, then adds the expense (which gets its
    // record id) or rewrites its record; a refused save leaves the expense
    // as it was and error() says why. With `asRead`, an expense someone
    // else changed since is left alone (error() ErrorChangedElsewhere).
    WriteResult save(ExpenseEntry& expense,
                     const std::optional<ExpenseEntry>& asRead = std::nullopt);
    int error() const { return m_error; }

private:
    WriteResult addStructure(const ExpenseEntry& expense);

    RecordStore& m_store;
    int m_error = 0;
};

}  // namespace tempolatch
