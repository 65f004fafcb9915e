#pragma once

#include "views/PeriodView.h"

namespace tempolatch {

// A calendar month, stepped by months. Its period ends at 23:59:00 of the
// last day, while loading takes the records up to 23:59:59.
class MonthView : public PeriodView {
    Q_OBJECT

public:
    int type() const override { return Month; }
    QString title() const override;

protected:
    void assign(const platform::SystemTime& start, const platform::SystemTime& end) override;
    using PeriodView::stepped;
    platform::SystemTime stepped(const platform::SystemTime& from, int direction) const override;
    platform::SystemTime periodEnd() const override;
};

}  // namespace tempolatch
