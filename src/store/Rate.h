#pragma once

#include <QList>
#include <QString>

#include "platform/FileTime.h"
#include "store/Databases.h"
#include "store/RecordValues.h"
#include "store/StoreIds.h"
#include "store/StoredRecord.h"

namespace tempolatch {

// A billing rate of a client ("Tempolatch Rates"); client id 0 holds the
// default rate set. Description and type identify a rate within a client.
class Rate : public StoredRecord {
public:
    quint32 clientId = 0;
    QString description;
    RateType rateType = RateType::Normal;
    qint32 rate = 0;  // hundredths of a currency unit
    bool flag = false;
    platform::FileTime modified;
    quint16 changeFlags = 0;

    // The rate as stored; the flag is set only by a stored value of exactly 1.
    void setFromProperties(const platform::PropertyList& props);

    // All seven properties, on add and on update alike.
    platform::PropertyList propertiesForAdd(quint16 changeFlags) const override;
    platform::PropertyList propertiesForUpdate(quint16 changeFlags) const override {
        return propertiesForAdd(changeFlags);
    }
    bool hasChangeFlags() const override { return true; }

    bool operator==(const Rate&) const = default;
};

// The client's rates in the order of the store; 0 gives the default rate set.
QList<Rate> listRates(RatesDatabase& db, quint32 clientId);

// Smaller rate type first, then the descriptions in the user's locale,
// case-sensitively: -1, 0 or 1.
int compareRates(const Rate& a, const Rate& b);
void sortRates(QList<Rate>& rates);
// The client's rates in that order, as the rate trees list them.
QList<Rate> listSortedRates(RatesDatabase& db, quint32 clientId);

void deleteRatesOfClient(RatesDatabase& db, quint32 clientId);

}  // namespace tempolatch
