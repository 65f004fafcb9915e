#include "store/RecordStore.h"

#include <optional>

#include "platform/Locale.h"
#include "platform/ObjectStore.h"
#include "platform/Profile.h"
#include "store/ClientIdCounter.h"
#include "store/ListsDatabase.h"

namespace tempolatch {

RecordStore::RecordStore() = default;

RecordStore::RecordStore(std::unique_ptr<platform::ObjectStore> store)
    : m_store(std::move(store)) {}

RecordStore::~RecordStore() {
    close();
}

platform::ObjectStore* RecordStore::objectStore() {
    if (!m_store && m_openError.isEmpty()) {
        if (!platform::Profile::ensureFolder()) {
            m_openError =
                QStringLiteral("cannot create the folder %1").arg(platform::Profile::folder());
            return nullptr;
        }
        m_store = platform::ObjectStore::open(platform::Profile::storeAddress(),
                                              platform::ObjectStore::Access::ReadWrite,
                                              platform::Locale::collationName(), &m_openError);
    }
    return m_store.get();
}

int RecordStore::lastError() const {
    return m_store ? m_store->failureCode() : 0;
}

Lists RecordStore::lists() {
    return Lists(objectStore());
}

SavedReportRecords RecordStore::savedReports() {
    return SavedReportRecords(objectStore());
}

bool RecordStore::ensureDatabases() {
    platform::ObjectStore* store = objectStore();
    if (!store)
        return false;
    if (!m_entries) {
        m_entries = std::make_unique<TimeEntryDatabase>(store);
        m_expenses = std::make_unique<ExpenseDatabase>(store);
        m_structure = std::make_unique<ClientStructureStore>(store);
    }
    return true;
}

bool RecordStore::openAll(QObject* notifyTarget) {
    if (!ensureDatabases())
        return false;
    ClientStructureStore& s = *m_structure;
    return m_entries->open(0, notifyTarget) && m_expenses->open(0, notifyTarget) &&
           s.clients.open() && s.projects.open() && s.tasks.open() && s.contacts.open() &&
           s.rates.open();
}

void RecordStore::closeAll() {
    if (!m_entries)
        return;
    m_entries->close();
    m_expenses->close();
    m_structure->clients.close();
    m_structure->projects.close();
    m_structure->tasks.close();
    m_structure->contacts.close();
    m_structure->rates.close();
}

void RecordStore::close() {
    // The databases hold handles into the object store: they go first.
    m_entries.reset();
    m_expenses.reset();
    m_structure.reset();
    m_store.reset();
    m_openError.clear();
}

bool RecordStore::reopenRecreated() {
    if (!m_entries || !m_store)
        return false;
    bool reopened = false;
    ClientStructureStore& s = *m_structure;
    for (RecordDatabase* db :
         std::initializer_list<RecordDatabase*>{m_entries.get(), m_expenses.get(), &s.clients,
                                                &s.projects, &s.tasks, &s.contacts, &s.rates}) {
        if (db->isOpen() && m_store->findDatabase(db->name()) != db->databaseId()) {
            db->open(0, db->notifyTarget());
            reopened = true;
        }
    }
    return reopened;
}

bool RecordStore::isOpen() const {
    return m_entries && m_entries->isOpen() && m_expenses->isOpen() &&
           m_structure->clients.isOpen() && m_structure->projects.isOpen() &&
           m_structure->tasks.isOpen() && m_structure->contacts.isOpen() &&
           m_structure->rates.isOpen();
}

bool RecordStore::deleteAllData(QObject* notifyTarget) {
    platform::ObjectStore* store = objectStore();
    if (!store)
        return false;
    closeAll();
    if (deleteAndRecreate(*store, notifyTarget))
        return true;
    // The batch was rolled back (or the caller's will be): every record is
    // where it was.
    closeAll();
    openAll(notifyTarget);
    return false;
}

bool RecordStore::deleteAndRecreate(platform::ObjectStore& store, QObject* notifyTarget) {
    // Within a caller's batch (a restore that deletes everything first) no
    // savepoint: the deletion would be held in memory page by page for it.
    // The caller's batch is the one that takes a failure back.
    std::optional<platform::StoreBatch> batch;
    if (!store.inBatch())
        batch.emplace(store);
    if (batch && !batch->isActive())
        return false;
    for (quint32 type : {db::EntriesType, db::ExpensesType, db::ClientsType, db::ProjectsType,
                         db::TasksType, db::ContactsType, db::RatesType, db::ListsType}) {
        const quint32 id = store.findDatabaseByType(type);
        if (id != 0 && !store.deleteDatabase(id))
            return false;
    }
    return openAll(notifyTarget) && (!batch || batch->commit());
}

int RecordStore::entryCount() const {
    return m_entries && m_entries->isOpen() ? m_entries->recordCount() : -1;
}

bool ClientsDatabase::open(quint32 flags, QObject* notifyTarget) {
    platform::ObjectStore* store = objectStore();
    if (!store)
        return false;
    const bool existed = store->findDatabase(databaseName()) != 0;
    if (!existed && !create())
        return false;
    if (!ClientIdCounter(store).ensure(existed))
        return false;
    return RecordDatabase::open(flags, notifyTarget);
}

}  // namespace tempolatch
