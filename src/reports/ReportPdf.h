#pragma once

#include <QString>
#include <QStringView>
#include <memory>

class QIODevice;

namespace tempolatch {

// A report page as PDF: the locale's paper size (Letter where the locale
// measures in inches, else A4), 15 mm margins, "Page n of m" at the foot
// of each page. The data tables are set row by row, each row whole on one
// page and the header row again at the top of every page a table spans;
// the rest of the page is set by Qt's rich-text engine. Needs a
// QGuiApplication.
//
// The page is taken in pieces as it is made and kept in a temporary file,
// so that a report of any length costs memory for a page's worth of rows;
// the time grows with the rows.
class ReportPdfWriter {
public:
    explicit ReportPdfWriter(QIODevice& device);
    ~ReportPdfWriter();
    ReportPdfWriter(const ReportPdfWriter&) = delete;
    ReportPdfWriter& operator=(const ReportPdfWriter&) = delete;

    // The next piece of the page's HTML; false when it cannot be kept or
    // is not a page of ours.
    bool add(QStringView html);
    // Sets the pages and writes the PDF to the device.
    bool finish();

private:
    struct Private;
    std::unique_ptr<Private> d;
};

// The whole page at once.
bool writeReportPdf(const QString& html, QIODevice& device);

// Paths ending in ".pdf" (any case) are written as PDF.
bool isPdfPath(const QString& path);

}  // namespace tempolatch
