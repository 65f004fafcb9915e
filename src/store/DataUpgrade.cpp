#include "store/DataUpgrade.h"

#include "platform/ObjectStore.h"
#include "platform/Sqlite.h"
#include "store/Rate.h"
#include "store/Rates.h"
#include "store/RecordStore.h"
#include "store/TimeEntries.h"

namespace tempolatch {

using platform::FileTime;

namespace {

bool repairEntry(TimeEntry& entry, FileTime now) {
    bool changed = false;
    if (entry.status == EntryStatus::Paid && entry.paidDate < DataUpgrade::cutOff()) {
        entry.paidDate = now;
        changed = true;
    }
    if (entry.modified < DataUpgrade::cutOff()) {
        entry.modified = now;
        changed = true;
    }
    return changed;
}

// The number of repaired entries; nullopt when the store refused a write.
std::optional<int> repairEntries(TimeEntryDatabase& db, FileTime now) {
    TimeEntries entries(db);
    int repaired = 0;
    bool refused = false;
    entries.forEach([&](const TimeEntry& stored) {
        TimeEntry entry = stored;
        if (!repairEntry(entry, now))
            return true;
        refused = entries.update(entry) != WriteResult::Written;
        ++repaired;
        return !refused;
    });
    return refused ? std::nullopt : std::optional<int>(repaired);
}

std::optional<int> repairRates(RatesDatabase& db, FileTime now) {
    Rates rates(db);
    int repaired = 0;
    bool refused = false;
    rates.forEach([&](const Rate& stored) {
        if (stored.modified >= DataUpgrade::cutOff())
            return true;
        Rate rate = stored;
        rate.modified = now;
        refused = rates.update(rate) != WriteResult::Written;
        ++repaired;
        return !refused;
    });
    return refused ? std::nullopt : std::optional<int>(repaired);
}

DataUpgrade::Result failed(DataUpgrade::Result& result, platform::ObjectStore& store) {
    result.ok = false;
    result.error = store.failureCode();
    return result;
}

}  // namespace

FileTime DataUpgrade::cutOff() {
    return *platform::toFileTime(platform::SystemTime{1900, 1, 1, 1, 0, 0, 0, 0});
}

bool DataUpgrade::needsUpgrade(quint32 settingsVersion, RecordStore& store) {
    return settingsVersion < FirstUpgradedVersion && store.entryCount() > 0;
}

DataUpgrade::Result DataUpgrade::run(RecordStore& store, FileTime now) {
    Result result;
    platform::ObjectStore* objects = store.objectStore();
    if (!objects || !store.isOpen()) {
        result.ok = false;
        return result;
    }
    platform::StoreBatch batch(*objects);
    if (!batch.isActive())
        return failed(result, *objects);
    const auto entries = repairEntries(store.entries(), now);
    const auto rates = entries ? repairRates(store.clientStructure().rates, now) : std::nullopt;
    if (!entries || !rates) {
        // The batch takes back what was written.
        result.ok = false;
        result.error = objects->lastError();
        return result;
    }
    result.entriesRepaired = *entries;
    result.ratesRepaired = *rates;
    if (!batch.commit()) {
        result.ok = false;
        result.error = objects->lastError();
    }
    return result;
}

}  // namespace tempolatch
