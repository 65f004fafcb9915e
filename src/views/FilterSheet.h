#pragma once

#include <QDialog>

#include "views/FilterChoices.h"

class QCheckBox;
class QComboBox;

namespace tempolatch {

class EntryFilter;
class RecordStore;

// The Custom filter sheet: the "Filter" page (client, project, phase, bill
// to, statuses) and the "More Choices" page (currency, custom fields, rate
// type). Every list starts with "(All)". OK writes the choices into the
// filter; the caller stores it and reloads.
class FilterSheet : public QDialog {
    Q_OBJECT

public:
    // The lists offer the clients and drop-list values of the store.
    FilterSheet(EntryFilter& filter, RecordStore& store, QWidget* parent = nullptr);

    // The choices as the widgets show them now.
    FilterChoices choices() const;

    void accept() override;

public Q_SLOTS:
    // Every list back to "(All)", every status box checked.
    void clear();

private:
    QWidget* createFilterPage();
    QWidget* createMoreChoicesPage();
    QComboBox* addList(QWidget* page, const char* name);
    void fillClientLists(quint32 clientId);
    void clientChosen(int index);

    EntryFilter& m_filter;
    RecordStore& m_store;
    QComboBox* m_client = nullptr;
    QComboBox* m_project = nullptr;
    QComboBox* m_phase = nullptr;
    QComboBox* m_billTo = nullptr;
    QCheckBox* m_unpaid = nullptr;
    QCheckBox* m_billed = nullptr;
    QCheckBox* m_paid = nullptr;
    QCheckBox* m_nonBillable = nullptr;
    QComboBox* m_currency = nullptr;
    QComboBox* m_custom1 = nullptr;
    QComboBox* m_custom2 = nullptr;
    QComboBox* m_custom3 = nullptr;
    QComboBox* m_rateType = nullptr;
};

}  // namespace tempolatch
