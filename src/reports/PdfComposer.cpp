#include "reports/PdfComposer.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QTextBlock>
#include <QTextDocument>
#include <cmath>

namespace tempolatch {

namespace {

// Where the text's content ends: the empty block that follows a closing
// table holds nothing of it.
qreal contentEnd(QTextDocument& doc) {
    const QTextBlock last = doc.lastBlock();
    const QRectF box = doc.documentLayout()->blockBoundingRect(last);
    return last.length() <= 1 && last.previous().isValid() ? box.top() : box.bottom();
}

}  // namespace

PdfComposer::PdfComposer(const Setup& setup, QPainter* painter, int pageCount)
    : m_setup(setup), m_painter(painter), m_pageCount(pageCount), m_body(setup.page.body()) {}

void PdfComposer::drawFooter() {
    if (!m_painter)
        return;
    const QRectF printable = m_setup.page.printable;
    const qreal footer = m_setup.page.footer;
    m_painter->save();
    m_painter->resetTransform();
    m_painter->setFont(pdfsetup::footerFont());
    m_painter->drawText(QRectF(0, printable.height() - footer, printable.width(), footer),
                        Qt::AlignHCenter | Qt::AlignBottom,
                        QStringLiteral("Page %1 of %2").arg(m_page + 1).arg(m_pageCount));
    m_painter->restore();
}

void PdfComposer::newPage() {
    if (m_painter) {
        drawFooter();
        m_ok = m_setup.writer.newPage() && m_ok;
    }
    ++m_page;
    m_y = 0;
}

int PdfComposer::finish() {
    drawFooter();
    return m_page + 1;
}

// A piece of rich text stands whole where the page stands, or else at the
// top of the next page; one longer than a page is broken over pages by
// Qt's engine.
void PdfComposer::fragment(const QString& html) {
    const auto doc = pdfsetup::richText(html, &m_setup.writer, m_setup.breakWords);
    doc->setTextWidth(m_body.width());
    qreal end = contentEnd(*doc);
    if (m_y > 0 && m_y + end > m_body.height())
        newPage();
    int pages = 1;
    if (end > m_body.height()) {
        doc->setPageSize(m_body);
        end = contentEnd(*doc);
        pages = std::max(1, int(std::ceil((end - 0.01) / m_body.height())));
    }
    for (int i = 0; i < pages; ++i) {
        if (i > 0)
            newPage();
        if (m_painter)
            drawPart(*doc, m_y - i * m_body.height(),
                     QRectF(0, i * m_body.height(), m_body.width(), m_body.height()));
    }
    m_y += end - (pages - 1) * m_body.height();
}

// The part of the text inside `clip` (in its own coordinates), its top at
// `top` of the page.
void PdfComposer::drawPart(QTextDocument& doc, qreal top, const QRectF& clip) {
    m_painter->save();
    m_painter->translate(0, top);
    QAbstractTextDocumentLayout::PaintContext context;
    context.clip = clip;
    m_painter->setClipRect(clip);
    doc.documentLayout()->draw(m_painter, context);
    m_painter->restore();
}

void PdfComposer::tableStart() {
    static const std::vector<PdfColumn> none;
    const auto& columns =
        m_tableIndex < m_setup.tables.size() ? m_setup.tables[m_tableIndex] : none;
    ++m_tableIndex;
    m_table.emplace(m_setup.type, columns, m_body.width(), m_setup.breakWords);
    m_header.reset();
    m_rowsInTable = 0;
    m_segmentOpen = false;
}

void PdfComposer::rule(qreal thickness) {
    if (m_painter)
        m_table->drawRule(*m_painter, m_y, thickness);
    m_y += thickness;
}

void PdfComposer::addToSegment(const PdfRow& row, qreal height) {
    if (m_rowsInSegment > 0)
        rule(m_table->line());
    if (m_painter)
        m_table->drawRow(*m_painter, row, m_y, height);
    m_y += height;
    ++m_rowsInSegment;
}

// The table's part on this page: its top border, the header row on every
// page but the one it starts on, and room for the first row and the
// bottom border, else it starts on the next page.
void PdfComposer::openSegment(qreal firstHeight, bool firstIsHeader) {
    const qreal border = m_table->border();
    qreal needed = 2 * border + firstHeight;
    if (m_header && !firstIsHeader)
        needed += m_headerHeight + m_table->line();
    if (firstIsHeader)
        needed += firstHeight + m_table->line();  // and a row under it
    if (m_y > 0 && m_y + needed > m_body.height())
        newPage();
    m_segmentAtTop = m_y == 0;
    rule(border);
    m_rowsInSegment = 0;
    m_segmentOpen = true;
    if (m_header && !firstIsHeader)
        addToSegment(*m_header, m_headerHeight);
}

void PdfComposer::closeSegment() {
    rule(m_table->border());
    m_segmentOpen = false;
}

void PdfComposer::row(const PdfRow& row) {
    if (!m_table)
        return;
    const qreal height = m_table->rowHeight(row);
    const bool isHeader = row.header && m_rowsInTable == 0;
    if (isHeader) {
        m_header = row;
        m_headerHeight = height;
    }
    ++m_rowsInTable;
    if (!m_segmentOpen) {
        openSegment(height, isHeader);
    } else if (m_y + m_table->line() + height + m_table->border() > m_body.height()) {
        // A row taller than a page stays where a page starts, cut at its foot.
        const int repeated = m_header ? 1 : 0;
        if (!(m_segmentAtTop && m_rowsInSegment <= repeated)) {
            closeSegment();
            newPage();
            openSegment(height, false);
        }
    }
    addToSegment(row, height);
}

void PdfComposer::tableEnd() {
    if (m_table && m_segmentOpen)
        closeSegment();
    if (m_table && m_rowsInTable > 0)
        m_y += pdfsetup::LineBelowTable * m_setup.type.pixel;
    m_table.reset();
}

}  // namespace tempolatch
