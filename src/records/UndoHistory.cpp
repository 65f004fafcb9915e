#include "records/UndoHistory.h"

#include "store/Expenses.h"
#include "store/RecordStore.h"
#include "store/StoreTransaction.h"
#include "store/TimeEntries.h"

namespace tempolatch {

QString undoStepName(UndoAction action, UndoRecords records, int count) {
    const bool expenses = records == UndoRecords::Expenses;
    const QString one = expenses ? QStringLiteral("Expense") : QStringLiteral("Entry");
    const QString what =
        count == 1 ? one
                   : QStringLiteral("%1 %2").arg(count).arg(expenses ? QStringLiteral("Expenses")
                                                                     : QStringLiteral("Entries"));
    switch (action) {
        case UndoAction::Delete:
            return QStringLiteral("Delete ") + what;
        case UndoAction::MarkBilled:
            return QStringLiteral("Mark %1 Billed").arg(what);
        case UndoAction::MarkPaid:
            return QStringLiteral("Mark %1 Paid").arg(what);
        case UndoAction::Copy:
            return QStringLiteral("Copy");
        case UndoAction::Edit:
            return QStringLiteral("Edit ") + one;
        case UndoAction::Replace:
            return QStringLiteral("Replace Field Text");
    }
    return {};
}

UndoResult UndoStep::undo(RecordStore& store, int* error) const {
    return turn(store, true, error);
}

UndoResult UndoStep::redo(RecordStore& store, int* error) const {
    return turn(store, false, error);
}

UndoResult UndoStep::turn(RecordStore& store, bool back, int* error) const {
    bool changedMeanwhile = false;
    const StoreOutcome outcome = writeInOneTransaction(store, [&] {
        // Every record is looked at before any is written: inside the
        // transaction nobody else can change one between the two.
        for (const RecordChange& change : m_changes) {
            const auto& expected = back ? change.after : change.before;
            if (!databaseExists(store, change.databaseId) ||
                storedRecord(store, change.databaseId, change.recordId) != expected) {
                changedMeanwhile = true;
                return WriteResult::NotFound;
            }
        }
        for (const RecordChange& change : m_changes) {
            const WriteResult result = putRecord(store, change.databaseId, change.recordId,
                                                 back ? change.before : change.after);
            if (result != WriteResult::Written)
                return result;
        }
        return WriteResult::Written;
    });
    if (changedMeanwhile)
        return UndoResult::ChangedMeanwhile;
    if (error)
        *error = outcome.error;
    return outcome.succeeded() ? UndoResult::Done : UndoResult::Refused;
}

void UndoHistory::push(UndoStep step) {
    if (step.isEmpty())
        return;
    m_undone.clear();
    m_done.push_back(std::move(step));
    while (m_done.size() > std::size_t(Depth))
        m_done.pop_front();
}

void UndoHistory::clear() {
    m_done.clear();
    m_undone.clear();
}

QString UndoHistory::undoText() const {
    return m_done.empty() ? QStringLiteral("Undo") : QStringLiteral("Undo ") + m_done.back().name();
}

QString UndoHistory::redoText() const {
    return m_undone.empty() ? QStringLiteral("Redo")
                            : QStringLiteral("Redo ") + m_undone.back().name();
}

namespace {

// Takes the newest step of `from` in its direction; done, it goes to `to`.
UndoResult take(std::deque<UndoStep>& from, std::deque<UndoStep>& to, RecordStore& store, bool back,
                int* error) {
    if (from.empty())
        return UndoResult::Nothing;
    const UndoStep& step = from.back();
    const UndoResult result = back ? step.undo(store, error) : step.redo(store, error);
    if (result == UndoResult::Done)
        to.push_back(std::move(from.back()));
    if (result == UndoResult::Done || result == UndoResult::ChangedMeanwhile)
        from.pop_back();
    return result;
}

}  // namespace

UndoResult UndoHistory::undo(RecordStore& store, int* error) {
    return take(m_done, m_undone, store, true, error);
}

UndoResult UndoHistory::redo(RecordStore& store, int* error) {
    return take(m_undone, m_done, store, false, error);
}

}  // namespace tempolatch

namespace tempolatch {

UndoStep stepOf(const RecordJournal& journal, RecordStore& store, UndoAction action,
                UndoRecords records) {
    QList<RecordChange> changes = journal.changes();
    if (action != UndoAction::Replace) {
        // What an editor adds beside the entry (a client, a list value) stays.
        const quint32 kept = records == UndoRecords::Expenses ? Expenses(store).databaseId()
                                                              : TimeEntries(store).databaseId();
        changes.removeIf([kept](const RecordChange& c) { return c.databaseId != kept; });
    }
    const int count = int(changes.size());
    return UndoStep(undoStepName(action, records, count), std::move(changes));
}

}  // namespace tempolatch
