#include "reports/ReportPdf.h"

#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryFile>
#include <QTextDocument>
#include <algorithm>
#include <optional>

#include "reports/PdfComposer.h"
#include "reports/PdfPageReader.h"
#include "reports/PdfPageSetup.h"
#include "reports/PdfTable.h"

namespace tempolatch {

using pdfsetup::FitCount;
using pdfsetup::Fits;

// The first reading, as the page is made: the page goes to the spool file
// for the readings that set it, and each table's columns are measured, so
// that the fit (orientation and size of type) is known before a page is set.
struct ReportPdfWriter::Private : PdfPageHandler {
    explicit Private(QIODevice& device) : writer(&device) {
        writer.setCreator(QStringLiteral("Tempolatch"));
        // Before anything is measured on it: widths are in its pixels.
        writer.setResolution(pdfsetup::Resolution);
        type.emplace(PdfTextWidths(pdfsetup::bodyFont(), &writer),
                     PdfTextWidths(boldFont(), &writer), qreal(pdfsetup::Resolution) / 96);
        ok = spool.open();
    }

    static QFont boldFont() {
        QFont font = pdfsetup::bodyFont();
        font.setBold(true);
        return font;
    }

    qreal footer() { return 2 * QFontMetricsF(pdfsetup::footerFont(), &writer).height(); }

    // The rich text between tables may hold tables of its own (the owner
    // block): the first fit in which they keep their words whole.
    void fragment(const QString& html) override {
        if (!html.contains(QLatin1String("<table")))
            return;
        const auto doc = pdfsetup::richText(html, &writer, false);
        int fit = fragmentFit;
        while (fit < FitCount &&
               !pdfsetup::tablesFit(*doc, pdfsetup::page(Fits[fit], footer()).body().width()))
            ++fit;
        fragmentFit = fit;
    }
    void tableStart() override { tables.emplace_back(); }
    void row(const PdfRow& row) override { measureRow(*type, row, tables.back()); }
    void tableEnd() override {}

    // The first fit that every table takes without breaking a word; the
    // last one, breaking them, when none does.
    int chooseFit() {
        const qreal footerRoom = footer();
        for (int fit = fragmentFit; fit < FitCount; ++fit) {
            const qreal width = pdfsetup::page(Fits[fit], footerRoom).body().width();
            if (std::all_of(tables.begin(), tables.end(), [&](const auto& columns) {
                    return PdfTable::fits(*type, columns, width);
                }))
                return fit;
        }
        return FitCount;
    }

    bool compose() {
        int fit = chooseFit();
        const bool breakWords = fit == FitCount;
        fit = std::min(fit, FitCount - 1);
        writer.setPageLayout(pdfsetup::pageLayout(Fits[fit]));
        const PdfComposer::Setup setup{writer, *type, tables, pdfsetup::page(Fits[fit], footer()),
                                       breakWords};
        PdfComposer counter(setup, nullptr, 0);
        if (!readSpool(counter))
            return false;
        const int pages = counter.finish();

        QPainter painter;
        if (!painter.begin(&writer))
            return false;
        painter.scale(Fits[fit].scale, Fits[fit].scale);
        PdfComposer drawer(setup, &painter, pages);
        const bool read = readSpool(drawer);
        drawer.finish();
        return painter.end() && read && drawer.ok();
    }

    bool readSpool(PdfPageHandler& handler) {
        if (!spool.flush() || !spool.seek(0))
            return false;
        PdfPageReader again(handler);
        return again.read(spool);
    }

    QPdfWriter writer;
    std::optional<PdfTableType> type;
    QTemporaryFile spool;
    PdfPageReader reader{*this};
    std::vector<std::vector<PdfColumn>> tables;
    int fragmentFit = 0;
    bool ok = true;
};

ReportPdfWriter::ReportPdfWriter(QIODevice& device) : d(std::make_unique<Private>(device)) {}

ReportPdfWriter::~ReportPdfWriter() = default;

bool ReportPdfWriter::add(QStringView html) {
    if (!d->ok)
        return false;
    const QByteArray bytes = html.toUtf8();
    d->ok = d->spool.write(bytes) == bytes.size() && d->reader.addData(html);
    return d->ok;
}

bool ReportPdfWriter::finish() {
    return d->ok && d->reader.finished() && d->compose();
}

bool writeReportPdf(const QString& html, QIODevice& device) {
    ReportPdfWriter writer(device);
    return writer.add(html) && writer.finish();
}

bool isPdfPath(const QString& path) {
    return path.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive);
}

}  // namespace tempolatch
