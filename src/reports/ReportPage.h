#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

#include "reports/PageStream.h"
#include "reports/ReportLayout.h"

namespace tempolatch {

namespace platform {
struct SystemTime;
}
class EntryFilter;
class MoneyTotals;
struct OwnerInfo;
class Settings;

// The pieces every report page is made of, on one PageStream: the frame
// (html, head, body), the heading, tables with their header, entry and
// total rows, and the footer. After frame() the main position is the body;
// between beginTable() and endTable() it is the table. The page goes to the
// sink as it is made.
class ReportPage {
public:
    explicit ReportPage(PageStream::Sink sink = {}) : m_doc(std::move(sink)) {}

    // One cell: its text and whether it is right-aligned.
    struct Cell {
        QString text;
        bool right = false;
    };

    // The document type, then html with its head (a meta naming `charset`,
    // the title, the generator and the style sheet), then into the body.
    void frame(const QString& title, const QString& charset);
    // h1 with the title and h2 with the date selection's text.
    void heading(const ReportLayout& layout, const EntryFilter& criteria);
    void addChild(const QString& name, const QString& text = QString());
    void beginTable(const QStringList& captions);
    void addRow(const QList<Cell>& cells);
    // The total rows of a table: "Total", then under each column that
    // `totalOf` gives a text for that text, right-aligned, and a space in
    // every other cell. Amounts of different currencies never share a row:
    // under `amountField` each row holds one currency's total of `amounts`,
    // and the other totals stand in the first row only. A total of the
    // first column follows "Total" in the first cell.
    void addTotalRows(const QList<int>& columns, int amountField, const MoneyTotals& amounts,
                      const std::function<QString(int field)>& totalOf);
    // The owner's name, company, address and two more lines in a borderless
    // table, with today's date beside the name and `besideAddress` (an
    // invoice's number) beside the address. Each field keeps its own line
    // breaks.
    void addOwnerBlock(const OwnerInfo& owner, const QString& besideAddress);
    void endTable();
    // The image file as a paragraph of its own, embedded in the page (a
    // data: URI), so that the page carries it wherever it is sent. Nothing
    // when the file is not a PNG, JPEG, GIF or SVG image of at most 1 MB.
    void addLogo(const QString& path);
    // A table of labelled amounts (an invoice's net, taxes and total due):
    // each row a label and its amount, right-aligned.
    void addAmountTable(const QList<std::pair<QString, QString>>& rows);
    // A paragraph of spans, each followed by a line break but the last
    // when `breakAfterLast` is false.
    void beginParagraph();
    void addSpan(const QString& text, bool lineBreak);
    void endParagraph();
    // "Report Date: <today>", in small type.
    void addReportDate();

    // Ends the page; false when the sink refused any of it.
    bool finish() { return m_doc.finish(); }
    // The finished page of a ReportPage without a sink.
    QString text();

private:
    // The text's lines as spans with a line break between them.
    void addLines(const QString& text);

    PageStream m_doc;
};

// Whether report pages carry the owner block: the option is on and there is
// an owner to show.
bool ownerBlockShown(const Settings& settings);

// "Date: " and today's date: the day a page (an invoice) is issued.
QString issueDateText();

// A resource text with its "%s" filled in.
QString filledText(int resource, const QString& value);

// The date selection's line of the heading: "From <start> To <end>",
// "Date: <start>" or nothing.
QString dateSelectionText(const ReportLayout& layout, const EntryFilter& criteria);

}  // namespace tempolatch
