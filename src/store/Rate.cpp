#include "store/Rate.h"

#include <algorithm>

#include "platform/Locale.h"
#include "store/ClientWalk.h"

namespace tempolatch {

using platform::Property;
using platform::PropertyList;

void Rate::setFromProperties(const PropertyList& props) {
    const quint32 id = recordId;
    *this = Rate();
    recordId = id;
    for (const Property& p : props) {
        switch (p.id) {
            case prop::RateKind:
                rateType = RateType(p.toUi2());
                break;
            case prop::Rate:
                rate = qint32(p.toUi4());
                break;
            case prop::ClientId:
                clientId = p.toUi4();
                break;
            case prop::Description:
                description = p.text.left(MaxNameLength);
                break;
            case prop::RateFlag:
                flag = p.number == 1;
                break;
            case prop::Modified:
                modified = p.toFileTime();
                break;
            case prop::ChangeFlags:
                changeFlags = p.toUi2();
                break;
            default:
                break;
        }
    }
}

PropertyList Rate::propertiesForAdd(quint16 flags) const {
    return {Property::ui2(prop::RateKind, quint16(rateType)),
            Property::ui4(prop::Rate, quint32(rate)),
            Property::ui4(prop::ClientId, clientId),
            Property::string(prop::Description, description),
            Property::boolean(prop::RateFlag, flag),
            Property::fileTime(prop::Modified, modified),
            Property::ui2(prop::ChangeFlags, flags)};
}

QList<Rate> listRates(RatesDatabase& db, quint32 clientId) {
    QList<Rate> rates;
    walkClient(db, clientId, [&](const PropertyList& props) {
        Rate rate;
        rate.recordId = db.currentId();
        rate.setFromProperties(props);
        rates.append(rate);
        return true;
    });
    return rates;
}

int compareRates(const Rate& a, const Rate& b) {
    if (a.rateType != b.rateType)
        return a.rateType < b.rateType ? -1 : 1;
    const int byText = platform::Locale::compare(a.description, b.description);
    return byText < 0 ? -1 : (byText > 0 ? 1 : 0);
}

void sortRates(QList<Rate>& rates) {
    std::stable_sort(rates.begin(), rates.end(),
                     [](const Rate& a, const Rate& b) { return compareRates(a, b) < 0; });
}

void deleteRatesOfClient(RatesDatabase& db, quint32 clientId) {
    db.deleteAllOfClient(clientId);
}

QList<Rate> listSortedRates(RatesDatabase& db, quint32 clientId) {
    QList<Rate> rates = listRates(db, clientId);
    sortRates(rates);
    return rates;
}

}  // namespace tempolatch
