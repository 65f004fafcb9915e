#pragma once

#include <QString>

class QIODevice;

namespace tempolatch {

// A report page as PDF, rendered by Qt's own text engine: the locale's
// paper size (Letter where the locale measures in inches, else A4), 15 mm
// margins, table rows moved whole to the next page, the page number at
// the foot of each page. Needs a QGuiApplication.
bool writeReportPdf(const QString& html, QIODevice& device);

// Paths ending in ".pdf" (any case) are written as PDF.
bool isPdfPath(const QString& path);

}  // namespace tempolatch
