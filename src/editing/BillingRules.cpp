#include "editing/BillingRules.h"

#include "editing/EntryValues.h"
#include "platform/StringTable.h"

namespace tempolatch::billing {

namespace {

const Rate* findRate(const QList<Rate>& rates, qint32 value, RateType type) {
    for (const Rate& r : rates) {
        if (r.rate == value && r.rateType == type)
            return &r;
    }
    return nullptr;
}

}  // namespace

RateLocation locateRate(const TimeEntry& entry, const QList<Rate>& clientRates,
                        const QList<Rate>& defaultRates, bool hasClientGroup) {
    RateLocation where;
    if (entry.status == EntryStatus::NonBillable)
        return where;
    if (entry.rate != 0 || entry.recordId != 0) {
        // The client's own rate wins over an equal default rate.
        const Rate* match =
            hasClientGroup ? findRate(clientRates, entry.rate, entry.rateType) : nullptr;
        if (!match)
            match = findRate(defaultRates, entry.rate, entry.rateType);
        if (match) {
            where.rate = *match;
            where.selectCustom = false;
            where.fixedEnabled = false;
            where.fixedChecked = match->rateType == RateType::Fixed;
        } else {
            where.fixedChecked = entry.rateType == RateType::Fixed;
        }
        return where;
    }
    const QList<Rate>& group = hasClientGroup ? clientRates : defaultRates;
    where.selectCustom = false;
    if (!group.isEmpty()) {
        where.rate = group.first();
        where.fixedEnabled = false;
        where.fixedChecked = group.first().rateType == RateType::Fixed;
    }
    return where;
}

RateType rateTypeOf(const std::optional<Rate>& selected, bool fixedChecked) {
    if (selected)
        return selected->rateType;
    return fixedChecked ? RateType::Fixed : RateType::Normal;
}

int apply(TimeEntry& entry, const BillingInput& input, EntryStatus initialStatus,
          bool paidDateChosen, platform::FileTime now) {
    if (input.status == EntryStatus::NonBillable) {
        // Bill-to and currency stay, for when the entry becomes billable again.
        entry.status = input.status;
        entry.rate = 0;
        return 0;
    }
    if (!entryvalues::isNumericText(input.rateText))
        return str::NumericOnly;
    TimeEntry changed = entry;
    entryvalues::setRateText(changed, input.rateText);
    if (changed.rate < 0)
        return str::NegativeRate;
    changed.status = input.status;
    changed.billTo = input.billTo.left(63);
    changed.currency = input.currency.left(16);
    changed.rateType = rateTypeOf(input.selectedRate, input.fixedChecked);
    if (input.status == EntryStatus::Paid && !paidDateChosen && initialStatus != EntryStatus::Paid)
        changed.paidDate = now;
    entry = changed;
    return 0;
}

QString totalText(const QString& currency, const TimeEntry& entry, bool precise) {
    return currency + QString::asprintf("%.02f", entry.amount(precise));
}

QString rateItemText(const Rate& rate) {
    return QString::asprintf("%s (%.02f)", qUtf8Printable(rate.description), rate.rate / 100.0);
}

}  // namespace tempolatch::billing
