#include "transfer/BackupOperation.h"

#include <QDir>
#include <QFileInfo>
#include <optional>

#include "platform/Clock.h"
#include "platform/CompoundFile.h"
#include "platform/ObjectStore.h"
#include "platform/Profile.h"
#include "platform/StringTable.h"
#include "store/Client.h"
#include "store/ClientNames.h"
#include "store/ExpenseEntry.h"
#include "store/Project.h"
#include "store/Rate.h"
#include "store/RecordStore.h"
#include "store/TimeEntry.h"
#include "transfer/BackupFile.h"

namespace tempolatch {

using platform::CompoundEntry;
using platform::CompoundStorage;
using platform::CompoundStream;
using platform::Property;

namespace {

// The record ids of one client's records, collected before any is read so
// that reading cannot disturb the walk.
QList<quint32> recordIdsOfClient(RecordDatabase& db, quint32 clientId) {
    QList<quint32> ids;
    for (quint32 id = db.seekFirst(Property::ui4(prop::ClientId, clientId)); id != 0;
         id = db.seekNext())
        ids.append(id);
    return ids;
}

// Reads the record `id` with `read`, which takes the database and a record.
template <typename Db, typename Record, typename Read>
bool readById(Db& db, quint32 id, Record& record, Read read) {
    return db.seekRecord(id) == id && read(db, record) == RecordDatabase::Read;
}

// Every record of the database in its order, as "Record%d" streams.
template <typename Db, typename Record>
bool writeAll(Db& db, CompoundStorage& storage, int (*read)(Db&, Record&),
              bool (*write)(CompoundStream&, const Record&)) {
    Record record;
    int number = 0;
    for (quint32 id = db.seekFirst(); id != 0; id = db.seekNext()) {
        if (read(db, record) != RecordDatabase::Read)
            return false;
        CompoundStream stream = storage.createStream(BackupFile::recordName(number++));
        if (!stream || !write(stream, record) || !stream.close())
            return false;
    }
    return true;
}

// A backup written over the store or the settings would replace the very
// data it was meant to keep.
bool isProfileFile(const QString& path) {
    const QFileInfo target(path);
    const QStringList kept = {platform::Profile::storePath(), platform::Profile::registryPath()};
    for (const QString& file : kept) {
        for (const char* suffix : {"", "-wal", "-shm", "-journal"}) {
            const QFileInfo info(file + QLatin1String(suffix));
            if (QDir::cleanPath(target.absoluteFilePath()) ==
                    QDir::cleanPath(info.absoluteFilePath()) ||
                (target.exists() && info.exists() &&
                 target.canonicalFilePath() == info.canonicalFilePath()))
                return true;
        }
    }
    return false;
}

bool writeCount(CompoundStream& stream, qsizetype count) {
    return stream.writeUInt32(quint32(count));
}

// Writes the names of one client's tasks or contacts.
bool writeNames(CompoundStorage& storage, const QString& streamName, RecordDatabase& db,
                quint32 clientId) {
    CompoundStream stream = storage.createStream(streamName);
    const QList<quint32> ids = recordIdsOfClient(db, clientId);
    if (!stream || !writeCount(stream, ids.size()))
        return false;
    ClientName record;
    for (quint32 id : ids) {
        if (!readById(db, id, record, clientnames::read) || !stream.writeString(record.name))
            return false;
    }
    return stream.close();
}

// Adds the names of a "Tasks" or "Contacts" stream; names the client has
// already are skipped.
bool restoreNames(const CompoundStorage& storage, const QString& streamName, RecordDatabase& db,
                  quint32 clientId) {
    CompoundStream stream = storage.openStream(streamName);
    quint32 count = 0;
    if (!stream || !stream.readUInt32(count))
        return false;
    QString name;
    for (quint32 i = 0; i < count; ++i) {
        if (!stream.readString(name))
            return false;
        if (clientnames::add(db, clientId, name) == 0 && !name.isEmpty() &&
            !clientnames::exists(db, clientId, name))
            return false;
    }
    return true;
}

}  // namespace

BackupOperation::BackupOperation(RecordStore& store) : m_store(store) {}

BackupOperation::~BackupOperation() = default;

quint32 BackupOperation::dataVersion() const {
    return BackupFile::CurrentVersion;
}

bool BackupOperation::writeFileKind(CompoundStream& stream) {
    return stream.writeUInt32(quint32(BackupFile::Kind::Backup));
}

bool BackupOperation::writeRecords(CompoundStorage& records) {
    return writeAll(m_store.entries(), records, readEntry, BackupFile::writeEntry);
}

bool BackupOperation::writeExpenses(CompoundStorage& expenses) {
    return writeAll(m_store.expenses(), expenses, readExpense, BackupFile::writeExpense);
}

bool BackupOperation::writeClients(CompoundStorage& root) {
    CompoundStorage clients = root.createStorage(BackupFile::clientsName());
    if (!clients)
        return false;
    ClientsDatabase& db = m_store.clientStructure().clients;
    Client client;
    int number = 0;
    for (quint32 id = db.seekFirst(); id != 0; id = db.seekNext()) {
        if (readClient(db, client) != RecordDatabase::Read)
            return false;
        CompoundStorage storage = clients.createStorage(BackupFile::clientName(number++));
        if (!storage || !writeClient(storage, client.clientId, client.name))
            return false;
    }
    CompoundStream defaults = clients.createStream(BackupFile::defaultClientName());
    return defaults && writeRates(defaults, 0) && defaults.close();
}

bool BackupOperation::writeClient(CompoundStorage& storage, quint32 clientId, const QString& name) {
    ClientStructureStore& s = m_store.clientStructure();
    CompoundStream nameStream = storage.createStream(BackupFile::nameStreamName());
    if (!nameStream || !nameStream.writeString(name) || !nameStream.close())
        return false;

    CompoundStream pairs = storage.createStream(BackupFile::projectTasksName());
    const QList<quint32> ids = recordIdsOfClient(s.projects, clientId);
    if (!pairs || !writeCount(pairs, ids.size()))
        return false;
    Project project;
    for (quint32 id : ids) {
        if (!readById(s.projects, id, project, readProject) ||
            !pairs.writeString(project.project) || !pairs.writeString(project.task))
            return false;
    }
    if (!pairs.close())
        return false;

    if (!writeNames(storage, BackupFile::tasksName(), s.tasks, clientId) ||
        !writeNames(storage, BackupFile::contactsName(), s.contacts, clientId))
        return false;
    CompoundStream rates = storage.createStream(BackupFile::ratesName());
    return rates && writeRates(rates, clientId) && rates.close();
}

bool BackupOperation::writeRates(CompoundStream& stream, quint32 clientId) {
    RatesDatabase& db = m_store.clientStructure().rates;
    const QList<quint32> ids = recordIdsOfClient(db, clientId);
    if (!writeCount(stream, ids.size()))
        return false;
    Rate rate;
    for (quint32 id : ids) {
        if (!readById(db, id, rate, tempolatch::readRate) || !BackupFile::writeRate(stream, rate))
            return false;
    }
    return true;
}

bool BackupOperation::restoreEntry(CompoundStream& stream, quint32 dataVersion) {
    TimeEntry entry;
    return BackupFile::readEntry(stream, dataVersion, m_now, entry) &&
           addEntry(m_store.entries(), entry, DefaultChangeFlags);
}

bool BackupOperation::restoreExpense(CompoundStream& stream, quint32) {
    ExpenseEntry expense;
    return BackupFile::readExpense(stream, m_now, expense) &&
           addExpense(m_store.expenses(), expense, DefaultChangeFlags);
}

bool BackupOperation::readClients(const CompoundStorage& root, quint32 dataVersion) {
    return readClientStructure(root, dataVersion, true);
}

bool BackupOperation::readClientsWithoutRates(const CompoundStorage& root, quint32 dataVersion) {
    return readClientStructure(root, dataVersion, false);
}

bool BackupOperation::acceptFileKind(quint32) const {
    return true;
}

bool BackupOperation::readClientStructure(const CompoundStorage& root, quint32 dataVersion,
                                          bool withRates) {
    const CompoundStorage clients = root.openStorage(BackupFile::clientsName());
    const auto children = clients.children();
    if (!children)
        return false;
    // Client storages come first in the directory ("Client%d" is shorter
    // than "DefaultClient" up to seven digits); the first stream ends them.
    for (const CompoundEntry& child : *children) {
        if (!child.isStorage)
            break;
        const CompoundStorage storage = clients.openStorage(child.name);
        if (!storage || !restoreClient(storage, dataVersion, withRates))
            return false;
    }
    if (!withRates)
        return true;
    CompoundStream defaults = clients.openStream(BackupFile::defaultClientName());
    return defaults && restoreRates(defaults, 0, dataVersion);
}

bool BackupOperation::restoreClient(const CompoundStorage& storage, quint32 dataVersion,
                                    bool withRates) {
    ClientStructureStore& s = m_store.clientStructure();
    CompoundStream nameStream = storage.openStream(BackupFile::nameStreamName());
    Client client;
    if (!nameStream || !nameStream.readString(client.name))
        return false;
    // A client of that name keeps its id and gets what it lacks.
    quint32 clientId =
        addClient(s.clients, client) != 0 ? client.clientId : findClientId(s.clients, client.name);
    if (clientId == NoClientId)
        return false;

    CompoundStream pairs = storage.openStream(BackupFile::projectTasksName());
    quint32 count = 0;
    if (!pairs || !pairs.readUInt32(count))
        return false;
    QString project;
    QString task;
    for (quint32 i = 0; i < count; ++i) {
        if (!pairs.readString(project) || !pairs.readString(task))
            return false;
        if (addProjectTask(s.projects, clientId, project, task) == 0 && !project.isEmpty() &&
            !projectTaskExists(s.projects, clientId, project, task))
            return false;
    }

    if (!restoreNames(storage, BackupFile::tasksName(), s.tasks, clientId) ||
        !restoreNames(storage, BackupFile::contactsName(), s.contacts, clientId))
        return false;
    if (!withRates)
        return true;
    CompoundStream rates = storage.openStream(BackupFile::ratesName());
    return rates && restoreRates(rates, clientId, dataVersion);
}

bool BackupOperation::restoreRates(CompoundStream& stream, quint32 clientId, quint32 dataVersion) {
    quint32 count = 0;
    if (!stream.readUInt32(count))
        return false;
    Rate rate;
    for (quint32 i = 0; i < count; ++i) {
        if (!BackupFile::readRate(stream, dataVersion, m_now, rate))
            return false;
        rate.clientId = clientId;
        if (!addRate(m_store.clientStructure().rates, rate, DefaultChangeFlags))
            return false;
    }
    return true;
}

bool BackupOperation::backup(const QString& path) {
    if (!m_store.isOpen() || isProfileFile(path))
        return false;
    auto file = platform::CompoundFile::create(path);
    if (!file)
        return false;
    CompoundStorage root = file->root();
    CompoundStream version = root.createStream(BackupFile::dataVersionName());
    if (!version || !version.writeUInt32(dataVersion()) || !writeFileKind(version) ||
        !version.close())
        return false;
    CompoundStorage records = root.createStorage(BackupFile::recordsName());
    if (!records || !writeRecords(records))
        return false;
    CompoundStorage expenses = root.createStorage(BackupFile::expensesName());
    if (!expenses || !writeExpenses(expenses))
        return false;
    // Dropping the file uncommitted on any failure above leaves nothing behind.
    return writeClients(root) && file->commit();
}

int BackupOperation::restore(const QString& path, bool deleteAllFirst, QObject* notifyTarget) {
    auto file = platform::CompoundFile::open(path);
    if (!file)
        return RestoreFailed;
    const CompoundStorage root = file->root();
    CompoundStream version = root.openStream(BackupFile::dataVersionName());
    quint32 dataVersion = 0;
    if (!version || !version.readUInt32(dataVersion))
        return RestoreFailed;
    if (dataVersion < BackupFile::OldestRestorable)
        return RestoreUnsupported;
    quint32 kind = 0;
    if (!version.readUInt32(kind))
        return RestoreFailed;
    if (!acceptFileKind(kind))
        return RestoreKindRefused;

    m_now = platform::Clock::nowFileTime();
    const int result = restoreChecked(root, dataVersion, deleteAllFirst, notifyTarget);
    if (result != RestoreOk && deleteAllFirst) {
        // The deletion was rolled back with the rest: the databases it had
        // recreated are gone, so open the restored ones again.
        m_store.closeAll();
        m_store.openAll(notifyTarget);
    }
    return result;
}

int BackupOperation::restoreChecked(const CompoundStorage& root, quint32 dataVersion,
                                    bool deleteAllFirst, QObject* notifyTarget) {
    platform::ObjectStore* objects = m_store.objectStore();
    if (!objects || !m_store.isOpen())
        return RestoreFailed;
    platform::StoreBatch batch(*objects);
    if (!batch.isActive())
        return RestoreFailed;
    if (deleteAllFirst && !m_store.deleteAllData(notifyTarget))
        return RestoreFailed;
    if (!restoreStreams(root, BackupFile::recordsName(), &BackupOperation::restoreEntry,
                        dataVersion) ||
        (dataVersion >= BackupFile::FirstWithExpenses &&
         !restoreStreams(root, BackupFile::expensesName(), &BackupOperation::restoreExpense,
                         dataVersion)) ||
        !readClients(root, dataVersion))
        return RestoreFailed;
    return batch.commit() ? RestoreOk : RestoreFailed;
}

bool BackupOperation::restoreStreams(const CompoundStorage& root, const QString& name,
                                     RestoreOne restoreOne, quint32 dataVersion) {
    const CompoundStorage storage = root.openStorage(name);
    if (!storage)
        return false;
    // By place, not by name: a list of a million names would cost more
    // memory than the records they stand for.
    const qsizetype count = storage.childCount();
    for (qsizetype i = 0; i < count; ++i) {
        CompoundStream stream = storage.openStreamAt(i);
        if (!stream || !(this->*restoreOne)(stream, dataVersion))
            return false;
    }
    return true;
}

QString restoreResultText(int result) {
    switch (result) {
        case BackupOperation::RestoreFailed:
            return resourceString(str::RestoreFailed);
        case BackupOperation::RestoreUnsupported:
            return resourceString(str::RestoreUnsupported);
        default:
            return {};
    }
}

}  // namespace tempolatch
