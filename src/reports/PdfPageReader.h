#pragma once

#include <QIODevice>
#include <QList>
#include <QString>
#include <QStringList>
#include <QXmlStreamReader>

namespace tempolatch {

// A row of a data table as the PDF writer sets it: the cells' texts
// (runs of white space as one space, a line break as "\n") and their
// alignment.
struct PdfRow {
    struct Cell {
        QString text;
        bool right = false;
    };
    QList<Cell> cells;
    bool header = false;  // every cell a th: the row repeated on each page
};

// What a report page is made of, in order: the data tables (class "Data"),
// which the PDF writer draws row by row, and between them the rest of the
// body as pieces of HTML for the rich-text engine.
class PdfPageHandler {
public:
    virtual ~PdfPageHandler() = default;
    // The body's content between two tables, as a whole HTML page with the
    // report's head (its styles).
    virtual void fragment(const QString& html) = 0;
    virtual void tableStart() = 0;
    virtual void row(const PdfRow& row) = 0;
    virtual void tableEnd() = 0;
};

// Reads a report page (the XHTML our writers make) in pieces as they come,
// or whole from a device, and hands its parts to a handler.
class PdfPageReader {
public:
    explicit PdfPageReader(PdfPageHandler& handler) : m_handler(handler) {}

    // The next piece of the page; false once the page is not well-formed.
    bool addData(QStringView text);
    // A whole page from a device.
    bool read(QIODevice& device);
    // Whether the page was read to its end.
    bool finished() const { return m_reader.atEnd() && !m_failed; }

private:
    bool pump();
    void startElement();
    void endElement();
    void characters();
    void appendStartTag(QString& out) const;
    void endFragment();

    PdfPageHandler& m_handler;
    QXmlStreamReader m_reader;
    QStringList m_path;  // the open elements' names
    QString m_head;      // the head's content, as HTML
    QString m_fragment;  // the body's content since the last table
    int m_tableDepth = 0;
    PdfRow m_row;
    PdfRow::Cell* m_cell = nullptr;
    bool m_failed = false;
};

}  // namespace tempolatch
