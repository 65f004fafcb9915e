#include "records/FilterChoices.h"

#include "records/EntryFilter.h"
#include "store/RecordValues.h"

namespace tempolatch {

FilterChoices FilterChoices::of(const EntryFilter& filter) {
    FilterChoices c;
    c.client = filter.client;
    c.project = filter.project;
    c.phase = filter.phase;
    c.billTo = filter.billTo;
    c.unpaid = filter.billable;
    c.billed = filter.billed;
    c.paid = filter.paid;
    c.nonBillable = filter.nonBillable;
    c.currency = filter.currency;
    c.custom1 = filter.custom1;
    c.custom2 = filter.custom2;
    c.custom3 = filter.custom3;
    const bool known = filter.rateType >= 0 && filter.rateType <= int(RateType::Discount);
    c.rateTypeItem = known ? filter.rateType + 1 : 0;
    return c;
}

void FilterChoices::applyFilterPage(EntryFilter& filter) const {
    filter.client.clear();
    filter.project.clear();
    filter.phase.clear();
    filter.billTo.clear();
    filter.setFlags(EntryFilter::AllFlags);
    const bool any = client.isEmpty() && project.isEmpty() && phase.isEmpty() && billTo.isEmpty() &&
                     unpaid && billed && paid && nonBillable;
    if (any)
        return;
    filter.client = client;
    filter.project = project;
    filter.phase = phase;
    filter.billTo = billTo;
    filter.billable = unpaid;
    filter.billed = billed;
    filter.paid = paid;
    filter.nonBillable = nonBillable;
}

void FilterChoices::applyMoreChoices(EntryFilter& filter) const {
    filter.currency.clear();
    filter.custom1.clear();
    filter.custom2.clear();
    filter.custom3.clear();
    filter.rateType = -1;
    const bool any = currency.isEmpty() && custom1.isEmpty() && custom2.isEmpty() &&
                     custom3.isEmpty() && rateTypeItem <= 0;
    if (any)
        return;
    filter.currency = currency;
    filter.custom1 = custom1;
    filter.custom2 = custom2;
    filter.custom3 = custom3;
    filter.rateType = rateTypeItem - 1;
}

}  // namespace tempolatch
