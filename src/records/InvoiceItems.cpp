#include "records/InvoiceItems.h"

#include "records/EntryCriteria.h"
#include "records/EntryFilter.h"
#include "records/FilterValues.h"
#include "store/ExpenseEntry.h"
#include "store/RecordKinds.h"

namespace tempolatch {

namespace {

// One kind's items marked Billed; false when a write was refused, which
// ends the batch.
template <typename Record>
bool markBilled(RecordStore& store, const QList<quint32>& ids, platform::FileTime now,
                entrymarking::BulkResult& out) {
    auto records = recordsOf<Record>(store);
    for (const quint32 id : ids) {
        std::optional<Record> record = records.find(id);
        if (!record || record->status != EntryStatus::Billable)
            continue;
        record->status = EntryStatus::Billed;
        record->modified = now;
        out.result = records.update(*record);
        if (!succeeded(out.result))
            return false;
        ++out.written;
        ++out.changed;
    }
    return true;
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
    return entrymarking::detail::runInOneBatch(store, [&](entrymarking::BulkResult& out) {
        if (markBilled<TimeEntry>(store, items.entries, now, out))
            markBilled<ExpenseEntry>(store, items.expenses, now, out);
    });
}

}  // namespace tempolatch
