#include "transfer/ArchiveOperation.h"

#include <QCryptographicHash>
#include <algorithm>
#include <numeric>

#include "platform/Property.h"
#include "platform/StringTable.h"
#include "platform/compound/CompoundFile.h"
#include "store/Expenses.h"
#include "store/RecordStore.h"
#include "store/StoreFailure.h"
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
    m_fingerprints.clear();
    int number = 0;
    bool written = true;
    TimeEntries(store()).forEachInRange(m_start, m_end, [&](const TimeEntry& entry) {
        CompoundStream stream = records.createStream(BackupFile::recordName(number++));
        written = stream && BackupFile::writeEntry(stream, entry) && stream.close();
        if (written) {
            m_archived.push_back(entry.recordId);
            m_fingerprints.push_back(fingerprint(entry));
        }
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
    if (Expenses(store()).add(expense) != WriteResult::Written)
        return false;
    m_addedExpenses.insert(expense.recordId);
    return true;
}

// An expense that was in the store before this load and equals `expense`
// in every stored field, its last-modified time included. Two equal
// expenses of one file are both added, as they were both kept.
bool ArchiveOperation::isStored(const ExpenseEntry& expense) {
    bool found = false;
    Expenses(store()).forEachInRange(expense.date, expense.date, [&](const ExpenseEntry& stored) {
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
    m_fingerprints.clear();
    m_keptChanged = 0;
    if (!backup(path))
        return ArchiveResult::WriteFailed;
    if (deleteArchived && !this->deleteArchived())
        return ArchiveResult::DeleteFailed;
    return ArchiveResult::Written;
}

ArchiveOperation::Fingerprint ArchiveOperation::fingerprint(const TimeEntry& entry) {
    // Every stored field but the record id and the change flags, which the
    // file does not hold either.
    const QByteArray digest = QCryptographicHash::hash(
        platform::encodeProperties(entry.propertiesForAdd(0)), QCryptographicHash::Sha1);
    Fingerprint print{};
    std::copy_n(digest.constData(), std::min<qsizetype>(digest.size(), print.size()),
                print.begin());
    return print;
}

bool ArchiveOperation::deleteArchived() {
    // Run again from the start when another writer's transaction ran into
    // this one: everything of the failed try was taken back.
    return retryOnConflict([this] { return deleteArchivedOnce(); },
                           [this](bool deleted) { return deleted ? 0 : store().lastError(); });
}

bool ArchiveOperation::deleteArchivedOnce() {
    StoreTransaction transaction(store());
    if (!transaction.isActive())
        return false;
    // Compared inside the transaction, which keeps every other writer out
    // until the deletion is done: what another program changed while the
    // file was written is not what the file holds, and stays. In the order
    // of the table, which keeps the pages written few; one that another
    // window deleted meanwhile is gone already.
    std::vector<size_t> order(m_archived.size());
    std::iota(order.begin(), order.end(), size_t(0));
    std::sort(order.begin(), order.end(),
              [&](size_t a, size_t b) { return m_archived[a] < m_archived[b]; });
    TimeEntries entries(store());
    std::vector<quint32> unchanged;
    unchanged.reserve(order.size());
    int kept = 0;
    for (const size_t i : order) {
        const std::optional<TimeEntry> now = entries.find(m_archived[i]);
        if (!now)
            continue;
        if (fingerprint(*now) == m_fingerprints[i])
            unchanged.push_back(m_archived[i]);
        else
            ++kept;
    }
    if (!entries.removeEach(unchanged) || !transaction.commit().succeeded())
        return false;
    m_keptChanged = kept;
    return true;
}

int ArchiveOperation::loadArchive(const QString& path) {
    m_addedExpenses.clear();
    m_skippedExpenses = 0;
    const int result = restore(path);
    if (result != RestoreOk)
        m_skippedExpenses = 0;
    return result;
}

QString keptChangedText(int kept) {
    if (kept <= 0)
        return {};
    return kept == 1 ? QStringLiteral(
                           "1 archived time entry was changed while the archive was "
                           "written; it was not deleted.")
                     : QStringLiteral(
                           "%1 archived time entries were changed while the archive "
                           "was written; they were not deleted.")
                           .arg(kept);
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
