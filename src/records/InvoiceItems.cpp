#include "records/InvoiceItems.h"

#include "records/EntryCriteria.h"
#include "records/EntryFilter.h"
#include "records/FilterValues.h"
#include "store/ExpenseEntry.h"
#include "store/RecordKinds.h"

namespace tempolatch {

namespace {

// One kind's items marked Billed; those deleted or no longer Billable
// since the invoice was written are passed over. False when a write was
// refused, which ends the batch.
template <typename Record>
bool markBilled(RecordStore& store, const QList<quint32>& ids, platform::FileTime now,
                entrymarking::BulkResult& out) {
    auto records = recordsOf<Record>(store);
    return entrymarking::detail::writeEach(
        ids,
        [&](quint32 id, int*) {
            std::optional<Record> record = records.find(id);
            if (!record || record->status != EntryStatus::Billable)
                return WriteResult::NotFound;
            record->status = EntryStatus::Billed;
            record->modified = now;
            return records.update(*record);
        },
        out);
}

}  // namespace

ExpenseCriteria invoiceExpenseCriteria(const EntryFilter& criteria) {
    ExpenseCriteria chosen;
    chosen.from = criteriaStart(criteria);
    chosen.to = criteriaEnd(criteria);
    chosen.matches = [criteria](const ExpenseEntry& e) {
        return e.status == EntryStatus::Billable && textMatches(criteria.client, e.client) &&
               textMatches(criteria.project, e.project) && textMatches(criteria.billTo, e.billTo) &&
               textMatches(criteria.currency, e.currency);
    };
    return chosen;
}

entrymarking::BulkResult markInvoiceBilled(RecordStore& store, const InvoiceItems& items,
                                           platform::FileTime now) {
    entrymarking::BulkResult marked =
        entrymarking::detail::runInOneBatch(store, [&](entrymarking::BulkResult& out) {
            if (markBilled<TimeEntry>(store, items.entries, now, out))
                markBilled<ExpenseEntry>(store, items.expenses, now, out);
        });
    marked.changed = marked.written;  // only Billable items are written: each changes
    return marked;
}

}  // namespace tempolatch
