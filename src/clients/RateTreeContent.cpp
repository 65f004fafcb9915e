#include "clients/RateTreeContent.h"

#include "platform/StringTable.h"
#include "store/Client.h"
#include "store/Databases.h"

namespace tempolatch {

RateTreeContent RateTreeContent::load(ClientStructureStore& store) {
    RateTreeContent content;
    auto addGroup = [&](const QString& title, quint32 clientId) {
        Group group{title, clientId, listRates(store.rates, clientId)};
        sortRates(group.rates);
        content.groups.append(group);
    };
    addGroup(resourceString(str::DefaultRates), 0);
    for (const Client& client : listClients(store.clients))
        addGroup(client.name, client.clientId);
    return content;
}

int rateItemImage(RateType type) {
    const int value = int(type);
    // A type this program does not know shows as a normal rate.
    return value >= 0 && value <= int(RateType::Discount) ? value + 1 : 1;
}

}  // namespace tempolatch
