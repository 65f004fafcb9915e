#pragma once

#include <QList>
#include <QString>

#include "store/Rate.h"

namespace tempolatch {

class RecordStore;

// What the rates tree shows: "(Default Rates)" first, then one group per
// client in name order (clients without rates too), each group's rates by
// type, then description.
struct RateTreeContent {
    struct Group {
        QString title;
        quint32 clientId = 0;
        QList<Rate> rates;
    };

    QList<Group> groups;

    static RateTreeContent load(RecordStore& store);
};

// The image of a rate-tree item: 0 for a group, 1 + the type for a rate.
int rateItemImage(RateType type);
inline constexpr int RateGroupImage = 0;

}  // namespace tempolatch
