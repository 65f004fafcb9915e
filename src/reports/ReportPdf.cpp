#include "reports/ReportPdf.h"

#include <QAbstractTextDocumentLayout>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>

#include "platform/Locale.h"

namespace tempolatch {

namespace {

constexpr qreal kMarginMm = 15;
constexpr int kFooterPoints = 16;

QPageSize localePaper() {
    return platform::Locale::current().measurementSystem() == QLocale::ImperialUSSystem
               ? QPageSize(QPageSize::Letter)
               : QPageSize(QPageSize::A4);
}

// Every table repeats its header row on each page it spans.
void repeatTableHeaders(QTextDocument& doc) {
    for (QTextFrame* frame : doc.rootFrame()->childFrames()) {
        if (auto* table = qobject_cast<QTextTable*>(frame)) {
            QTextTableFormat format = table->format();
            format.setHeaderRowCount(1);
            table->setFormat(format);
        }
    }
}

}  // namespace

bool isPdfPath(const QString& path) {
    return path.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive);
}

bool writeReportPdf(const QString& html, QIODevice& device) {
    QPdfWriter writer(&device);
    writer.setCreator(QStringLiteral("Tempolatch"));
    writer.setPageLayout(QPageLayout(localePaper(), QPageLayout::Portrait,
                                     QMarginsF(kMarginMm, kMarginMm, kMarginMm, kMarginMm),
                                     QPageLayout::Millimeter));
    writer.setResolution(300);

    QTextDocument doc;
    doc.setHtml(html);
    repeatTableHeaders(doc);

    QPainter painter;
    if (!painter.begin(&writer))
        return false;
    const QRect page = writer.pageLayout().paintRectPixels(writer.resolution());
    const qreal scale = writer.resolution() / 96.0;
    // The document lays out in 96-dpi pixels, above a strip for the footer.
    const qreal footer = kFooterPoints * 96.0 / 72.0;
    const QSizeF body(page.width() / scale, page.height() / scale - footer);
    doc.setPageSize(body);
    doc.documentLayout();  // lays the pages out
    const int pages = doc.pageCount();
    QFont footerFont = doc.defaultFont();
    footerFont.setPointSizeF(8);
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
        painter.save();
        painter.scale(scale, scale);
        painter.setFont(footerFont);
        painter.drawText(QRectF(0, body.height(), body.width(), footer), Qt::AlignCenter,
                         QStringLiteral("Page %1 of %2").arg(i + 1).arg(pages));
        painter.restore();
    }
    return painter.end();
}

}  // namespace tempolatch
