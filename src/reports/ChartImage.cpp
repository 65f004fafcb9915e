#include "reports/ChartImage.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QBuffer>
#include <QChart>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGraphicsScene>
#include <QPainter>
#include <QSaveFile>
#include <QStackedBarSeries>
#include <QSvgGenerator>
#include <QValueAxis>

#include "reports/ChartData.h"

namespace tempolatch {

namespace {

// Day labels would crowd each other beyond about a month: then every
// seventh (a week) carries its date. The axis keeps one of equal labels,
// so the others are made of distinct counts of an invisible space.
QStringList shownCategories(const ChartTable& table) {
    if (table.kind != ChartTable::HoursPerDay || table.categories.size() <= 31)
        return table.categories;
    QStringList shown;
    for (int i = 0; i < table.categories.size(); ++i)
        shown.append(i % 7 == 0 ? table.categories[i] : QString(i, u'\u200b'));
    return shown;
}

QAbstractBarSeries* makeSeries(const ChartTable& table) {
    QAbstractBarSeries* series = table.kind == ChartTable::HoursPerDay
                                     ? static_cast<QAbstractBarSeries*>(new QStackedBarSeries)
                                     : new QBarSeries;
    for (int s = 0; s < table.series.size(); ++s) {
        auto* set = new QBarSet(table.series[s]);
        for (const qint64 value : table.hundredths[s])
            set->append(value / 100.0);
        series->append(set);
    }
    return series;
}

// The largest bar, stacked or not, in whole units.
double largestBar(const ChartTable& table) {
    double largest = 0;
    for (int c = 0; c < table.categories.size(); ++c) {
        double stack = 0;
        for (const QList<qint64>& values : table.hundredths) {
            stack = table.kind == ChartTable::HoursPerDay ? stack + values[c] / 100.0
                                                          : std::max(stack, values[c] / 100.0);
        }
        largest = std::max(largest, stack);
    }
    return largest;
}

bool saveBytes(const QString& path, const QByteArray& bytes, QString& error) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        error = file.errorString();
        return false;
    }
    return true;
}

}  // namespace

QChart* makeChart(const ChartTable& table, const QString& title) {
    auto* chart = new QChart;
    chart->setTitle(title);
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->legend()->setAlignment(Qt::AlignBottom);
    QAbstractBarSeries* series = makeSeries(table);
    chart->addSeries(series);
    auto* categories = new QBarCategoryAxis;
    categories->append(shownCategories(table));
    chart->addAxis(categories, Qt::AlignBottom);
    series->attachAxis(categories);
    auto* values = new QValueAxis;
    values->setTitleText(table.kind == ChartTable::HoursPerDay ? QStringLiteral("Hours")
                                                               : QStringLiteral("Amount"));
    values->setRange(0, std::max(1.0, largestBar(table)));
    values->applyNiceNumbers();
    values->setLabelFormat(QStringLiteral("%.0f"));
    chart->addAxis(values, Qt::AlignLeft);
    series->attachAxis(values);
    return chart;
}

bool writeChartFile(const ChartTable& table, const QString& title, const QString& path,
                    QString& error, QSize size) {
    // The chart is laid out in a scene of its own, never shown; its layout
    // is done by the events it posts.
    QGraphicsScene scene;
    QChart* chart = makeChart(table, title);
    scene.addItem(chart);
    const QRectF area(QPointF(0, 0), QSizeF(size));
    chart->setGeometry(area);
    scene.setSceneRect(area);
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    const bool svg =
        QFileInfo(path).suffix().compare(QLatin1String("svg"), Qt::CaseInsensitive) == 0;
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (svg) {
        QSvgGenerator generator;
        generator.setOutputDevice(&buffer);
        generator.setSize(size);
        generator.setViewBox(QRect(QPoint(0, 0), size));
        generator.setTitle(title);
        QPainter painter(&generator);
        painter.setRenderHint(QPainter::Antialiasing);
        scene.render(&painter, area, area);
    } else {
        QImage image(size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        scene.render(&painter, area, area);
        painter.end();
        if (!image.save(&buffer, "PNG")) {
            error = QStringLiteral("the image could not be made");
            return false;
        }
    }
    return saveBytes(path, bytes, error);
}

}  // namespace tempolatch
