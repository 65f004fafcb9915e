#pragma once

#include <QList>
#include <QString>
#include <optional>

#include "platform/FileTime.h"
#include "store/Rate.h"
#include "store/TimeEntry.h"

namespace tempolatch {

// What the billing page selects in its rate tree for an entry, and what it
// writes into the entry. Plain logic, tested without a window.
namespace billing {

// A rate item of the tree; nullopt means "(Custom Rate)", or nothing.
struct RateLocation {
    std::optional<Rate> rate;  // the rate item to select
    bool selectCustom = true;  // select "(Custom Rate)" (false: nothing)
    bool fixedEnabled = true;
    bool fixedChecked = false;
};

// Picks the tree item for the entry. `clientRates` and `defaultRates` are
// in tree order; `hasClientGroup` tells whether a client is selected.
RateLocation locateRate(const TimeEntry& entry, const QList<Rate>& clientRates,
                        const QList<Rate>& defaultRates, bool hasClientGroup);

// The rate type that the tree's selection gives: the rate's own type, or
// Fixed or Normal by the box for "(Custom Rate)", a group or no selection.
RateType rateTypeOf(const std::optional<Rate>& selected, bool fixedChecked);

// What the page's controls hold when OK is pressed.
struct BillingInput {
    EntryStatus status = EntryStatus::NonBillable;
    QString rateText;
    QString billTo;
    QString currency;
    std::optional<Rate> selectedRate;
    bool fixedChecked = false;
};

// Applies the page to the entry. Returns 0, or the string id of the message
// that refuses OK (the rate edit then gets the focus).
int apply(TimeEntry& entry, const BillingInput& input, EntryStatus initialStatus,
          bool paidDateChosen, platform::FileTime now);

// "%s%.02f" of the currency and the entry's amount.
QString totalText(const QString& currency, const TimeEntry& entry, bool precise);

// The text of a rate item: "%s (%.02f)".
QString rateItemText(const Rate& rate);

}  // namespace billing
}  // namespace tempolatch
