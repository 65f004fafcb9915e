#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QHash>
#include <QString>
#include <QStringList>
#include <vector>

#include "reports/PdfPageReader.h"

class QPainter;
class QPaintDevice;

namespace tempolatch {

// The widths of texts in one font on the PDF device, kept for the texts
// that come again (names, dates, hours repeat in every report).
class PdfTextWidths {
public:
    PdfTextWidths(const QFont& font, QPaintDevice* device);

    const QFont& font() const { return m_font; }
    const QFontMetricsF& metrics() const { return m_metrics; }
    qreal width(const QString& text);
    // Draws a line of text, its top at `topLeft`, shaped once for all the
    // times it is drawn.
    void draw(QPainter& painter, const QPointF& topLeft, const QString& text);

private:
    QFont m_font;
    QPaintDevice* m_device;
    QFontMetricsF m_metrics;
    QHash<QString, qreal> m_widths;
    QHash<QString, QList<QGlyphRun>> m_glyphs;
};

// The two fonts of a data table: cells, and header cells in bold.
struct PdfTableType {
    PdfTextWidths normal;
    PdfTextWidths bold;
    // A 96th of an inch (a CSS pixel) on the device.
    qreal pixel;

    PdfTextWidths& of(const PdfRow& row) { return row.header ? bold : normal; }
};

// A table's column as its rows need it: the widest word (the column can
// be no narrower without breaking one) and the widest line (as narrow as
// it needs to be).
struct PdfColumn {
    qreal widestWord = 0;
    qreal widestLine = 0;
};

// Widens the columns to hold the row's cells.
void measureRow(PdfTableType& type, const PdfRow& row, std::vector<PdfColumn>& columns);

// One data table set on a width: the columns sized as a browser sizes
// them (each as wide as its widest line when all fit, else its widest
// word and a share of the rest), a border of 2 pixels around, lines of 1
// between the cells, 2 pixels of padding in them.
class PdfTable {
public:
    // `breakWords` when no width holds the widest words.
    PdfTable(PdfTableType& type, const std::vector<PdfColumn>& columns, qreal available,
             bool breakWords);

    // Whether the table fits `available` without breaking a word.
    static bool fits(const PdfTableType& type, const std::vector<PdfColumn>& columns,
                     qreal available);

    qreal width() const { return m_width; }
    qreal border() const { return 2 * m_type.pixel; }
    qreal line() const { return m_type.pixel; }

    // A row's height without the lines around it.
    qreal rowHeight(const PdfRow& row);
    // The row's cells and the lines beside and between them, from `top`.
    void drawRow(QPainter& painter, const PdfRow& row, qreal top, qreal height);
    // A line across the table.
    void drawRule(QPainter& painter, qreal top, qreal thickness) const;

private:
    static qreal frame(const PdfTableType& type, size_t columns);
    qreal padding() const { return 2 * m_type.pixel; }
    QStringList linesOf(PdfTextWidths& widths, const QString& text, qreal available);
    void wrapLine(PdfTextWidths& widths, const QString& line, qreal available, QStringList& out);
    void breakWord(PdfTextWidths& widths, const QString& word, qreal available, QStringList& out);

    PdfTableType& m_type;
    std::vector<qreal> m_columns;  // each cell's width, padding included
    qreal m_width = 0;
    bool m_breakWords;
};

}  // namespace tempolatch
