#pragma once

#include "store/Databases.h"
#include "store/Rate.h"
#include "store/Records.h"

namespace tempolatch {

// The rates of the clients and of the default rate set (client id 0).
class Rates : public Records<Rate> {
public:
    explicit Rates(RatesDatabase& db) : Records(db) {}
};

}  // namespace tempolatch
