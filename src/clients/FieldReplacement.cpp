#include "clients/FieldReplacement.h"

#include <QSet>
#include <algorithm>
#include <optional>

#include "clients/ClientStructureEditor.h"
#include "platform/Locale.h"
#include "platform/StringTable.h"
#include "store/ClientStructure.h"
#include "store/ClientWalk.h"
#include "store/Lists.h"
#include "store/RecordStore.h"
#include "store/StoreFailure.h"
#include "store/StoreTransaction.h"
#include "store/TimeEntries.h"

namespace tempolatch {

using platform::FileTime;

namespace {

std::optional<ListKind> listKindOf(ReplaceField field) {
    switch (field) {
        case ReplaceField::Phase:
            return ListKind::Phase;
        case ReplaceField::Currency:
            return ListKind::Currency;
        case ReplaceField::Custom1:
            return ListKind::Custom1;
        case ReplaceField::Custom2:
            return ListKind::Custom2;
        case ReplaceField::Custom3:
            return ListKind::Custom3;
        default:
            return std::nullopt;
    }
}

QString TimeEntry::*entryField(ReplaceField field) {
    switch (field) {
        case ReplaceField::Client:
            return &TimeEntry::client;
        case ReplaceField::Project:
            return &TimeEntry::project;
        case ReplaceField::Phase:
            return &TimeEntry::phase;
        case ReplaceField::Task:
        case ReplaceField::ProjectTask:
            return &TimeEntry::task;
        case ReplaceField::Currency:
            return &TimeEntry::currency;
        case ReplaceField::BillTo:
            return &TimeEntry::billTo;
        case ReplaceField::Custom1:
            return &TimeEntry::custom1;
        case ReplaceField::Custom2:
            return &TimeEntry::custom2;
        case ReplaceField::Custom3:
            return &TimeEntry::custom3;
    }
    return &TimeEntry::client;
}

// Every record of a database sorted by client id, of all clients; nullopt
// when one cannot be read. Collected first, so that the writes that follow
// never move a cursor that is still walking.
template <typename Record>
std::optional<QList<Record>> allRecords(RecordDatabase& db,
                                        Record (*decode)(const platform::PropertyList&, quint32)) {
    QList<Record> out;
    const bool read = walkClient(db, std::nullopt, [&](const platform::PropertyList& props) {
        out.append(decode(props, db.currentId()));
        return true;
    });
    return read ? std::optional<QList<Record>>(out) : std::nullopt;
}

bool written(WriteResult result) {
    return result == WriteResult::Written;
}

// The old client's projects, tasks, contacts and rates go to `into`, except
// what it has already; then the old client is removed.
bool mergeClient(RecordStore& store, const Client& from, const Client& into, FileTime now) {
    ClientStructure structure(store);
    const auto projects = structure.projectsOf(from.clientId);
    const auto intoProjects = structure.projectsOf(into.clientId);
    const auto tasks = structure.tasks().of(from.clientId);
    const auto contacts = structure.contacts().of(from.clientId);
    const auto rates = structure.ratesOf(from.clientId);
    const auto intoRates = structure.ratesOf(into.clientId);
    if (!projects || !intoProjects || !tasks || !contacts || !rates || !intoRates)
        return false;

    QSet<QString> intoProjectNames;
    for (const Project& p : *intoProjects)
        intoProjectNames.insert(p.project);
    for (const Project& p : *projects) {
        // A project without tasks adds nothing to one the client has.
        if (p.task.isEmpty() && intoProjectNames.contains(p.project))
            continue;
        if (!succeeded(structure.addProjectTask(into.clientId, p.project, p.task)))
            return false;
    }
    for (const ClientName& task : *tasks) {
        if (!succeeded(structure.tasks().add(into.clientId, task.name)))
            return false;
    }
    for (const ClientName& contact : *contacts) {
        if (!succeeded(structure.contacts().add(into.clientId, contact.name)))
            return false;
    }
    for (const Rate& rate : *rates) {
        const bool known = std::any_of(intoRates->begin(), intoRates->end(), [&](const Rate& r) {
            return r.rateType == rate.rateType && r.description == rate.description;
        });
        if (known)
            continue;
        Rate moved = rate;
        moved.recordId = 0;
        moved.clientId = into.clientId;
        moved.modified = now;
        if (!written(structure.rates().add(moved)))
            return false;
    }
    return ClientStructureEditor(store).deleteClient(from.recordId);
}

bool replaceClient(RecordStore& store, const QString& find, const QString& to, FileTime now) {
    ClientStructure structure(store);
    const auto from = structure.findClientNamed(find);
    if (!from || from->name != find)
        return true;
    const auto into = structure.findClientNamed(to);
    if (!into)
        return written(structure.renameClient(from->recordId, to));
    return into->recordId == from->recordId || mergeClient(store, *from, *into, now);
}

// Project names, or the task names of projects (`taskNames`), of every
// client. A record that would repeat a pair its client has is removed.
bool replaceInProjects(ClientStructureStore& dbs, const QString& find, const QString& to,
                       bool taskNames) {
    ProjectsDatabase& db = dbs.projects;
    const auto all = allRecords(db, projectOf);
    if (!all)
        return false;
    // Clients that had the new project name before: their projects merge.
    QSet<quint32> merging;
    for (const Project& p : *all) {
        if (!taskNames && p.project == to)
            merging.insert(p.clientId);
    }
    ClientStructure structure(dbs);
    for (const Project& p : *all) {
        if ((taskNames ? p.task : p.project) != find)
            continue;
        const QString project = taskNames ? p.project : to;
        const QString task = taskNames ? to : p.task;
        const bool repeats = projectTaskExists(db, p.clientId, project, task) ||
                             (!taskNames && task.isEmpty() && merging.contains(p.clientId));
        if (repeats) {
            if (!db.deleteRecord(p.recordId))
                return false;
        } else if (!written(taskNames ? structure.renameProjectTask(p.recordId, to)
                                      : structure.renameProject(p.recordId, to))) {
            return false;
        }
    }
    return true;
}

// Tasks of clients or contacts: a client that has the new name already
// loses the old record.
bool replaceInClientNames(RecordDatabase& db, const QString& find, const QString& to) {
    const auto all = allRecords(db, clientnames::recordOf);
    if (!all)
        return false;
    ClientNameRecords records(db);
    for (const ClientName& r : *all) {
        if (r.name != find)
            continue;
        const bool ok = clientnames::exists(db, r.clientId, to)
                            ? db.deleteRecord(r.recordId)
                            : written(records.rename(r.recordId, to));
        if (!ok)
            return false;
    }
    return true;
}

bool replaceInStructure(RecordStore& store, ReplaceField field, const QString& find,
                        const QString& to, FileTime now) {
    ClientStructureStore& dbs = store.clientStructure();
    switch (field) {
        case ReplaceField::Client:
            return replaceClient(store, find, to, now);
        case ReplaceField::Project:
            return replaceInProjects(dbs, find, to, false);
        case ReplaceField::ProjectTask:
            return replaceInProjects(dbs, find, to, true);
        case ReplaceField::Task:
            return replaceInClientNames(dbs.tasks, find, to);
        case ReplaceField::BillTo:
            return replaceInClientNames(dbs.contacts, find, to);
        default:
            return store.lists().replaceText(*listKindOf(field), find, to);
    }
}

// The number of entries changed; nullopt when one could not be read or written.
std::optional<int> replaceInEntries(RecordStore& db, ReplaceField field, const QString& find,
                                    const QString& to, FileTime now,
                                    const std::function<void()>& entryWalked) {
    QString TimeEntry::*member = entryField(field);
    TimeEntries entries(db);
    int changed = 0;
    bool refused = false;
    const bool read = entries.forEach([&](const TimeEntry& stored) {
        if (entryWalked)
            entryWalked();
        const QString& value = stored.*member;
        if (value.isEmpty() || (value != find && platform::Locale::compare(value, find) != 0))
            return true;
        TimeEntry entry = stored;
        entry.*member = to;
        entry.modified = now;
        refused = !written(entries.update(entry));
        ++changed;
        return !refused;
    });
    return read && !refused ? std::optional<int>(changed) : std::nullopt;
}

}  // namespace

QString replaceFieldName(ReplaceField field) {
    return resourceString(str::ReplaceFieldNames + int(field));
}

QStringList existingValues(RecordStore& store, ReplaceField field) {
    ClientStructureStore& dbs = store.clientStructure();
    QStringList names;
    switch (field) {
        case ReplaceField::Client:
            for (const Client& client : listClients(dbs.clients))
                names.append(client.name);
            break;
        case ReplaceField::Project:
            names = listProjects(dbs.projects, std::nullopt);
            break;
        case ReplaceField::ProjectTask:
            for (const Project& p : allRecords(dbs.projects, projectOf).value_or(QList<Project>()))
                names.append(p.task);
            break;
        case ReplaceField::Task:
        case ReplaceField::BillTo: {
            RecordDatabase& db = field == ReplaceField::Task
                                     ? static_cast<RecordDatabase&>(dbs.tasks)
                                     : dbs.contacts;
            for (const ClientName& r :
                 allRecords(db, clientnames::recordOf).value_or(QList<ClientName>()))
                names.append(r.name);
            break;
        }
        default:
            names = store.lists().texts(*listKindOf(field));
            break;
    }
    names.removeAll(QString());
    names.removeDuplicates();
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        return platform::Locale::compare(a, b) < 0;
    });
    return names;
}

ReplaceOutcome replaceFieldText(RecordStore& store, ReplaceField field, const QString& find,
                                const QString& replacement, FileTime now,
                                const std::function<void()>& entryWalked) {
    ReplaceOutcome outcome;
    const QString to = structureName(replacement);
    if (!store.isOpen() || find.isEmpty() || to.isEmpty())
        return outcome;
    if (to == find) {
        outcome.ok = true;
        return outcome;
    }
    // Run again from the start when another writer's transaction ran into
    // this one: everything of the failed try was taken back.
    return retryOnConflict(
        [&] {
            ReplaceOutcome tried;
            StoreTransaction transaction(store);
            std::optional<int> changed;
            if (transaction.isActive() && replaceInStructure(store, field, find, to, now))
                changed = replaceInEntries(store, field, find, to, now, entryWalked);
            // A failure takes back whatever was written before it.
            const StoreOutcome ended =
                transaction.finish(changed ? WriteResult::Written : WriteResult::Refused);
            tried.ok = ended.succeeded();
            tried.error = ended.error;
            tried.entriesChanged = tried.ok ? *changed : 0;
            return tried;
        },
        [](const ReplaceOutcome& tried) { return tried.error; });
}

}  // namespace tempolatch
