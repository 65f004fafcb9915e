#include "records/RecordSaving.h"

#include "store/Lists.h"
#include "store/RecordStore.h"

namespace tempolatch {

WriteResult addClientStructure(
    RecordStore& store, const QString& clientName, const QString& billTo,
    const std::function<WriteResult(ClientStructure&, quint32 clientId)>& underClient) {
    ClientStructure structure(store.clientStructure());
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
