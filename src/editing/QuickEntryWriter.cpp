#include "editing/QuickEntryWriter.h"

#include "editing/BillingRules.h"
#include "editing/EntrySaver.h"
#include "editing/EntryValues.h"
#include "notes/NoteData.h"
#include "platform/StringTable.h"
#include "settings/Settings.h"
#include "store/Client.h"
#include "store/ClientNames.h"
#include "store/ClientStructure.h"
#include "store/Project.h"
#include "store/Rate.h"
#include "store/RecordStore.h"
#include "store/TimeEntry.h"

namespace tempolatch::quickentry {

namespace {

// 0 for a name no client has: its entry takes the default rates.
quint32 clientIdOf(RecordStore& store, const QString& name) {
    if (name.isEmpty() || !store.isOpen())
        return 0;
    const quint32 id = ClientStructure(store).clientIdOf(name);
    return id == NoClientId ? 0 : id;
}

// The rate the billing page selects for a new entry: the client's first.
// A client without rates of its own takes the first default rate, where
// the page would leave the choice to the user: a line has no page to look
// at, and a billable entry at no rate bills nothing.
void takeFirstRate(TimeEntry& entry, RecordStore& store) {
    const quint32 clientId = clientIdOf(store, entry.client);
    ClientStructure structure(store);
    const QList<Rate> own = clientId != 0 ? structure.sortedRateList(clientId) : QList<Rate>();
    const billing::RateLocation where =
        billing::locateRate(entry, own, structure.sortedRateList(0), !own.isEmpty());
    if (where.rate) {
        entry.rate = where.rate->rate;
        entry.rateType = where.rate->rateType;
    }
}

}  // namespace

KnownNames storeNames(RecordStore& store) {
    KnownNames names;
    names.clients = [&store] {
        QStringList clients;
        if (store.isOpen())
            for (const Client& client : ClientStructure(store).clientList())
                clients.append(client.name);
        return clients;
    };
    names.projects = [&store](const QString& client) {
        const quint32 id = clientIdOf(store, client);
        return id != 0 ? ClientStructure(store).projectNames(id) : QStringList();
    };
    names.tasks = [&store](const QString& client, const QString& project) {
        const quint32 id = clientIdOf(store, client);
        if (id == 0)
            return QStringList();
        ClientStructure structure(store);
        return project.isEmpty() ? structure.taskNames(id)
                                 : structure.projectTaskNames(id, project);
    };
    return names;
}

TimeEntry entryOf(const QuickEntry& quick, const platform::SystemTime& day, RecordStore& store,
                  const Settings& settings) {
    TimeEntry entry = entryvalues::openingEntry(nullptr, false, settings);
    entryvalues::setDate(entry, day.year, day.month, day.day);
    if (quick.start)
        entryvalues::setStartTime(entry, quick.start->hour(), quick.start->minute());
    entryvalues::setDurationHours(entry, quick.duration / 100.0, settings);
    entry.client = quick.client;
    entry.project = quick.project;
    entry.task = quick.task;
    if (!quick.note.isEmpty())
        entry.note = NoteData::fromContent({NoteText::fromPlainText(quick.note), {}}).bytes();
    if (entry.status != EntryStatus::NonBillable && store.isOpen())
        takeFirstRate(entry, store);
    return entry;
}

QuickEntryWritten write(const QuickEntry& quick, const platform::SystemTime& day,
                        RecordStore& store, const Settings& settings) {
    TimeEntry entry = entryOf(quick, day, store, settings);
    if (const int message = entryvalues::rangeMessage(entry))
        return {std::nullopt, resourceString(message)};
    EntrySaver saver(store);
    const WriteResult result = saver.save(entry);
    if (result != WriteResult::Written)
        return {std::nullopt,
                QStringLiteral("The entry could not be written (error %1).").arg(saver.error())};
    return {entry.recordId, {}};
}

}  // namespace tempolatch::quickentry
