#include "reports/PdfTable.h"

#include <QPainter>
#include <QTextLayout>
#include <numeric>

namespace tempolatch {

namespace {
// Enough for the repeating texts of any report; notes, each its own text,
// would otherwise fill it without end.
constexpr qsizetype kKeptWidths = 64 * 1024;
}  // namespace

PdfTextWidths::PdfTextWidths(const QFont& font, QPaintDevice* device)
    : m_font(font), m_device(device), m_metrics(font, device) {}

void PdfTextWidths::draw(QPainter& painter, const QPointF& topLeft, const QString& text) {
    auto known = m_glyphs.constFind(text);
    if (known == m_glyphs.constEnd()) {
        if (m_glyphs.size() >= kKeptWidths)
            m_glyphs.clear();
        QTextLayout layout(text, m_font, m_device);
        layout.beginLayout();
        layout.createLine();
        layout.endLayout();
        known = m_glyphs.insert(text, layout.glyphRuns());
    }
    for (const QGlyphRun& run : *known)
        painter.drawGlyphRun(topLeft, run);
}

qreal PdfTextWidths::width(const QString& text) {
    const auto known = m_widths.constFind(text);
    if (known != m_widths.constEnd())
        return *known;
    if (m_widths.size() >= kKeptWidths)
        m_widths.clear();
    const qreal width = m_metrics.horizontalAdvance(text);
    m_widths.insert(text, width);
    return width;
}

void measureRow(PdfTableType& type, const PdfRow& row, std::vector<PdfColumn>& columns) {
    PdfTextWidths& widths = type.of(row);
    if (columns.size() < size_t(row.cells.size()))
        columns.resize(size_t(row.cells.size()));
    for (qsizetype i = 0; i < row.cells.size(); ++i) {
        PdfColumn& column = columns[size_t(i)];
        for (const QString& line : row.cells[i].text.split(u'\n')) {
            const qreal lineWidth = widths.width(line);
            column.widestLine = std::max(column.widestLine, lineWidth);
            if (!line.contains(u' ')) {
                column.widestWord = std::max(column.widestWord, lineWidth);
                continue;
            }
            for (const QString& word : line.split(u' ', Qt::SkipEmptyParts))
                column.widestWord = std::max(column.widestWord, widths.width(word));
        }
    }
}

qreal PdfTable::frame(const PdfTableType& type, size_t columns) {
    const qreal border = 2 * type.pixel;
    const qreal padding = 2 * type.pixel;
    const qreal lines = columns > 0 ? qreal(columns - 1) * type.pixel : 0;
    return 2 * border + lines + qreal(columns) * 2 * padding;
}

bool PdfTable::fits(const PdfTableType& type, const std::vector<PdfColumn>& columns,
                    qreal available) {
    qreal words = 0;
    for (const PdfColumn& column : columns)
        words += column.widestWord;
    return frame(type, columns.size()) + words <= available + 0.5;
}

PdfTable::PdfTable(PdfTableType& type, const std::vector<PdfColumn>& columns, qreal available,
                   bool breakWords)
    : m_type(type), m_breakWords(breakWords) {
    const qreal content = available - frame(type, columns.size());
    qreal words = 0;
    qreal lines = 0;
    for (const PdfColumn& column : columns) {
        words += column.widestWord;
        lines += column.widestLine;
    }
    for (const PdfColumn& column : columns) {
        qreal width = column.widestLine;
        if (lines > content) {
            if (words <= content)
                width = column.widestWord + (content - words) *
                                                (column.widestLine - column.widestWord) /
                                                std::max(lines - words, qreal(1e-6));
            else
                width = content * column.widestLine / std::max(lines, qreal(1e-6));
        }
        m_columns.push_back(width + 2 * padding());
    }
    m_width = frame(type, columns.size()) - qreal(columns.size()) * 2 * padding() +
              std::accumulate(m_columns.begin(), m_columns.end(), qreal(0));
}

void PdfTable::breakWord(PdfTextWidths& widths, const QString& word, qreal available,
                         QStringList& out) {
    QString piece;
    for (qsizetype i = 0; i < word.size(); ++i) {
        // A surrogate pair stays together.
        const qsizetype length = word.at(i).isHighSurrogate() && i + 1 < word.size() ? 2 : 1;
        const QString next = piece + word.mid(i, length);
        if (!piece.isEmpty() && widths.metrics().horizontalAdvance(next) > available) {
            out.append(piece);
            piece = word.mid(i, length);
        } else {
            piece = next;
        }
        i += length - 1;
    }
    out.append(piece);
}

void PdfTable::wrapLine(PdfTextWidths& widths, const QString& line, qreal available,
                        QStringList& out) {
    const qreal space = widths.width(QStringLiteral(" "));
    QString current;
    qreal currentWidth = 0;
    for (const QString& word : line.split(u' ', Qt::SkipEmptyParts)) {
        const qreal wordWidth = widths.width(word);
        if (!current.isEmpty() && currentWidth + space + wordWidth <= available) {
            current += u' ' + word;
            currentWidth += space + wordWidth;
            continue;
        }
        if (!current.isEmpty())
            out.append(current);
        current = word;
        currentWidth = wordWidth;
        if (wordWidth > available && m_breakWords) {
            breakWord(widths, word, available, out);
            current = out.takeLast();
            currentWidth = widths.metrics().horizontalAdvance(current);
        }
    }
    out.append(current);
}

QStringList PdfTable::linesOf(PdfTextWidths& widths, const QString& text, qreal available) {
    QStringList out;
    for (const QString& line : text.split(u'\n')) {
        if (widths.width(line) <= available + 0.01)
            out.append(line);
        else
            wrapLine(widths, line, available, out);
    }
    return out;
}

qreal PdfTable::rowHeight(const PdfRow& row) {
    PdfTextWidths& widths = m_type.of(row);
    qsizetype lines = 1;
    const qsizetype cells = std::min(row.cells.size(), qsizetype(m_columns.size()));
    for (qsizetype i = 0; i < cells; ++i) {
        const qreal available = m_columns[size_t(i)] - 2 * padding();
        lines = std::max(lines, linesOf(widths, row.cells[i].text, available).size());
    }
    return qreal(lines) * widths.metrics().lineSpacing() + 2 * padding();
}

void PdfTable::drawRule(QPainter& painter, qreal top, qreal thickness) const {
    painter.fillRect(QRectF(0, top, m_width, thickness), Qt::black);
}

void PdfTable::drawRow(QPainter& painter, const PdfRow& row, qreal top, qreal height) {
    PdfTextWidths& widths = m_type.of(row);
    painter.fillRect(QRectF(0, top, border(), height), Qt::black);
    painter.fillRect(QRectF(m_width - border(), top, border(), height), Qt::black);
    const qreal lineSpacing = widths.metrics().lineSpacing();
    qreal x = border();
    for (size_t i = 0; i < m_columns.size(); ++i) {
        const qreal cellWidth = m_columns[i];
        if (i + 1 < m_columns.size())
            painter.fillRect(QRectF(x + cellWidth, top, line(), height), Qt::black);
        if (i < size_t(row.cells.size())) {
            const PdfRow::Cell& cell = row.cells[qsizetype(i)];
            const QStringList lines = linesOf(widths, cell.text, cellWidth - 2 * padding());
            for (qsizetype j = 0; j < lines.size(); ++j) {
                const qreal lineWidth = widths.width(lines[j]);
                const qreal left = cell.right   ? x + cellWidth - padding() - lineWidth
                                   : row.header ? x + (cellWidth - lineWidth) / 2
                                                : x + padding();
                widths.draw(painter, QPointF(left, top + padding() + qreal(j) * lineSpacing),
                            lines[j]);
            }
        }
        x += cellWidth + line();
    }
}

}  // namespace tempolatch
