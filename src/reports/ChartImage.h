#pragma once

#include <QSize>
#include <QString>

class QChart;

namespace tempolatch {

struct ChartTable;

// The chart of a table: hours per day as bars stacked by client, amounts
// per client as bars side by side, one per currency. The caller owns it.
QChart* makeChart(const ChartTable& table, const QString& title);

// Writes the chart of the table to `path`, as SVG when the name ends in
// .svg and as PNG otherwise, at `size` pixels. False with `error` set when
// the file cannot be written.
bool writeChartFile(const ChartTable& table, const QString& title, const QString& path,
                    QString& error, QSize size = {1000, 600});

}  // namespace tempolatch
