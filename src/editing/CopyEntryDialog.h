#pragma once

#include <QDialog>

#include "editing/EntryCopy.h"
#include "store/TimeEntry.h"

class QCheckBox;
class QComboBox;
class QDateEdit;
class QRadioButton;

namespace tempolatch {

struct Context;

// "Copy Entry": the duration of the copies and the days they go to (one
// date, the rest of the week, or every day to an end date). OK writes the
// copies; a duration that is not a number keeps the dialog open.
class CopyEntryDialog : public QDialog {
    Q_OBJECT

public:
    CopyEntryDialog(Context& context, const TimeEntry& entry, QWidget* parent = nullptr);

    // The days chosen now.
    entrycopy::Choice choice() const;
    // The number of copies OK wrote.
    int copiesWritten() const { return m_written; }

    void accept() override;

private:
    void targetChanged();

    Context& m_context;
    TimeEntry m_entry;
    int m_written = 0;
    QComboBox* m_duration;
    QRadioButton* m_onDate;
    QRadioButton* m_restOfWeek;
    QRadioButton* m_toEndDate;
    QDateEdit* m_date;
    QDateEdit* m_endDate;
    QCheckBox* m_includeWeekend;
};

}  // namespace tempolatch
