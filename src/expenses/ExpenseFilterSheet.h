#pragma once

#include <QDialog>

#include "platform/FileTime.h"
#include "records/EntryCriteria.h"

class QCheckBox;
class QComboBox;
class QDateEdit;

namespace tempolatch {

struct Context;
class ExpenseFilter;
class RecordStore;
struct Context;

// The Custom filter sheet of the expense window: the "Filter" page
// (client, project, category, bill to, statuses) and the "More Choices"
// page (currency, the two custom fields, expense type, receipt). Every
// list starts with "(All)". OK writes the choices into the filter; the
// caller stores it and reloads.
//
// Opened with a CriteriaMode it is the expense criteria sheet, which
// chooses the expenses of a bulk marking, an export or a report: "Start:"
// and "End:" head the "Filter" page, the mode presets and fixes statuses as
// on the entry criteria sheet, and a preset expense type (not AnyType) is
// fixed, the command having chosen it. OK then writes the range too, from
// 00:00:00 of the start day to 23:59:59 of the end day.
class ExpenseFilterSheet : public QDialog {
    Q_OBJECT

public:
    ExpenseFilterSheet(ExpenseFilter& filter, Context& context, const QString& custom1Label,
                       const QString& custom2Label, QWidget* parent = nullptr);
    // The criteria sheet, opened on `criteria` (see ExpenseFilter::preset).
    ExpenseFilterSheet(ExpenseFilter& criteria, CriteriaMode mode, Context& context,
                       const QString& custom1Label, const QString& custom2Label,
                       QWidget* parent = nullptr);

    void accept() override;

public Q_SLOTS:
    // Every list back to "(All)", every status box checked; as a criteria
    // sheet the range, the mode's statuses and a fixed type stay.
    void clear();

private:
    void build(const QString& custom1Label, const QString& custom2Label);
    QWidget* createFilterPage();
    QWidget* createMoreChoicesPage(const QString& custom1Label, const QString& custom2Label);
    void showFilter(const ExpenseFilter& filter);
    void clientChosen(int index);
    bool isCriteriaSheet() const { return m_start != nullptr; }

    ExpenseFilter& m_filter;
    RecordStore& m_store;
    CriteriaMode m_mode = CriteriaMode::Any;
    bool m_typeFixed = false;
    QDateEdit* m_start = nullptr;  // criteria sheet only
    QDateEdit* m_end = nullptr;
    QComboBox* m_client = nullptr;
    QComboBox* m_project = nullptr;
    QComboBox* m_category = nullptr;
    QComboBox* m_billTo = nullptr;
    QCheckBox* m_statuses[4] = {};  // Unpaid, Billed, Paid, Non Billable
    QComboBox* m_currency = nullptr;
    QComboBox* m_custom1 = nullptr;
    QComboBox* m_custom2 = nullptr;
    QComboBox* m_type = nullptr;
    QComboBox* m_receipt = nullptr;
};

// The expense criteria sheet preset to the period [periodStart,
// periodEnd], the mode's statuses and `type` (ExpenseFilter::AnyType: any,
// else fixed), every other criterion "(All)". On OK fills `criteria` (an
// ExpenseFilter with its date range; criteria.chosen() gives what the walks
// take) and returns true; Cancel leaves it as it was.
bool runExpenseCriteria(Context& context, QWidget* parent, CriteriaMode mode,
                        const platform::SystemTime& periodStart,
                        const platform::SystemTime& periodEnd, qint32 type,
                        ExpenseFilter& criteria);

}  // namespace tempolatch
