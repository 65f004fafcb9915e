#pragma once

#include <QDialog>
#include <QStringList>

#include "store/ExpenseEntry.h"

class QListWidget;

namespace tempolatch {

struct Context;
class Settings;

// A read-only look at one expense: its General, Expense and Custom Fields
// sections and its note. Edit closes it and asks for the editor.
class ExpenseSummary : public QDialog {
    Q_OBJECT
public:
    ExpenseSummary(const ExpenseEntry& expense, Context& context, QWidget* parent = nullptr);

    // One row of the summary: a section title ("General", "Expense",
    // "Custom Fields") or a value; the expense's type carries its icon.
    struct Row {
        QString text;
        bool section = false;
        bool type = false;
    };
    static QList<Row> summaryRows(const ExpenseEntry& expense, const Settings& settings);
    // The rows' texts.
    static QStringList rows(const ExpenseEntry& expense, const Settings& settings);

    bool editRequested() const { return m_editRequested; }

private:
    QListWidget* m_list;
    bool m_editRequested = false;
};

}  // namespace tempolatch
