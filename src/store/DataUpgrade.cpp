#include "store/DataUpgrade.h"

#include "platform/ObjectStore.h"
#include "platform/Sqlite.h"
#include "store/Rate.h"
#include "store/RecordStore.h"
#include "store/TimeEntry.h"

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

int repairEntries(TimeEntryDatabase& db, FileTime now) {
    int repaired = 0;
    TimeEntry entry;
    for (quint32 id = db.seekFirst(); id != 0; id = db.seekNext()) {
        if (readEntry(db, entry) != RecordDatabase::Read)
            break;
        if (repairEntry(entry, now) && updateEntry(db, entry))
            ++repaired;
    }
    return repaired;
}

int repairRates(RatesDatabase& db, FileTime now) {
    int repaired = 0;
    Rate rate;
    for (quint32 id = db.seekFirst(); id != 0; id = db.seekNext()) {
        if (readRate(db, rate) != RecordDatabase::Read)
            break;
        if (rate.modified >= DataUpgrade::cutOff())
            continue;
        rate.modified = now;
        if (updateRate(db, rate))
            ++repaired;
    }
    return repaired;
}

DataUpgrade::Result failed(DataUpgrade::Result& result, platform::ObjectStore& store) {
    result.ok = false;
    result.error = store.connection().lastErrorCode();
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
    result.entriesRepaired = repairEntries(store.entries(), now);
    result.ratesRepaired = repairRates(store.clientStructure().rates, now);
    if (!batch.commit()) {
        failed(result, *objects);
        objects->rollbackBatch();
    }
    return result;
}

}  // namespace tempolatch
