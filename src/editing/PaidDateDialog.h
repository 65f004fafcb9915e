#pragma once

#include <QDialog>

#include "platform/FileTime.h"

class QDateEdit;

namespace tempolatch {

// Lets the user pick the paid date that Mark As Paid would otherwise set.
class PaidDateDialog : public QDialog {
    Q_OBJECT
public:
    // A zero paid date shows today. The text line tells what the date is
    // for; without one, the entry editor's.
    explicit PaidDateDialog(platform::FileTime paidDate, QWidget* parent = nullptr);
    PaidDateDialog(platform::FileTime paidDate, const QString& text, QWidget* parent = nullptr);

    // The date picked, at the time of day the picker keeps.
    platform::FileTime paidDate() const;

private:
    QDateEdit* m_picker;
    QTime m_time;
};

}  // namespace tempolatch
