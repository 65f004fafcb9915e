#pragma once

#include <QDialog>
#include <QList>

#include "reports/LayoutRows.h"
#include "reports/LayoutSession.h"

class QAction;
class QTableWidget;

namespace tempolatch {

struct Context;

// The report layout dialog: the list of the layout's items with their
// values edited in place, field rows moved up and down, and the saved
// reports (load the built-in or a saved layout, save, organize, set as the
// kind's default). OK closes it; there is no cancel.
class ReportLayoutDialog : public QDialog {
    Q_OBJECT

public:
    ReportLayoutDialog(Context& context, int kind, QWidget* parent = nullptr);
    ~ReportLayoutDialog() override;

    // The layout as the list shows it.
    ReportLayout layout();
    LayoutSession& session() { return m_session; }
    QTableWidget* list() const { return m_list; }

    void loadDefault();
    void loadCustom();
    void organizeReports();
    void save();
    void toggleDefault();
    void moveUp();
    void moveDown();

    void accept() override;

private:
    void fillList();
    void readRows();
    void updateActions();
    void moveRow(int from, int to);

    Context& m_context;
    SavedReports m_reports;
    LayoutSession m_session;
    QList<LayoutRow> m_rows;
    QTableWidget* m_list;
    QAction* m_setDefault;
    QAction* m_moveUp;
    QAction* m_moveDown;
};

// Lets the user pick one of the saved reports a dialog of `kind` offers
// (those of the time report types for the time kinds, of its own type for
// an expense kind); 0 when none is picked. An empty list says so (message
// 168).
quint32 chooseSavedReport(Context& context, SavedReports& reports, int kind, QWidget* parent);

// The same saved reports with Delete and Rename; an empty list says so.
void runOrganizeReports(Context& context, SavedReports& reports, int kind, QWidget* parent);

}  // namespace tempolatch
