#pragma once

#include <QList>
#include <QString>
#include <vector>

#include "platform/FileTime.h"
#include "store/TimeEntry.h"

class QObject;

namespace tempolatch {

namespace platform {
class CompoundStorage;
class CompoundStream;
}  // namespace platform
class RecordDatabase;
class RecordStore;

// Writes the whole data set (time entries, expenses, the client structure
// and the default rates) into a backup file and reads such files back.
// Archives and client-structure files are the same files with other parts
// left out: their operations derive from this one and override the steps.
class BackupOperation {
public:
    enum RestoreResult {
        RestoreOk = 0,
        RestoreFailed = 1,       // unreadable file, stream or record; missing element
        RestoreUnsupported = 2,  // data version below 250
        RestoreKindRefused = 3,  // acceptFileKind said no
    };

    explicit BackupOperation(RecordStore& store);
    virtual ~BackupOperation();
    BackupOperation(const BackupOperation&) = delete;
    BackupOperation& operator=(const BackupOperation&) = delete;

    virtual quint32 dataVersion() const;
    // The second value of "DataVersion".
    virtual bool writeFileKind(platform::CompoundStream& stream);
    virtual bool writeRecords(platform::CompoundStorage& records);
    virtual bool writeExpenses(platform::CompoundStorage& expenses);
    // Creates "Clients" in the root.
    virtual bool writeClients(platform::CompoundStorage& root);
    // Reads one entry of "Records"; entries are added in groups, the last
    // group when readContent() has read them all.
    virtual bool restoreEntry(platform::CompoundStream& stream, quint32 dataVersion);
    virtual bool restoreExpense(platform::CompoundStream& stream, quint32 dataVersion);
    // Merges the clients of the file into the store by name, adding their
    // projects, tasks and contacts that are missing and every rate.
    virtual bool readClients(const platform::CompoundStorage& root, quint32 dataVersion);
    // The same without any rate.
    virtual bool readClientsWithoutRates(const platform::CompoundStorage& root,
                                         quint32 dataVersion);
    virtual bool acceptFileKind(quint32 kind) const;

    // Writes the file; it appears at `path`, replacing what was there, only
    // when complete. False on any failure, with any earlier file untouched,
    // and for the files of the profile's store and settings.
    bool backup(const QString& path);

    // Adds the records of the file to the store; a RestoreResult. The file is
    // examined before anything changes, and the whole restore (with
    // `deleteAllFirst` the deletion of all data too) is one transaction:
    // whatever fails leaves the store as it was. The notify target is the
    // one the store's databases are reopened with after a deletion.
    int restore(const QString& path, bool deleteAllFirst = false, QObject* notifyTarget = nullptr);

    // After a failed backup(): what the system said of the file (a full
    // disk, a read-only folder), empty when the store was to blame. After a
    // restore() that gave RestoreFailed: why the file was not read.
    QString errorString() const { return m_error; }

protected:
    // The files of other kinds leave parts out. Writing: everything after
    // "DataVersion" (by default "Records", "Expenses", then "Clients").
    virtual bool writeContent(platform::CompoundStorage& root);
    // Reading: the oldest data version read, and everything after the kind
    // check, inside the restore's transaction.
    virtual quint32 oldestReadable() const;
    virtual bool readContent(const platform::CompoundStorage& root, quint32 dataVersion);

    RecordStore& store() { return m_store; }
    // The current local time, taken once per restore.
    platform::FileTime now() const { return m_now; }

    bool writeClient(platform::CompoundStorage& storage, quint32 clientId, const QString& name);
    bool writeRates(platform::CompoundStream& stream, quint32 clientId);
    bool readClientStructure(const platform::CompoundStorage& root, quint32 dataVersion,
                             bool withRates);

private:
    int restoreChecked(const platform::CompoundStorage& root, quint32 dataVersion,
                       bool deleteAllFirst, QObject* notifyTarget);
    using RestoreOne = bool (BackupOperation::*)(platform::CompoundStream&, quint32);
    // Restores every stream of the storage `name` in directory order.
    bool restoreStreams(const platform::CompoundStorage& root, const QString& name,
                        RestoreOne restoreOne, quint32 dataVersion);
    bool restoreClient(const platform::CompoundStorage& storage, quint32 dataVersion,
                       bool withRates);
    bool restoreRates(platform::CompoundStream& stream, quint32 clientId, quint32 dataVersion);

    // Adds the entries restoreEntry() has read and not yet written.
    bool writeRestoredEntries();

    RecordStore& m_store;
    platform::FileTime m_now;
    QString m_error;
    static constexpr size_t kEntriesPerWrite = 256;
    std::vector<TimeEntry> m_unwritten;
};

// The message a restore result is reported with; empty for success.
QString restoreResultText(int result);

}  // namespace tempolatch
