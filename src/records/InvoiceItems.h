#pragma once

#include <QList>

#include "platform/FileTime.h"
#include "records/ExpenseCriteria.h"
#include "records/RecordMarking.h"

namespace tempolatch {

class EntryFilter;
class RecordStore;

// What an invoice bills: the record ids of the Billable entries and
// expenses it printed, so that marking them Billed afterwards touches
// exactly those and nothing the invoice did not show.
struct InvoiceItems {
    QList<quint32> entries;
    QList<quint32> expenses;

    bool isEmpty() const { return entries.isEmpty() && expenses.isEmpty(); }
};

// The expenses an invoice of these entry criteria takes in: the Billable
// expenses of its range, of its client (and its project, bill-to and
// currency, when those are chosen).
ExpenseCriteria invoiceExpenseCriteria(const EntryFilter& criteria);

// Marks the items Billed stamped `now`, all in one store transaction: when
// any write is refused, none is kept. An item that is no longer Billable
// (marked meanwhile) or no longer there is left alone.
entrymarking::BulkResult markInvoiceBilled(RecordStore& store, const InvoiceItems& items,
                                           platform::FileTime now);

}  // namespace tempolatch
