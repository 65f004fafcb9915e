#pragma once

#include "views/PeriodView.h"

namespace tempolatch {

// One day, stepped by days.
class DayView : public PeriodView {
    Q_OBJECT

public:
    int type() const override { return Day; }
    QString title() const override;

protected:
    void assign(const platform::SystemTime& start, const platform::SystemTime& end) override;
};

}  // namespace tempolatch
