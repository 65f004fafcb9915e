#pragma once

#include <QPointer>
#include <QString>
#include <memory>

#include "store/Databases.h"
#include "store/Lists.h"
#include "store/SavedReportRecords.h"

namespace tempolatch {

namespace platform {
class ObjectStore;
}

// The one owner of the open databases: time entries, expenses and the
// client structure of the profile that is current when it is created.
// Nothing is opened until it is asked for.
class RecordStore {
public:
    RecordStore();
    // The databases of an object store already open (a scratch store of
    // its own, outside any profile).
    explicit RecordStore(std::unique_ptr<platform::ObjectStore> store);
    ~RecordStore();
    RecordStore(const RecordStore&) = delete;
    RecordStore& operator=(const RecordStore&) = delete;

    // The object store of the profile, opened on first use; nullptr when the
    // store file cannot be opened (openError() says why).
    platform::ObjectStore* objectStore();
    QString openError() const { return m_openError; }
    // The store's code of the last failure (a refused write, a transaction
    // that could not begin or commit, a read that failed), for "Error: %d";
    // 0 when the store is not open.
    int lastError() const;

    // Opens time entries, expenses, clients, projects, tasks, contacts and
    // rates, in this order, creating what is missing. False at the first failure.
    bool openAll(QObject* notifyTarget = nullptr);
    void closeAll();
    // Closes the databases and the store file itself; the next use opens
    // the store of the profile that is current then.
    void close();
    // Another program may have deleted and created the databases anew (a
    // restore that deletes everything first): reopens every open database
    // whose id changed. True when any was reopened.
    bool reopenRecreated();
    bool isOpen() const;

    // Deletes every database and opens them again, empty, with a new client
    // id counter. Settings are not touched.
    bool deleteAllData(QObject* notifyTarget = nullptr);

    // Number of time entries; -1 when the database is not open.
    int entryCount() const;

    // The drop lists and the saved reports of the lists database.
    Lists lists();
    SavedReportRecords savedReports();

    TimeEntryDatabase& entries() { return *m_entries; }
    ExpenseDatabase& expenses() { return *m_expenses; }
    ClientStructureStore& clientStructure() { return *m_structure; }

private:
    bool ensureDatabases();
    bool deleteAndRecreate(platform::ObjectStore& store, QObject* notifyTarget);

    std::unique_ptr<platform::ObjectStore> m_store;
    QString m_openError;
    std::unique_ptr<TimeEntryDatabase> m_entries;
    std::unique_ptr<ExpenseDatabase> m_expenses;
    std::unique_ptr<ClientStructureStore> m_structure;
};

}  // namespace tempolatch
