#include "editing/EntrySaver.h"

#include "platform/Clock.h"
#include "platform/ObjectStore.h"
#include "store/ClientStructure.h"
#include "store/Lists.h"
#include "store/RecordStore.h"
#include "store/TimeEntries.h"

namespace tempolatch {

platform::ObjectStore* EntrySaver::openStore() {
    m_error = 0;
    platform::ObjectStore* objects = m_store.objectStore();
    if (!objects || (!m_store.isOpen() && !m_store.openAll())) {
        m_error = objects ? objects->lastError() : 0;
        return nullptr;
    }
    return objects;
}

WriteResult EntrySaver::save(TimeEntry& entry) {
    platform::ObjectStore* objects = openStore();
    if (!objects)
        return WriteResult::Refused;
    platform::StoreBatch batch(*objects);
    if (!batch.isActive()) {
        m_error = objects->connection().lastErrorCode();
        return WriteResult::Refused;
    }
    // Written into a copy, so that a refused save leaves the caller's
    // entry (and its record id) as the user left it.
    TimeEntry saved = entry;
    saved.modified = platform::Clock::nowFileTime();
    TimeEntries entries(m_store.entries());
    WriteResult result = saved.recordId != 0 ? entries.update(saved) : WriteResult::NotFound;
    if (result == WriteResult::NotFound) {
        // A record deleted meanwhile is written anew rather than lost.
        saved.recordId = 0;
        result = entries.add(saved);
    }
    if (result == WriteResult::Written)
        result = addStructure(saved);
    if (!succeeded(result)) {
        m_error = result == WriteResult::Refused ? objects->lastError() : 0;
        return result;  // the batch takes back whatever was written
    }
    if (!batch.commit()) {
        m_error = objects->connection().lastErrorCode();
        return WriteResult::Refused;
    }
    entry = saved;
    return WriteResult::Written;
}

WriteResult EntrySaver::saveStructure(const TimeEntry& entry) {
    platform::ObjectStore* objects = openStore();
    if (!objects)
        return WriteResult::Refused;
    platform::StoreBatch batch(*objects);
    WriteResult result = batch.isActive() ? addStructure(entry) : WriteResult::Refused;
    if (succeeded(result) && !batch.commit())
        result = WriteResult::Refused;
    if (result == WriteResult::Refused)
        m_error =
            objects->lastError() ? objects->lastError() : objects->connection().lastErrorCode();
    return result;
}

WriteResult EntrySaver::addStructure(const TimeEntry& entry) {
    ClientStructure structure(m_store.clientStructure());
    Client client;
    client.name = entry.client;
    WriteResult result = structure.addClient(client);
    if (succeeded(result) && client.clientId != 0) {
        result = entry.project.isEmpty()
                     ? structure.tasks().add(client.clientId, entry.task)
                     : structure.addProjectTask(client.clientId, entry.project, entry.task);
        if (succeeded(result))
            result = structure.contacts().add(client.clientId, entry.billTo);
    }
    Lists lists(m_store.objectStore());
    const std::pair<ListKind, const QString*> values[] = {
        {ListKind::Phase, &entry.phase},     {ListKind::Currency, &entry.currency},
        {ListKind::Custom1, &entry.custom1}, {ListKind::Custom2, &entry.custom2},
        {ListKind::Custom3, &entry.custom3},
    };
    for (const auto& [kind, text] : values)
        if (succeeded(result))
            result = lists.add(kind, *text);
    return result;
}

}  // namespace tempolatch
