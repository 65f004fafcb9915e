#include "clients/RateTreeContent.h"

#include "platform/StringTable.h"
#include "store/Client.h"
#include "store/ClientStructure.h"

namespace tempolatch {

RateTreeContent RateTreeContent::load(RecordStore& store) {
    RateTreeContent content;
    ClientStructure structure(store);
    auto addGroup = [&](const QString& title, quint32 clientId) {
        Group group{title, clientId, structure.rateList(clientId)};
        sortRates(group.rates);
        content.groups.append(group);
    };
    addGroup(resourceString(str::DefaultRates), 0);
    for (const Client& client : structure.clientList())
        addGroup(client.name, client.clientId);
    return content;
}

int rateItemImage(RateType type) {
    const int value = int(type);
    // A type this program does not know shows as a normal rate.
    return value >= 0 && value <= int(RateType::Discount) ? value + 1 : 1;
}

}  // namespace tempolatch
