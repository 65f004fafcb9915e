#include "reports/ReportPdf.h"

#include <QAbstractTextDocumentLayout>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <algorithm>
#include <iterator>

#include "platform/Locale.h"

namespace tempolatch {

namespace {

constexpr qreal kMarginMm = 15;
constexpr int kResolution = 300;
constexpr qreal kBodyPoints = 10;
constexpr qreal kFooterPoints = 8;
// In the document's pixels (a 96th of an inch).
constexpr qreal kLineBelowTable = 16;

QPageSize localePaper() {
    return platform::Locale::current().measurementSystem() == QLocale::ImperialUSSystem
               ? QPageSize(QPageSize::Letter)
               : QPageSize(QPageSize::A4);
}

QList<QTextTable*> tablesOf(const QTextDocument& doc) {
    QList<QTextTable*> tables;
    for (QTextFrame* frame : doc.rootFrame()->childFrames())
        if (auto* table = qobject_cast<QTextTable*>(frame))
            tables.append(table);
    return tables;
}

// Every table repeats its header row on each page it spans, and keeps a
// blank line below it (as a browser keeps above the paragraph that follows),
// so that an invoice's Bill To stands apart from the owner block above it.
void prepareTables(const QList<QTextTable*>& tables) {
    for (QTextTable* table : tables) {
        QTextTableFormat format = table->format();
        format.setHeaderRowCount(1);
        format.setBottomMargin(kLineBelowTable);
        table->setFormat(format);
    }
}

// Lays the document out on pages of `body` (device pixels) and tells
// whether every table fits the width without breaking a word.
bool layOut(QTextDocument& doc, const QList<QTextTable*>& tables, QSizeF body) {
    doc.setPageSize(body);
    QAbstractTextDocumentLayout* layout = doc.documentLayout();
    for (QTextTable* table : tables) {
        if (layout->frameBoundingRect(table).right() > body.width() + 0.5)
            return false;
    }
    return true;
}

void setWrapMode(QTextDocument& doc, QTextOption::WrapMode mode) {
    QTextOption option = doc.defaultTextOption();
    option.setWrapMode(mode);
    doc.setDefaultTextOption(option);
}

}  // namespace

bool isPdfPath(const QString& path) {
    return path.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive);
}

bool writeReportPdf(const QString& html, QIODevice& device) {
    QPdfWriter writer(&device);
    writer.setCreator(QStringLiteral("Tempolatch"));
    writer.setResolution(kResolution);

    QTextDocument doc;
    // Text set in points and laid out on the writer itself comes out at its
    // size on paper; laid out for the screen, it took the screen's idea of
    // a point along.
    QFont bodyFont = doc.defaultFont();
    bodyFont.setPointSizeF(kBodyPoints);
    doc.setDefaultFont(bodyFont);
    doc.setHtml(html);
    const QList<QTextTable*> tables = tablesOf(doc);
    prepareTables(tables);
    doc.documentLayout()->setPaintDevice(&writer);
    setWrapMode(doc, QTextOption::WordWrap);

    QFont footerFont = bodyFont;
    footerFont.setPointSizeF(kFooterPoints);
    const QFontMetricsF footerMetrics(footerFont, &writer);
    // The page number's line with as much room again above it.
    const qreal footer = 2 * footerMetrics.height();

    // The type is 10 pt, or 9 pt where that keeps the page upright. A table
    // too wide for a portrait page turns the page, and one too wide even
    // for that is set smaller, down to 6 pt; only then may a long word break.
    struct Fit {
        QPageLayout::Orientation orientation;
        qreal scale;
    };
    const Fit fits[] = {{QPageLayout::Portrait, 1.0},  {QPageLayout::Portrait, 0.9},
                        {QPageLayout::Landscape, 1.0}, {QPageLayout::Landscape, 0.9},
                        {QPageLayout::Landscape, 0.8}, {QPageLayout::Landscape, 0.7},
                        {QPageLayout::Landscape, 0.6}};
    QRectF page;
    qreal scale = 1;
    const auto tryFit = [&](const Fit& fit) {
        writer.setPageLayout(QPageLayout(localePaper(), fit.orientation,
                                         QMarginsF(kMarginMm, kMarginMm, kMarginMm, kMarginMm),
                                         QPageLayout::Millimeter));
        page = writer.pageLayout().paintRectPixels(kResolution);
        scale = fit.scale;
        return layOut(doc, tables, QSizeF(page.width(), page.height() - footer) / scale);
    };
    if (std::none_of(std::begin(fits), std::end(fits), tryFit)) {
        setWrapMode(doc, QTextOption::WrapAtWordBoundaryOrAnywhere);
        tryFit(fits[std::size(fits) - 1]);
    }

    QPainter painter;
    if (!painter.begin(&writer))
        return false;
    const QSizeF body = doc.pageSize();
    const int pages = doc.pageCount();
    for (int i = 0; i < pages; ++i) {
        if (i > 0 && !writer.newPage())
            return false;
        painter.save();
        painter.scale(scale, scale);
        painter.translate(0, -i * body.height());
        const QRectF clip(0, i * body.height(), body.width(), body.height());
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = clip;
        painter.setClipRect(clip);
        doc.documentLayout()->draw(&painter, context);
        painter.restore();
        painter.setFont(footerFont);
        painter.drawText(QRectF(0, page.height() - footer, page.width(), footer),
                         Qt::AlignHCenter | Qt::AlignBottom,
                         QStringLiteral("Page %1 of %2").arg(i + 1).arg(pages));
    }
    return painter.end();
}

}  // namespace tempolatch
