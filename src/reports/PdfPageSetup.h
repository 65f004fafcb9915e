#pragma once

#include <QFont>
#include <QPageLayout>
#include <QRectF>
#include <QSizeF>
#include <iterator>
#include <memory>

class QPaintDevice;
class QTextDocument;

namespace tempolatch {

// How a report is put on paper: the ways of setting it in the order they
// are tried, the page each gives, and the pieces of rich text between the
// tables.
namespace pdfsetup {

inline constexpr int Resolution = 300;
inline constexpr qreal BodyPoints = 10;
inline constexpr qreal FooterPoints = 8;
// The blank line below a table, in CSS pixels (a 96th of an inch).
inline constexpr qreal LineBelowTable = 16;

// The type is 10 pt, or 9 pt where that keeps the page upright. A table
// too wide for a portrait page turns the page, and one too wide even for
// that is set smaller, down to 6 pt; only then may a long word break.
struct Fit {
    QPageLayout::Orientation orientation;
    qreal scale;
};
inline constexpr Fit Fits[] = {{QPageLayout::Portrait, 1.0},  {QPageLayout::Portrait, 0.9},
                               {QPageLayout::Landscape, 1.0}, {QPageLayout::Landscape, 0.9},
                               {QPageLayout::Landscape, 0.8}, {QPageLayout::Landscape, 0.7},
                               {QPageLayout::Landscape, 0.6}};
inline constexpr int FitCount = int(std::size(Fits));

QPageLayout pageLayout(const Fit& fit);

// A page of a fit, in device pixels: the printable area, the room kept
// at its foot for the page number, and the body above it in the unscaled
// pixels the report is set in.
struct Page {
    QRectF printable;
    qreal footer = 0;
    qreal scale = 1;
    QSizeF body() const { return QSizeF(printable.width(), printable.height() - footer) / scale; }
};
Page page(const Fit& fit, qreal footer);

QFont bodyFont();
QFont footerFont();

// Rich text set as the report's text: its type, tables that keep a blank
// line below them (as a browser keeps above the paragraph that follows),
// laid out on the device.
std::unique_ptr<QTextDocument> richText(const QString& html, QPaintDevice* device, bool breakWords);
// Whether every table of the text fits `width` without breaking a word.
bool tablesFit(QTextDocument& doc, qreal width);

}  // namespace pdfsetup

}  // namespace tempolatch
