#include "editing/EntrySaver.h"

#include "platform/Clock.h"
#include "store/Client.h"
#include "store/ClientNames.h"
#include "store/ListsDatabase.h"
#include "store/Project.h"
#include "store/RecordStore.h"

namespace tempolatch {

bool EntrySaver::save(TimeEntry& entry) {
    if (!m_store.isOpen() && !m_store.openAll())
        return false;
    entry.modified = platform::Clock::nowFileTime();
    TimeEntryDatabase& entries = m_store.entries();
    bool written = false;
    if (entry.recordId != 0 && entries.seekRecord(entry.recordId) == entry.recordId)
        written = updateEntry(entries, entry);
    else {
        // A record deleted meanwhile is written anew rather than lost.
        entry.recordId = 0;
        written = addEntry(entries, entry);
    }
    addStructure(entry);
    return written;
}

void EntrySaver::addStructure(const TimeEntry& entry) {
    ClientStructureStore& structure = m_store.clientStructure();
    quint32 clientId = NoClientId;
    if (!entry.client.isEmpty()) {
        Client client;
        client.name = entry.client;
        if (addClient(structure.clients, client) != 0)
            clientId = client.clientId;
        else
            clientId = findClientId(structure.clients, entry.client);
    }
    if (clientId != NoClientId && clientId != 0) {
        if (!entry.project.isEmpty())
            addProjectTask(structure.projects, clientId, entry.project, entry.task);
        else
            addTask(structure.tasks, clientId, entry.task);
        addContact(structure.contacts, clientId, entry.billTo);
    }
    addListValue(m_store.objectStore(), ListKind::Phase, entry.phase);
    addListValue(m_store.objectStore(), ListKind::Currency, entry.currency);
    addListValue(m_store.objectStore(), ListKind::Custom1, entry.custom1);
    addListValue(m_store.objectStore(), ListKind::Custom2, entry.custom2);
    addListValue(m_store.objectStore(), ListKind::Custom3, entry.custom3);
}

}  // namespace tempolatch
