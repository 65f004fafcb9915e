#pragma once

#include "store/RecordDatabase.h"
#include "store/StoreIds.h"

namespace tempolatch {

// The databases of the store, one small class each: name, type id and
// sort orders are all that set them apart. A second sort order serves
// lookups (findEqual); walks follow the first.
template <const char* const* Name, quint32 Type, quint32 Sort, quint32 LookupSort = 0>
class SimpleDatabase : public RecordDatabase {
public:
    using RecordDatabase::RecordDatabase;
    QString databaseName() const override { return QString::fromLatin1(*Name); }
    quint32 typeId() const override { return Type; }
    QList<quint32> sortOrders() const override {
        if (LookupSort == 0)
            return {Sort};
        return {Sort, LookupSort};
    }
};

namespace detail {
inline constexpr const char* const kEntriesName = db::EntriesName;
inline constexpr const char* const kExpensesName = db::ExpensesName;
inline constexpr const char* const kRatesName = db::RatesName;
inline constexpr const char* const kProjectsName = db::ProjectsName;
inline constexpr const char* const kTasksName = db::TasksName;
inline constexpr const char* const kContactsName = db::ContactsName;
}  // namespace detail

using TimeEntryDatabase = SimpleDatabase<&detail::kEntriesName, db::EntriesType, prop::EntryDate>;
using ExpenseDatabase = SimpleDatabase<&detail::kExpensesName, db::ExpensesType, prop::EntryDate>;
using RatesDatabase = SimpleDatabase<&detail::kRatesName, db::RatesType, prop::ClientId>;
// Projects, tasks and contacts are looked up by name within a client.
using ProjectsDatabase =
    SimpleDatabase<&detail::kProjectsName, db::ProjectsType, prop::ClientId, prop::StructureName>;
using TasksDatabase =
    SimpleDatabase<&detail::kTasksName, db::TasksType, prop::ClientId, prop::StructureName>;
using ContactsDatabase =
    SimpleDatabase<&detail::kContactsName, db::ContactsType, prop::ClientId, prop::StructureName>;

// Opening the clients database also makes sure the client id counter exists.
class ClientsDatabase : public RecordDatabase {
public:
    using RecordDatabase::RecordDatabase;
    bool open(quint32 flags = 0, QObject* notifyTarget = nullptr) override;
    QString databaseName() const override { return QString::fromLatin1(db::ClientsName); }
    quint32 typeId() const override { return db::ClientsType; }
    QList<quint32> sortOrders() const override { return {prop::ClientName}; }
};

// The rates, contacts, tasks, projects and clients databases, in this order.
class ClientStructureStore {
public:
    explicit ClientStructureStore(platform::ObjectStore* store)
        : rates(store), contacts(store), tasks(store), projects(store), clients(store) {}
    virtual ~ClientStructureStore() = default;

    RatesDatabase rates;
    ContactsDatabase contacts;
    TasksDatabase tasks;
    ProjectsDatabase projects;
    ClientsDatabase clients;
};

}  // namespace tempolatch
