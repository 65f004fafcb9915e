#include "reports/PdfPageSetup.h"

#include <QAbstractTextDocumentLayout>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>

#include "platform/Locale.h"

namespace tempolatch::pdfsetup {

namespace {

constexpr qreal kMarginMm = 15;

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

}  // namespace

QPageLayout pageLayout(const Fit& fit) {
    return QPageLayout(localePaper(), fit.orientation,
                       QMarginsF(kMarginMm, kMarginMm, kMarginMm, kMarginMm),
                       QPageLayout::Millimeter);
}

Page page(const Fit& fit, qreal footer) {
    return Page{QRectF(pageLayout(fit).paintRectPixels(Resolution)), footer, fit.scale};
}

QFont bodyFont() {
    QFont font;
    font.setPointSizeF(BodyPoints);
    return font;
}

QFont footerFont() {
    QFont font;
    font.setPointSizeF(FooterPoints);
    return font;
}

std::unique_ptr<QTextDocument> richText(const QString& html, QPaintDevice* device,
                                        bool breakWords) {
    auto doc = std::make_unique<QTextDocument>();
    // Text set in points and laid out on the writer itself comes out at its
    // size on paper; laid out for the screen, it took the screen's idea of
    // a point along.
    doc->setDefaultFont(bodyFont());
    doc->setHtml(html);
    for (QTextTable* table : tablesOf(*doc)) {
        QTextTableFormat format = table->format();
        format.setHeaderRowCount(1);
        format.setBottomMargin(LineBelowTable);
        table->setFormat(format);
    }
    doc->documentLayout()->setPaintDevice(device);
    QTextOption option = doc->defaultTextOption();
    option.setWrapMode(breakWords ? QTextOption::WrapAtWordBoundaryOrAnywhere
                                  : QTextOption::WordWrap);
    doc->setDefaultTextOption(option);
    // The pieces stand one under the other, the tables at the left edge.
    doc->setDocumentMargin(0);
    return doc;
}

bool tablesFit(QTextDocument& doc, qreal width) {
    doc.setTextWidth(width);
    QAbstractTextDocumentLayout* layout = doc.documentLayout();
    for (QTextTable* table : tablesOf(doc))
        if (layout->frameBoundingRect(table).right() > width + 0.5)
            return false;
    return true;
}

}  // namespace tempolatch::pdfsetup
