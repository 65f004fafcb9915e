#pragma once

#include <QtGlobal>
#include <functional>

#include "store/RecordDatabase.h"

namespace tempolatch {

class RecordStore;

// How a transaction ended: Written when it was committed, otherwise the
// result of the write that stopped it (Refused with the store's code, for
// "Error: %d").
struct StoreOutcome {
    WriteResult result = WriteResult::Refused;
    int error = 0;

    bool succeeded() const { return tempolatch::succeeded(result); }
};

// The one door for writes that belong together: everything written through
// the store while a transaction lives lands on commit(), or none of it does
// (a failed commit, a failed write passed to finish(), or leaving the scope
// uncommitted takes all of it back). Transactions nest: an inner one lands
// with the outer.
class StoreTransaction {
public:
    explicit StoreTransaction(RecordStore& store);
    ~StoreTransaction();
    StoreTransaction(const StoreTransaction&) = delete;
    StoreTransaction& operator=(const StoreTransaction&) = delete;

    // False when it could not begin (the store is not there, is read-only
    // or locked); the outcome of commit() then says why.
    bool isActive() const { return m_active; }

    // Keeps what was written; Refused with the store's code when the store
    // could not keep it (then nothing was kept).
    StoreOutcome commit();
    // Ends the transaction on the result of its writes: a success (Written
    // or Unchanged) is committed, any other result takes everything back.
    StoreOutcome finish(WriteResult result);

private:
    StoreOutcome refused();

    RecordStore& m_store;
    bool m_active = false;
};

// Everything read through the store while a snapshot lives sees one moment
// of the store, whatever other programs commit meanwhile: backups and dumps
// read through one, so that they never mix old and new.
class StoreSnapshot {
public:
    explicit StoreSnapshot(RecordStore& store);
    ~StoreSnapshot();
    StoreSnapshot(const StoreSnapshot&) = delete;
    StoreSnapshot& operator=(const StoreSnapshot&) = delete;
    bool isActive() const { return m_active; }

private:
    RecordStore& m_store;
    bool m_active = false;
};

// Runs `writes` in one transaction of the store, opening the store's
// databases first when they are not: all of it lands or none of it does.
StoreOutcome writeInOneTransaction(RecordStore& store, const std::function<WriteResult()>& writes);

}  // namespace tempolatch
