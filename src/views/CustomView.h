#pragma once

#include "views/PeriodView.h"

namespace tempolatch {

// The user's own period, from a start date to an end date inclusive. It
// does not step; its bar's title opens the period dialog instead.
class CustomView : public PeriodView {
    Q_OBJECT

public:
    int type() const override { return Custom; }
    bool canStep() const override { return false; }
    QString title() const override;

protected:
    void assign(const platform::SystemTime& start, const platform::SystemTime& end) override;
};

}  // namespace tempolatch
