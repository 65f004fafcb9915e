#pragma once

#include <QList>
#include <QString>
#include <deque>

#include "store/RecordJournal.h"

namespace tempolatch {

class RecordStore;

// What a command that can be undone did, in the words of the Edit menu.
enum class UndoAction { Delete, MarkBilled, MarkPaid, Copy, Edit, Replace };
// Which records it did it to.
enum class UndoRecords { Entries, Expenses };

// "Delete 3 Entries", "Mark Expense Paid", "Copy", "Edit Entry",
// "Replace Field Text": the name of a step, after "Undo " or "Redo ".
QString undoStepName(UndoAction action, UndoRecords records, int count);

// How an undo or a redo ended.
enum class UndoResult {
    Done,
    Nothing,           // no step to take
    ChangedMeanwhile,  // a record of the step is not as the step left it
    Refused,           // the store refused a write; error() says why
};

// One command's work: the records it changed, each with what it held
// before and after. Undone, every record goes back to what it held before;
// redone, to what it held after. Either way all of it is one transaction,
// and only when every record still is as the other way left it: when
// someone else changed one meanwhile, nothing is written.
class UndoStep {
public:
    UndoStep(QString name, QList<RecordChange> changes)
        : m_name(std::move(name)), m_changes(std::move(changes)) {}

    QString name() const { return m_name; }
    const QList<RecordChange>& changes() const { return m_changes; }
    bool isEmpty() const { return m_changes.isEmpty(); }

    UndoResult undo(RecordStore& store, int* error = nullptr) const;
    UndoResult redo(RecordStore& store, int* error = nullptr) const;

private:
    UndoResult turn(RecordStore& store, bool back, int* error) const;

    QString m_name;
    QList<RecordChange> m_changes;
};

// The steps of a session that can be undone, the newest last, and those
// undone that can be redone. A new step forgets what could be redone.
class UndoHistory {
public:
    // Steps kept; older ones are forgotten.
    static constexpr int Depth = 50;

    void push(UndoStep step);
    void clear();

    bool canUndo() const { return !m_done.empty(); }
    bool canRedo() const { return !m_undone.empty(); }
    // "Undo Delete 3 Entries"; "Undo" when there is nothing to undo.
    QString undoText() const;
    QString redoText() const;
    int undoCount() const { return int(m_done.size()); }

    // The newest step undone (or the last one undone redone). A step whose
    // records were changed meanwhile is forgotten: it could never be taken.
    UndoResult undo(RecordStore& store, int* error = nullptr);
    UndoResult redo(RecordStore& store, int* error = nullptr);

private:
    std::deque<UndoStep> m_done;
    std::deque<UndoStep> m_undone;
};

}  // namespace tempolatch

namespace tempolatch {

// The step of what `journal` saw written: to the entries or the expenses,
// or for Replace Field Text to any record (it renames in the client
// structure and the drop lists too), named for `action` and the number of
// records.
UndoStep stepOf(const RecordJournal& journal, RecordStore& store, UndoAction action,
                UndoRecords records);

}  // namespace tempolatch
