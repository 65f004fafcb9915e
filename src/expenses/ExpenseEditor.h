#pragma once

#include <QDialog>

#include "settings/Context.h"
#include "store/ExpenseEntry.h"

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QTabWidget;

namespace tempolatch {

// The tabbed dialog in which an expense is created or changed: "General",
// "Expense" (the mileage or the general page, by the expense's type),
// "Note" and "Custom". OK saves the expense with what the user typed that
// the client structure and the drop lists lack.
class ExpenseEditor : public QDialog {
    Q_OBJECT
public:
    enum Page { GeneralPage = 0, ExpensePage = 1, NotePage = 2, CustomPage = 3 };

    ExpenseEditor(Context& context, const ExpenseEntry& expense, int firstPage,
                  QWidget* parent = nullptr);

    // Runs the editor modally; the saved expense's record id, or nullopt
    // when nothing was saved.
    static std::optional<quint32> edit(Context& context, QWidget* parent,
                                       const ExpenseEntry& expense, int firstPage = GeneralPage);

    const ExpenseEntry& expense() const { return m_expense; }
    // The user chose to see the expense as someone else stored it meanwhile.
    bool reloadWanted() const { return m_reload; }
    QTabWidget* tabs() const { return m_tabs; }

    void accept() override;

private:
    QWidget* createGeneralPage();
    QWidget* createExpensePage();
    QWidget* createNotePage();
    QWidget* createCustomPage();
    void pageChanged(int index);
    // False (message 22 shown, General current) when the client is empty.
    bool leaveGeneral();
    void enterExpense();
    void leaveExpense();
    void clientChanged();
    void updateEnabling();
    void choosePaidDate();
    void calculate();
    void odometerEndLeft();
    void distanceLeft();
    EntryStatus selectedStatus() const;
    // Writes every page into the expense.
    void applyPages();

    Context& m_context;
    ExpenseEntry m_expense;
    // As stored when the editor opened, to tell whether someone else has
    // changed it since.
    std::optional<ExpenseEntry> m_asRead;
    bool m_reload = false;
    quint32 m_clientId = 0;
    QTabWidget* m_tabs = nullptr;
    int m_current = 0;
    bool m_switching = false;
    bool m_amountShown = false;  // the amount box was filled from the expense

    QDateEdit* m_date = nullptr;
    QComboBox* m_description = nullptr;
    QComboBox* m_client = nullptr;
    QComboBox* m_project = nullptr;
    QComboBox* m_category = nullptr;

    QComboBox* m_status = nullptr;
    QPushButton* m_paidDate = nullptr;
    QComboBox* m_billTo = nullptr;
    QSpinBox* m_odometerStart = nullptr;
    QSpinBox* m_odometerEnd = nullptr;
    QSpinBox* m_distance = nullptr;
    QComboBox* m_currency = nullptr;
    QLineEdit* m_amount = nullptr;  // the rate (mileage) or the amount (general)
    QLineEdit* m_total = nullptr;
    QPushButton* m_calculate = nullptr;
    QCheckBox* m_receipt = nullptr;

    QPlainTextEdit* m_note = nullptr;
    QComboBox* m_custom1 = nullptr;
    QComboBox* m_custom2 = nullptr;
};

}  // namespace tempolatch
