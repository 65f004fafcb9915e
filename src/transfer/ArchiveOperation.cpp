#include "transfer/ArchiveOperation.h"

#include <algorithm>

#include "platform/CompoundFile.h"
#include "platform/StringTable.h"
#include "store/Expenses.h"
#include "store/RecordStore.h"
#include "store/StoreTransaction.h"
#include "store/TimeEntries.h"
#include "transfer/BackupFile.h"

namespace tempolatch {

using platform::CompoundStorage;
using platform::CompoundStream;
using platform::FileTime;

ArchiveOperation::ArchiveOperation(RecordStore& store, FileTime start, FileTime end)
    : BackupOperation(store), m_start(start), m_end(end) {}

ArchiveOperation::ArchiveOperation(RecordStore& store) : BackupOperation(store) {}

bool ArchiveOperation::writeFileKind(CompoundStream& stream) {
    return stream.writeUInt32(quint32(BackupFile::Kind::Archive));
}

bool ArchiveOperation::writeRecords(CompoundStorage& records) {
    m_archived.clear();
    int number = 0;
    bool written = true;
    TimeEntries(store().entries()).forEachInRange(m_start, m_end, [&](const TimeEntry& entry) {
        CompoundStream stream = records.createStream(BackupFile::recordName(number++));
        written = stream && BackupFile::writeEntry(stream, entry) && stream.close();
        if (written)
            m_archived.push_back(entry.recordId);
        return written;
    });
    return written;
}

bool ArchiveOperation::writeClients(CompoundStorage&) {
    return true;
}

bool ArchiveOperation::readClients(const CompoundStorage&, quint32) {
    return true;
}

bool ArchiveOperation::acceptFileKind(quint32 kind) const {
    return kind == quint32(BackupFile::Kind::Archive);
}

// Every archive carries all expenses of its day, so loading archives made
// with deletion would otherwise add each expense once per archive.
bool ArchiveOperation::restoreExpense(CompoundStream& stream, quint32) {
    ExpenseEntry expense;
    if (!BackupFile::readExpense(stream, now(), expense))
        return false;
    if (isStored(expense)) {
        ++m_skippedExpenses;
        return true;
    }
    if (Expenses(store().expenses()).add(expense) != WriteResult::Written)
        return false;
    m_addedExpenses.insert(expense.recordId);
    return true;
}

// An expense that was in the store before this load and equals `expense`
// in every stored field, its last-modified time included. Two equal
// expenses of one file are both added, as they were both kept.
bool ArchiveOperation::isStored(const ExpenseEntry& expense) {
    bool found = false;
    Expenses(store().expenses())
        .forEachInRange(expense.date, expense.date, [&](const ExpenseEntry& stored) {
            if (m_addedExpenses.contains(stored.recordId))
                return true;
            ExpenseEntry other = stored;
            other.recordId = expense.recordId;
            other.changeFlags = expense.changeFlags;
            found = other == expense;
            return !found;
        });
    return found;
}

ArchiveOperation::ArchiveResult ArchiveOperation::archive(const QString& path,
                                                          bool deleteArchived) {
    m_archived.clear();
    if (!backup(path))
        return ArchiveResult::WriteFailed;
    if (deleteArchived && !this->deleteArchived())
        return ArchiveResult::DeleteFailed;
    return ArchiveResult::Written;
}

bool ArchiveOperation::deleteArchived() {
    StoreTransaction transaction(store());
    if (!transaction.isActive())
        return false;
    // In the order of the table, which keeps the pages written few; one
    // that another window deleted meanwhile is gone already.
    std::vector<quint32> ids = m_archived;
    std::sort(ids.begin(), ids.end());
    return TimeEntries(store().entries()).removeEach(ids) && transaction.commit().succeeded();
}

int ArchiveOperation::loadArchive(const QString& path) {
    m_addedExpenses.clear();
    m_skippedExpenses = 0;
    const int result = restore(path);
    if (result != RestoreOk)
        m_skippedExpenses = 0;
    return result;
}

LoadArchiveMessage loadArchiveMessage(int result) {
    using platform::MessageIcon;
    switch (result) {
        case BackupOperation::RestoreOk:
            return {resourceString(str::ArchiveLoaded), MessageIcon::Information};
        case BackupOperation::RestoreFailed:
            return {resourceString(str::ArchiveCannotLoad), MessageIcon::Stop};
        case BackupOperation::RestoreUnsupported:
            return {QStringLiteral("This archive file was written by a version of Tempolatch too "
                                   "old to be read. Nothing was added."),
                    MessageIcon::Stop};
        case BackupOperation::RestoreKindRefused:
            return {resourceString(str::ArchiveDataOnly), MessageIcon::Warning};
        default:
            return {};
    }
}

}  // namespace tempolatch
