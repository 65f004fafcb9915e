#pragma once

#include <QString>

namespace tempolatch {

class EntryFilter;

// What the two pages of the Custom filter sheet hold when it is accepted,
// and how each page writes it into the filter. An empty text stands for
// "(All)".
struct FilterChoices {
    // "Filter" page.
    QString client;
    QString project;
    QString phase;
    QString billTo;
    bool unpaid = true;  // the billable flag
    bool billed = true;
    bool paid = true;
    bool nonBillable = true;

    // "More Choices" page.
    QString currency;
    QString custom1;
    QString custom2;
    QString custom3;
    int rateTypeItem = 0;  // 0 "(All)", else rate type + 1

    // The choices a filter shows when the sheet opens.
    static FilterChoices of(const EntryFilter& filter);

    // Each page first clears its criteria, then takes its choices unless
    // they all say "any".
    void applyFilterPage(EntryFilter& filter) const;
    void applyMoreChoices(EntryFilter& filter) const;
    void apply(EntryFilter& filter) const {
        applyFilterPage(filter);
        applyMoreChoices(filter);
    }
};

}  // namespace tempolatch
