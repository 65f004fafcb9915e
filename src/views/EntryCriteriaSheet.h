#pragma once

#include <QDialog>

#include "platform/FileTime.h"
#include "records/EntryCriteria.h"
#include "records/EntryFilter.h"

class QCheckBox;
class QDateEdit;

namespace tempolatch {

struct Context;
class FilterControls;
class RecordStore;

// The sheet that chooses the entries of a bulk command, an export or a
// report: "Criteria" (the range, client, project, phase, task, bill to),
// "Status" (the four status boxes, preset and fixed by the mode) and "More
// Choices" (currency, custom fields, rate type). Its rules live in
// views/EntryCriteria.h.
class EntryCriteriaSheet : public QDialog {
    Q_OBJECT

public:
    // Opens on `preset` (its range and criteria), with the mode's statuses.
    EntryCriteriaSheet(Context& context, CriteriaMode mode, const EntryFilter& preset,
                       QWidget* parent = nullptr);

    // The criteria as the pages show them now.
    EntryFilter criteria() const;

    // An invoice's sheet also offers to take in the billable expenses of
    // the chosen dates and client.
    void offerExpenses(bool checked);
    bool withExpenses() const;

public Q_SLOTS:
    // Every list back to "(All)", every status box the mode leaves free
    // checked; the range stays.
    void clear();

private:
    QWidget* createCriteriaPage(QWidget* parent);
    QWidget* createStatusPage(QWidget* parent);

    CriteriaMode m_mode;
    FilterControls* m_controls;
    QDateEdit* m_start = nullptr;
    QDateEdit* m_end = nullptr;
    QCheckBox* m_withExpenses = nullptr;
};

// The entry criteria sheet preset to the period [periodStart, periodEnd], every other
// criterion "(All)". On OK fills `criteria` (an EntryFilter with its date range) and returns true.
// With `withExpenses` the sheet offers the invoice's expenses box, which it
// opens with and fills.
bool runEntryCriteria(Context& context, QWidget* parent, CriteriaMode mode,
                      const platform::SystemTime& periodStart,
                      const platform::SystemTime& periodEnd, EntryFilter& criteria,
                      bool* withExpenses = nullptr);

}  // namespace tempolatch
