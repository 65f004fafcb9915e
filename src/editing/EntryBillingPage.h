#pragma once

#include <QList>
#include <optional>

#include "editing/EntryPage.h"
#include "store/Rate.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace tempolatch {

// The editor's second page: status, bill-to contact, currency, the rate
// chosen from the client's and the default rates, and the paid date.
class EntryBillingPage : public EntryPage {
    Q_OBJECT
public:
    explicit EntryBillingPage(EntryEditState& state, QWidget* parent = nullptr);

    bool leave() override;
    bool apply() override;

protected:
    void build() override;
    void activated() override;

private:
    void fillTree();
    void locateRate();
    void selectRateItem(QTreeWidgetItem* item);
    void updateEnabling();
    void calculate();
    void choosePaidDate();
    // The rate of the selected tree item; nullopt for the others.
    std::optional<Rate> selectedRate() const;
    EntryStatus selectedStatus() const;

    QComboBox* m_status = nullptr;
    QPushButton* m_paidDate = nullptr;
    QComboBox* m_billTo = nullptr;
    QTreeWidget* m_tree = nullptr;
    QComboBox* m_currency = nullptr;
    QLineEdit* m_rate = nullptr;
    QCheckBox* m_fixed = nullptr;
    QLineEdit* m_total = nullptr;
    QPushButton* m_calculate = nullptr;
    QTreeWidgetItem* m_customItem = nullptr;

    QList<Rate> m_rates;  // the rates of the tree, default and client's
    EntryStatus m_initialStatus = EntryStatus::NonBillable;
    bool m_paidDateChosen = false;
};

}  // namespace tempolatch
