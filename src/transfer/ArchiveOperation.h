#pragma once

#include <QSet>
#include <array>
#include <vector>

#include "platform/Ui.h"
#include "transfer/BackupOperation.h"

namespace tempolatch {

class ExpenseEntry;

// Archives: the time entries of a date range and every expense, in the
// layout of a backup with file kind 2 and no client structure. Archiving
// can delete the entries it wrote; loading adds the file's entries back.
class ArchiveOperation : public BackupOperation {
public:
    enum class ArchiveResult { Written, WriteFailed, DeleteFailed };

    // The range takes entries dated at or after `start` and not after `end`.
    ArchiveOperation(RecordStore& store, platform::FileTime start, platform::FileTime end);
    // For loading, where no range is needed.
    explicit ArchiveOperation(RecordStore& store);

    bool writeFileKind(platform::CompoundStream& stream) override;
    bool writeRecords(platform::CompoundStorage& records) override;
    bool writeClients(platform::CompoundStorage& root) override;
    bool restoreExpense(platform::CompoundStream& stream, quint32 dataVersion) override;
    bool readClients(const platform::CompoundStorage& root, quint32 dataVersion) override;
    bool acceptFileKind(quint32 kind) const override;

    // Writes the archive to `path`; with `deleteArchived`, then deletes the
    // entries written into it, in one transaction and only once the file is
    // complete at `path`. An entry is deleted only while it is still exactly
    // what the file holds: one that another program added to the range or
    // changed while the file was written stays (see keptChanged()).
    ArchiveResult archive(const QString& path, bool deleteArchived);
    // Adds the entries of the archive, and its expenses that the store does
    // not hold already; a RestoreResult. Nothing is added unless all is.
    int loadArchive(const QString& path);

    // The record ids of the entries the last archive wrote, in date order.
    const std::vector<quint32>& archivedIds() const { return m_archived; }
    // How many of them the last archive kept in the store, because they
    // had changed since they were written into the file.
    int keptChanged() const { return m_keptChanged; }
    // How many expenses of the last load were already in the store.
    int skippedExpenses() const { return m_skippedExpenses; }

private:
    // What an entry holds, in a few bytes: equal for an entry that is
    // still what the file holds.
    using Fingerprint = std::array<char, 20>;
    static Fingerprint fingerprint(const TimeEntry& entry);

    bool deleteArchived();
    bool deleteArchivedOnce();
    bool isStored(const ExpenseEntry& expense);

    platform::FileTime m_start;
    platform::FileTime m_end;
    std::vector<quint32> m_archived;
    std::vector<Fingerprint> m_fingerprints;  // of m_archived, as written
    int m_keptChanged = 0;
    QSet<quint32> m_addedExpenses;
    int m_skippedExpenses = 0;
};

// The message a load result is reported with, and its icon.
struct LoadArchiveMessage {
    QString text;
    platform::MessageIcon icon = platform::MessageIcon::Information;
};
LoadArchiveMessage loadArchiveMessage(int result);

// What an archive with deletion says of the entries it kept because they
// changed while it was written; empty when there were none.
QString keptChangedText(int kept);

}  // namespace tempolatch
