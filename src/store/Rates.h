#pragma once

#include "store/Databases.h"
#include "store/Rate.h"
#include "store/RecordStore.h"
#include "store/Records.h"

namespace tempolatch {

// The rates of the clients and of the default rate set (client id 0).
class Rates : public Records<Rate> {
public:
    explicit Rates(RecordStore& store) : Records(store.clientStructure().rates) {}
    // Those of one database outside a profile's store (an upgrade, a copy).
    explicit Rates(RatesDatabase& db) : Records(db) {}
};

}  // namespace tempolatch
