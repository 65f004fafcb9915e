#pragma once

#include <QDialog>
#include <variant>

#include "records/RecordCopies.h"
#include "store/ExpenseEntry.h"
#include "store/TimeEntry.h"

class QCheckBox;
class QComboBox;
class QDateEdit;
class QGridLayout;
class QRadioButton;

namespace tempolatch {

struct Context;

// "Copy Entry": the duration of the copies and the days they go to (one
// date, the rest of the week, or every day to an end date). OK writes the
// copies; a duration that is not a number keeps the dialog open. An
// expense is copied the same way ("Copy Expense"), without a duration.
// Several entries or expenses ("Copy 3 Entries") are each copied from
// their own day, all in one transaction; their duration box starts empty,
// which keeps each entry's own.
class CopyEntryDialog : public QDialog {
    Q_OBJECT

public:
    CopyEntryDialog(Context& context, const TimeEntry& entry, QWidget* parent = nullptr);
    CopyEntryDialog(Context& context, const ExpenseEntry& expense, QWidget* parent = nullptr);
    // At least one record, in date order.
    CopyEntryDialog(Context& context, const QList<TimeEntry>& entries, QWidget* parent = nullptr);
    CopyEntryDialog(Context& context, const QList<ExpenseEntry>& expenses,
                    QWidget* parent = nullptr);

    // The days chosen now.
    entrycopy::Choice choice() const;
    // The number of copies OK wrote.
    int copiesWritten() const { return m_written; }

    void accept() override;

    // What the status line says of a copy: how many were made, or why none.
    static QString copiesNotice(int written, entrycopy::Target target);

private:
    CopyEntryDialog(Context& context, platform::FileTime date, QWidget* parent);
    void targetChanged();
    // The entry's duration from its box; false (after message 11 or the
    // range message) when the text will not do.
    bool takeDuration(QList<TimeEntry>& entries);

    Context& m_context;
    std::variant<QList<TimeEntry>, QList<ExpenseEntry>> m_records;
    int m_written = 0;
    QGridLayout* m_grid;
    QComboBox* m_duration = nullptr;
    QRadioButton* m_onDate;
    QRadioButton* m_restOfWeek;
    QRadioButton* m_toEndDate;
    QDateEdit* m_date;
    QDateEdit* m_endDate;
    QCheckBox* m_includeWeekend;
};

}  // namespace tempolatch
