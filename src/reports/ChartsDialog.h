#pragma once

#include <QDialog>
#include <QList>

#include "reports/ChartData.h"

class QTabWidget;

namespace tempolatch {

struct Context;
struct SummaryPeriod;

// The charts of the entries a list shows in its period, one page each:
// hours per day stacked by client, and amounts per client by currency.
// Export... writes the chart of the page shown as PNG or SVG.
class ChartsDialog : public QDialog {
    Q_OBJECT
public:
    ChartsDialog(Context& context, const SummaryPeriod& period, const QList<quint32>& recordIds,
                 QWidget* parent = nullptr);

    const ChartTable& table(int page) const { return page == 0 ? m_hours : m_amounts; }
    QString chartTitle(int page) const;
    // Asks for a file and writes the chart of the page shown into it.
    void exportShown();

private:
    Context& m_context;
    QString m_periodText;
    ChartTable m_hours;
    ChartTable m_amounts;
    QTabWidget* m_pages = nullptr;
};

// Charts... (40296) of the main window.
void openCharts(Context& context, QWidget* parent, const SummaryPeriod& period,
                const QList<quint32>& recordIds);

}  // namespace tempolatch
