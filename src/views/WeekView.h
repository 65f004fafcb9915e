#pragma once

#include "views/PeriodView.h"

namespace tempolatch {

// Seven days from the first day of the week (Sunday, or Monday with the
// week-start option), stepped by weeks.
class WeekView : public PeriodView {
    Q_OBJECT

public:
    int type() const override { return Week; }
    QString title() const override;
    int weekNumber() const override;

    bool weekStartsMonday() const;

protected:
    void assign(const platform::SystemTime& start, const platform::SystemTime& end) override;
    using PeriodView::stepped;
    platform::SystemTime stepped(const platform::SystemTime& from, int direction) const override;
};

}  // namespace tempolatch
