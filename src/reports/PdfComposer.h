#pragma once

#include <QPdfWriter>
#include <optional>
#include <vector>

#include "reports/PdfPageReader.h"
#include "reports/PdfPageSetup.h"
#include "reports/PdfTable.h"

class QPainter;
class QTextDocument;

namespace tempolatch {

// Sets a report page's parts on pages, one after the other: the rich-text
// pieces as Qt's engine breaks them, the data tables row by row, each row
// whole on a page, a table's header row again at the top of each further
// page it takes, and its border closed at the foot of each. Run twice: to
// count the pages (without a painter), then to draw them with the count.
class PdfComposer : public PdfPageHandler {
public:
    struct Setup {
        QPdfWriter& writer;
        PdfTableType& type;
        const std::vector<std::vector<PdfColumn>>& tables;  // each table's columns
        pdfsetup::Page page;
        bool breakWords = false;
    };

    // Draws with `painter` when given, numbering the pages "of pageCount".
    PdfComposer(const Setup& setup, QPainter* painter, int pageCount);

    void fragment(const QString& html) override;
    void tableStart() override;
    void row(const PdfRow& row) override;
    void tableEnd() override;

    // Ends the last page; the number of pages. False from ok() when the
    // writer refused a page.
    int finish();
    bool ok() const { return m_ok; }

private:
    void newPage();
    void drawFooter();
    void drawPart(QTextDocument& doc, qreal top, const QRectF& clip);
    void openSegment(qreal firstHeight, bool firstIsHeader);
    void closeSegment();
    void addToSegment(const PdfRow& row, qreal height);
    void rule(qreal thickness);

    Setup m_setup;
    QPainter* m_painter;
    int m_pageCount;
    QSizeF m_body;
    int m_page = 0;
    qreal m_y = 0;
    bool m_ok = true;

    std::size_t m_tableIndex = 0;
    std::optional<PdfTable> m_table;
    std::optional<PdfRow> m_header;
    qreal m_headerHeight = 0;
    int m_rowsInTable = 0;
    bool m_segmentOpen = false;
    bool m_segmentAtTop = false;
    int m_rowsInSegment = 0;
};

}  // namespace tempolatch
