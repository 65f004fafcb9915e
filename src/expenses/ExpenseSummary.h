#pragma once

#include <QDialog>
#include <QStringList>

#include "store/ExpenseEntry.h"

class QListWidget;

namespace tempolatch {

class Settings;

// A read-only look at one expense: its General, Expense and Custom Fields
// sections and its note. Edit closes it and asks for the editor.
class ExpenseSummary : public QDialog {
    Q_OBJECT
public:
    ExpenseSummary(const ExpenseEntry& expense, const Settings& settings,
                   QWidget* parent = nullptr);

    // The texts of the summary's rows; section titles are the rows
    // "General", "Expense" and "Custom Fields".
    static QStringList rows(const ExpenseEntry& expense, const Settings& settings);

    bool editRequested() const { return m_editRequested; }

private:
    QListWidget* m_list;
    bool m_editRequested = false;
};

}  // namespace tempolatch
