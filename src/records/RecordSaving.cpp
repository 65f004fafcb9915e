#include "records/RecordSaving.h"

#include "store/Lists.h"
#include "store/RecordStore.h"

namespace tempolatch {

WriteResult addClientStructure(
    RecordStore& store, const QString& clientName, const QString& billTo,
    const std::function<WriteResult(ClientStructure&, quint32 clientId)>& underClient) {
    ClientStructure structure(store);
    Client client;
    client.name = clientName;
    WriteResult result = structure.addClient(client);
    if (succeeded(result) && client.clientId != 0) {
        result = underClient(structure, client.clientId);
        if (succeeded(result))
            result = structure.contacts().add(client.clientId, billTo);
    }
    return result;
}

WriteResult addEntryStructure(RecordStore& store, const TimeEntry& entry) {
    const WriteResult result = addClientStructure(
        store, entry.client, entry.billTo, [&entry](ClientStructure& structure, quint32 id) {
            return entry.project.isEmpty()
                       ? structure.tasks().add(id, entry.task)
                       : structure.addProjectTask(id, entry.project, entry.task);
        });
    if (!succeeded(result))
        return result;
    return addListValues(store, {{ListKind::Phase, &entry.phase},
                                 {ListKind::Currency, &entry.currency},
                                 {ListKind::Custom1, &entry.custom1},
                                 {ListKind::Custom2, &entry.custom2},
                                 {ListKind::Custom3, &entry.custom3}});
}

WriteResult addListValues(RecordStore& store,
                          std::initializer_list<std::pair<ListKind, const QString*>> values) {
    Lists lists = store.lists();
    WriteResult result = WriteResult::Unchanged;
    for (const auto& [kind, text] : values)
        if (succeeded(result))
            result = lists.add(kind, *text);
    return result;
}

}  // namespace tempolatch
