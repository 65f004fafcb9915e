#include "transfer/BackupOperation.h"

#include <optional>

#include "platform/Clock.h"
#include "platform/FileProblem.h"
#include "platform/OutputFile.h"
#include "platform/Profile.h"
#include "platform/StringTable.h"
#include "platform/WorkProgress.h"
#include "platform/compound/CompoundFile.h"
#include "store/ClientStructure.h"
#include "store/Expenses.h"
#include "store/RecordStore.h"
#include "store/StoreTransaction.h"
#include "store/TimeEntries.h"
#include "transfer/BackupFile.h"

namespace tempolatch {

using platform::CompoundEntry;
using platform::CompoundStorage;
using platform::CompoundStream;

namespace {

// Every record of the database in its order, as "Record%d" streams.
template <typename Record>
bool writeAll(Records<Record>&& records, CompoundStorage& storage,
              bool (*write)(CompoundStream&, const Record&)) {
    int number = 0;
    bool written = true;
    const bool read = records.forEach([&](const Record& record) {
        CompoundStream stream = storage.createStream(BackupFile::recordName(number++));
        written = stream && write(stream, record) && stream.close();
        return written;
    });
    return read && written;
}

bool writeCount(CompoundStream& stream, qsizetype count) {
    return stream.writeUInt32(quint32(count));
}

// Writes the names of one client's tasks or contacts.
bool writeNames(CompoundStorage& storage, const QString& streamName,
                const std::optional<QList<ClientName>>& records) {
    CompoundStream stream = storage.createStream(streamName);
    if (!records || !stream || !writeCount(stream, records->size()))
        return false;
    for (const ClientName& record : *records)
        if (!stream.writeString(record.name))
            return false;
    return stream.close();
}

// Adds the names of a "Tasks" or "Contacts" stream; names the client has
// already are skipped.
bool restoreNames(const CompoundStorage& storage, const QString& streamName,
                  ClientNameRecords&& records, quint32 clientId) {
    CompoundStream stream = storage.openStream(streamName);
    quint32 count = 0;
    if (!stream || !stream.readUInt32(count))
        return false;
    QStringList names;
    QString name;
    for (quint32 i = 0; i < count; ++i) {
        if (!stream.readString(name))
            return false;
        names.append(name);
    }
    return succeeded(records.addMissing(clientId, names));
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
    return writeAll(TimeEntries(m_store), records, BackupFile::writeEntry);
}

bool BackupOperation::writeExpenses(CompoundStorage& expenses) {
    return writeAll(Expenses(m_store), expenses, BackupFile::writeExpense);
}

bool BackupOperation::writeClients(CompoundStorage& root) {
    CompoundStorage clients = root.createStorage(BackupFile::clientsName());
    if (!clients)
        return false;
    const auto all = ClientStructure(m_store).clients();
    if (!all)
        return false;
    int number = 0;
    for (const Client& client : *all) {
        CompoundStorage storage = clients.createStorage(BackupFile::clientName(number++));
        if (!storage || !writeClient(storage, client.clientId, client.name))
            return false;
    }
    CompoundStream defaults = clients.createStream(BackupFile::defaultClientName());
    return defaults && writeRates(defaults, 0) && defaults.close();
}

bool BackupOperation::writeClient(CompoundStorage& storage, quint32 clientId, const QString& name) {
    ClientStructure structure(m_store);
    CompoundStream nameStream = storage.createStream(BackupFile::nameStreamName());
    if (!nameStream || !nameStream.writeString(name) || !nameStream.close())
        return false;

    CompoundStream pairs = storage.createStream(BackupFile::projectTasksName());
    const auto projects = structure.projectsOf(clientId);
    if (!projects || !pairs || !writeCount(pairs, projects->size()))
        return false;
    for (const Project& project : *projects) {
        if (!pairs.writeString(project.project) || !pairs.writeString(project.task))
            return false;
    }
    if (!pairs.close())
        return false;

    if (!writeNames(storage, BackupFile::tasksName(), structure.tasks().of(clientId)) ||
        !writeNames(storage, BackupFile::contactsName(), structure.contacts().of(clientId)))
        return false;
    CompoundStream rates = storage.createStream(BackupFile::ratesName());
    return rates && writeRates(rates, clientId) && rates.close();
}

bool BackupOperation::writeRates(CompoundStream& stream, quint32 clientId) {
    const auto rates = ClientStructure(m_store).ratesOf(clientId);
    if (!rates || !writeCount(stream, rates->size()))
        return false;
    for (const Rate& rate : *rates) {
        if (!BackupFile::writeRate(stream, rate))
            return false;
    }
    return true;
}

// Entries are read one stream at a time and added a group at a time: the
// store writes a group in a few statements instead of one each.
bool BackupOperation::restoreEntry(CompoundStream& stream, quint32 dataVersion) {
    if (!BackupFile::readEntry(stream, dataVersion, m_now, m_unwritten.emplace_back()))
        return false;
    return m_unwritten.size() < kEntriesPerWrite || writeRestoredEntries();
}

bool BackupOperation::writeRestoredEntries() {
    if (m_unwritten.empty())
        return true;
    const bool written = TimeEntries(m_store).addAll(m_unwritten) == WriteResult::Written;
    m_unwritten.clear();
    return written;
}

bool BackupOperation::restoreExpense(CompoundStream& stream, quint32) {
    ExpenseEntry expense;
    return BackupFile::readExpense(stream, m_now, expense) &&
           Expenses(m_store).add(expense) == WriteResult::Written;
}

bool BackupOperation::readClients(const CompoundStorage& root, quint32 dataVersion) {
    return readClientStructure(root, dataVersion, true);
}

bool BackupOperation::readClientsWithoutRates(const CompoundStorage& root, quint32 dataVersion) {
    return readClientStructure(root, dataVersion, false);
}

// Any kind, as other programs may write their own, but for the two this
// program writes without the parts a restore needs: an archive has no
// clients and a client structure file no records, so either would fail
// part way (and, all or nothing, add nothing).
bool BackupOperation::acceptFileKind(quint32 kind) const {
    return kind != quint32(BackupFile::Kind::Archive) &&
           kind != quint32(BackupFile::Kind::ClientStructure);
}

bool BackupOperation::readClientStructure(const CompoundStorage& root, quint32 dataVersion,
                                          bool withRates) {
    const CompoundStorage clients = root.openStorage(BackupFile::clientsName());
    const auto children = clients.children();
    if (!children)
        return false;
    // Every storage is a client, wherever it stands: "DefaultClient" comes
    // after "Client%d" only up to seven digits, and other programs may put
    // streams of their own among the clients.
    for (const CompoundEntry& child : *children) {
        if (!child.isStorage)
            continue;
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
    ClientStructure structure(m_store);
    CompoundStream nameStream = storage.openStream(BackupFile::nameStreamName());
    Client client;
    if (!nameStream || !nameStream.readString(client.name))
        return false;
    // A client of that name keeps its id and gets what it lacks.
    if (!succeeded(structure.addClient(client)) || client.clientId == 0)
        return false;
    const quint32 clientId = client.clientId;

    CompoundStream pairs = storage.openStream(BackupFile::projectTasksName());
    quint32 count = 0;
    if (!pairs || !pairs.readUInt32(count))
        return false;
    QList<std::pair<QString, QString>> projectTasks;
    QString project;
    QString task;
    for (quint32 i = 0; i < count; ++i) {
        if (!pairs.readString(project) || !pairs.readString(task))
            return false;
        projectTasks.append({project, task});
    }
    if (!succeeded(structure.addMissingProjectTasks(clientId, projectTasks)))
        return false;

    if (!restoreNames(storage, BackupFile::tasksName(), structure.tasks(), clientId) ||
        !restoreNames(storage, BackupFile::contactsName(), structure.contacts(), clientId))
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
    Rates rates(m_store);
    Rate rate;
    for (quint32 i = 0; i < count; ++i) {
        if (!BackupFile::readRate(stream, dataVersion, m_now, rate))
            return false;
        rate.clientId = clientId;
        if (rates.add(rate) != WriteResult::Written)
            return false;
    }
    return true;
}

bool BackupOperation::backup(const QString& path) {
    m_error.clear();
    // The file refuses the profile's own files, which a backup written over
    // them would destroy.
    if (platform::OutputFile::isProfileFile(path)) {
        m_error = platform::OutputFile::refusal(path);
        return false;
    }
    if (!m_store.isOpen())
        return false;
    // Every record from one moment of the store, whatever another program
    // (a restore, a second window) commits while the file is written.
    const StoreSnapshot snapshot(m_store);
    if (!snapshot.isActive())
        return false;
    auto file = platform::CompoundFile::create(path, &m_error);
    if (!file)
        return false;
    CompoundStorage root = file->root();
    CompoundStream version = root.createStream(BackupFile::dataVersionName());
    // Dropping the file uncommitted on any failure leaves nothing behind.
    const bool written = version && version.writeUInt32(dataVersion()) && writeFileKind(version) &&
                         version.close() && writeContent(root) && file->commit();
    if (!written)
        m_error = file->errorString();
    return written;
}

bool BackupOperation::writeContent(CompoundStorage& root) {
    CompoundStorage records = root.createStorage(BackupFile::recordsName());
    if (!records || !writeRecords(records))
        return false;
    CompoundStorage expenses = root.createStorage(BackupFile::expensesName());
    if (!expenses || !writeExpenses(expenses))
        return false;
    return writeClients(root);
}

int BackupOperation::restore(const QString& path, bool deleteAllFirst, QObject* notifyTarget) {
    QString why;
    auto file = platform::CompoundFile::open(path, &why);
    if (!file) {
        const QString problem = platform::readProblem(path);
        m_error = !problem.isEmpty()
                      ? problem
                      : QStringLiteral("it is not a file of this program, or it is damaged (%1)")
                            .arg(why);
        return RestoreFailed;
    }
    m_error = QStringLiteral("it is damaged: a part of it cannot be read");
    const CompoundStorage root = file->root();
    CompoundStream version = root.openStream(BackupFile::dataVersionName());
    quint32 dataVersion = 0;
    if (!version || !version.readUInt32(dataVersion))
        return RestoreFailed;
    if (dataVersion < oldestReadable())
        return RestoreUnsupported;
    quint32 kind = 0;
    if (!version.readUInt32(kind))
        return RestoreFailed;
    if (!acceptFileKind(kind))
        return RestoreKindRefused;

    m_now = platform::Clock::nowFileTime();
    const int result = restoreChecked(root, dataVersion, deleteAllFirst, notifyTarget);
    m_unwritten.clear();  // what a failure left unwritten
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
    const QString storeRefused = QStringLiteral("the store refused the change (error %1)");
    if (!m_store.isOpen())
        return RestoreFailed;
    StoreTransaction transaction(m_store);
    if (!transaction.isActive() || (deleteAllFirst && !m_store.deleteAllData(notifyTarget))) {
        m_error = storeRefused.arg(m_store.lastError());
        return RestoreFailed;
    }
    if (!readContent(root, dataVersion)) {
        // Reads and writes interleave: a write the store refused has left its code.
        if (m_store.lastError() != 0)
            m_error = storeRefused.arg(m_store.lastError());
        return RestoreFailed;
    }
    const StoreOutcome outcome = transaction.commit();
    if (!outcome.succeeded())
        m_error = storeRefused.arg(outcome.error);
    return outcome.succeeded() ? RestoreOk : RestoreFailed;
}

quint32 BackupOperation::oldestReadable() const {
    return BackupFile::OldestRestorable;
}

bool BackupOperation::readContent(const CompoundStorage& root, quint32 dataVersion) {
    return restoreStreams(root, BackupFile::recordsName(), &BackupOperation::restoreEntry,
                          dataVersion) &&
           writeRestoredEntries() &&
           (dataVersion < BackupFile::FirstWithExpenses ||
            restoreStreams(root, BackupFile::expensesName(), &BackupOperation::restoreExpense,
                           dataVersion)) &&
           readClients(root, dataVersion);
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
        if (!platform::WorkProgress::countRows() || !stream ||
            !(this->*restoreOne)(stream, dataVersion))
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
        case BackupOperation::RestoreKindRefused:
            return QStringLiteral(
                "This file is not a backup: an archive is read with Load "
                "Archive..., a client structure file with Import... of the "
                "Clients setup. Nothing was changed.");
        default:
            return {};
    }
}

}  // namespace tempolatch
