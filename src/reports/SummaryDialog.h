#pragma once

#include <QDialog>
#include <functional>

#include "reports/Summaries.h"

class QTableWidget;

namespace tempolatch {

struct Context;
class DialogBar;

// A summary window: one list without headers that fills the resizable
// dialog, and a bar with "Export CSV" (and, for the Client Summary, "New").
class SummaryDialog : public QDialog {
    Q_OBJECT
public:
    enum class Kind { Client, Quick, ExpenseQuick };

    SummaryDialog(Kind kind, Context& context, QWidget* parent = nullptr);

    Kind kind() const { return m_kind; }
    void setRows(const SummaryRows& rows);
    const SummaryRows& rows() const { return m_rows; }
    QTableWidget* list() const { return m_list; }
    DialogBar* bar() const { return m_bar; }

    // What "New" runs (the Client Summary's choice and recomputation).
    void setNewHandler(std::function<void()> handler) { m_onNew = std::move(handler); }

    // Asks for a file and writes the list into it, without a header.
    void exportCsv();
    // A command of the bar: New (40004) or Export CSV (40101).
    void runCommand(int id);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fitColumns();

    Kind m_kind;
    Context& m_context;
    QTableWidget* m_list = nullptr;
    DialogBar* m_bar = nullptr;
    SummaryRows m_rows;
    std::function<void()> m_onNew;
};

// The save dialog of the CSV exports ("CSV Files (*.csv)"): the path with
// ".csv" added when it has no extension; empty when cancelled.
QString chooseCsvFile(Context& context, QWidget* parent);

// Asks which client (and project and task) the Client Summary is for:
// every client, then the projects of the chosen one and the tasks of the
// chosen project (of the client when no project is chosen), each list
// headed by "(All)". False when cancelled.
bool chooseClientSummary(Context& context, QWidget* parent, ClientSummaryChoice& choice);

}  // namespace tempolatch
