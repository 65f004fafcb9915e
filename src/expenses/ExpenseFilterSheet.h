#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;

namespace tempolatch {

class ExpenseFilter;
class RecordStore;

// The Custom filter sheet of the expense window: the "Filter" page
// (client, project, category, bill to, statuses) and the "More Choices"
// page (currency, the two custom fields, expense type, receipt). Every
// list starts with "(All)". OK writes the choices into the filter; the
// caller stores it and reloads.
class ExpenseFilterSheet : public QDialog {
    Q_OBJECT

public:
    ExpenseFilterSheet(ExpenseFilter& filter, RecordStore& store, const QString& custom1Label,
                       const QString& custom2Label, QWidget* parent = nullptr);

    void accept() override;

public Q_SLOTS:
    // Every list back to "(All)", every status box checked.
    void clear();

private:
    QWidget* createFilterPage();
    QWidget* createMoreChoicesPage(const QString& custom1Label, const QString& custom2Label);
    void showFilter(const ExpenseFilter& filter);
    void clientChosen(int index);

    ExpenseFilter& m_filter;
    RecordStore& m_store;
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

}  // namespace tempolatch
