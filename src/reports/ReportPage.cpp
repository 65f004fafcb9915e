#include "reports/ReportPage.h"

#include <QFile>
#include <QMimeDatabase>
#include <QRegularExpression>

#include "platform/Clock.h"
#include "platform/Locale.h"
#include "platform/StringTable.h"
#include "records/EntryFilter.h"
#include "records/MoneyTotals.h"
#include "reports/HtmlReport.h"
#include "settings/Settings.h"

namespace tempolatch {

namespace {
constexpr int kFromTo = 227;
constexpr int kDateOnly = 228;
constexpr int kTotal = 229;
constexpr int kReportDate = 3076;

const QString kData = QStringLiteral("Data");
const QString kClass = QStringLiteral("class");
const QString kAlign = QStringLiteral("align");
const QString kRight = QStringLiteral("right");

// How every report page looks, in print too; the markup says only what
// each part is. A row is never split across two printed pages. The PDF
// writer reads it too: what would widen a table (page margins, more cell
// padding) is left out, so that a table that fits an upright page still
// does.
const QString kStyleSheet = QStringLiteral(
    "body { font-family : sans-serif; font-size : 10pt; color : #000000; }\r\n"
    "h1 { font-size : 16pt; margin-top : 0.2em; margin-bottom : 0.5em; }\r\n"
    "h2, h3 { font-size : 12pt; margin-top : 1em; margin-bottom : 0.4em; }\r\n"
    "p { margin-top : 0.6em; margin-bottom : 0.6em; }\r\n"
    "table.Data { border : 1px solid #808080; border-collapse : collapse; font-size : 10pt; "
    "margin-top : 0.3em; margin-bottom : 1em; }\r\n"
    "th.Data, td.Data { border : 1px solid #a0a0a0; vertical-align : top; }\r\n"
    "th.Data { background-color : #e0e0e0; font-weight : bold; text-align : left; }\r\n"
    "td[align=right] { text-align : right; }\r\n"
    "img.Logo { max-height : 80px; max-width : 320px; }\r\n"
    "@media print {\r\n"
    "  tr, td, th, img { page-break-inside : avoid; break-inside : avoid; }\r\n"
    "  h1, h2, h3 { page-break-after : avoid; break-after : avoid; }\r\n"
    "}\r\n");

// The logo is read whole into the page: anything larger is no logo.
constexpr qint64 kMostLogoBytes = 1 << 20;

// A field's lines: a typed address has line breaks of its own. Blank lines
// at the end say nothing and go.
QStringList linesOf(const QString& text) {
    static const QRegularExpression lineBreak(QStringLiteral("\\r\\n|\\r|\\n"));
    QStringList lines = text.split(lineBreak);
    while (lines.size() > 1 && lines.last().trimmed().isEmpty())
        lines.removeLast();
    return lines;
}

}  // namespace

void ReportPage::frame(const QString& title, const QString& charset) {
    m_doc.addRaw(htmlDocType());
    m_doc.addElement(QStringLiteral("html"));
    m_doc.addAttribute(QStringLiteral("xmlns"), QStringLiteral("http://www.w3.org/1999/xhtml"));
    m_doc.addChildElement(QStringLiteral("head"));
    m_doc.intoElement();
    // First in the head, so that the browser knows how to read the rest.
    m_doc.addChildElement(QStringLiteral("meta"));
    m_doc.addChildAttribute(QStringLiteral("http-equiv"), QStringLiteral("Content-Type"));
    m_doc.addChildAttribute(QStringLiteral("content"),
                            QStringLiteral("text/html; charset=") + charset);
    m_doc.addChildElement(QStringLiteral("title"), title);
    m_doc.addChildElement(QStringLiteral("meta"));
    m_doc.addChildAttribute(QStringLiteral("name"), QStringLiteral("Generator"));
    m_doc.addChildAttribute(QStringLiteral("content"), QStringLiteral("Tempolatch"));
    m_doc.addChildElement(QStringLiteral("style"), kStyleSheet);
    m_doc.addChildAttribute(QStringLiteral("type"), QStringLiteral("text/css"));
    m_doc.outOfElement();
    m_doc.addChildElement(QStringLiteral("body"));
    m_doc.intoElement();
}

bool ownerBlockShown(const Settings& settings) {
    return settings.hasFlag(OwnerBlockOnInvoices) && !settings.owner.isEmpty();
}

QString issueDateText() {
    return QStringLiteral("Date: ") + platform::Locale::shortDate(platform::Clock::now());
}

QString filledText(int resource, const QString& value) {
    QString text = resourceString(resource);
    const qsizetype at = text.indexOf(QLatin1String("%s"));
    return at < 0 ? text : text.replace(at, 2, value);
}

QString dateSelectionText(const ReportLayout& layout, const EntryFilter& criteria) {
    if (!criteria.hasDateRange())
        return QString();
    using platform::Locale;
    switch (layout.dateSelection()) {
        case ReportLayout::Range:
            return filledText(kFromTo, Locale::shortDate(criteria.startDate)) +
                   Locale::shortDate(criteria.endDate);
        case ReportLayout::StartDateOnly:
            return filledText(kDateOnly, Locale::shortDate(criteria.startDate));
        default:
            return QString();
    }
}

void ReportPage::heading(const ReportLayout& layout, const EntryFilter& criteria) {
    m_doc.addChildElement(QStringLiteral("h1"), layout.title());
    m_doc.addChildElement(QStringLiteral("h2"), dateSelectionText(layout, criteria));
}

void ReportPage::addChild(const QString& name, const QString& text) {
    m_doc.addChildElement(name, text);
}

void ReportPage::beginTable(const QStringList& captions) {
    m_doc.addChildElement(QStringLiteral("table"));
    m_doc.addChildAttribute(QStringLiteral("border"), QStringLiteral("0"));
    m_doc.addChildAttribute(kClass, kData);
    m_doc.addChildAttribute(QStringLiteral("cellpadding"), QStringLiteral("2"));
    m_doc.intoElement();
    m_doc.addChildElement(QStringLiteral("tr"));
    m_doc.intoElement();
    for (const QString& caption : captions) {
        m_doc.addChildElement(QStringLiteral("th"), caption);
        m_doc.addChildAttribute(kClass, kData);
    }
    m_doc.outOfElement();
}

void ReportPage::addRow(const QList<Cell>& cells) {
    m_doc.addChildElement(QStringLiteral("tr"));
    m_doc.intoElement();
    for (const Cell& cell : cells) {
        // A text of several lines (a note) keeps them: a browser would run
        // them into one. Most cells have none, and are not split.
        const bool lines = (cell.text.contains(u'\n') || cell.text.contains(u'\r')) &&
                           linesOf(cell.text).size() > 1;
        m_doc.addChildElement(QStringLiteral("td"), lines ? QString() : cell.text);
        m_doc.addChildAttribute(kClass, kData);
        if (cell.right)
            m_doc.addChildAttribute(kAlign, kRight);
        if (lines) {
            m_doc.intoElement();
            addLines(cell.text);
            m_doc.outOfElement();
        }
    }
    m_doc.outOfElement();
}

void ReportPage::addTotalRows(const QList<int>& columns, int amountField,
                              const MoneyTotals& amounts,
                              const std::function<QString(int field)>& totalOf) {
    const QStringList currencies =
        columns.contains(amountField) ? amounts.shownCurrencies() : QStringList{QString()};
    const QString td = QStringLiteral("td");
    for (qsizetype row = 0; row < currencies.size(); ++row) {
        const auto totalIn = [&](int field) {
            if (field == amountField)
                return amounts.text(currencies[row]);
            return row == 0 ? totalOf(field) : QString();
        };
        m_doc.addChildElement(QStringLiteral("tr"));
        m_doc.intoElement();
        for (qsizetype i = 0; i < qMax<qsizetype>(columns.size(), 1); ++i) {
            const QString total = i < columns.size() ? totalIn(columns[i]) : QString();
            if (i == 0) {
                // The first cell names the row; a total of its column
                // follows the name rather than taking its place.
                const QString name = resourceString(kTotal);
                m_doc.addChildElement(td, total.isNull() ? name : name + u' ' + total);
                if (!total.isNull())
                    m_doc.addChildAttribute(kAlign, kRight);
            } else if (!total.isNull()) {
                m_doc.addChildElement(td, total);
                m_doc.addChildAttribute(kAlign, kRight);
            } else {
                m_doc.addChildElement(td, QStringLiteral(" "));
            }
            m_doc.addChildAttribute(kClass, kData);
        }
        m_doc.outOfElement();
    }
}

void ReportPage::addLines(const QString& text) {
    const QStringList lines = linesOf(text);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i > 0)
            m_doc.addChildElement(QStringLiteral("br"));
        m_doc.addChildElement(QStringLiteral("span"), lines[i]);
    }
}

void ReportPage::addOwnerBlock(const OwnerInfo& owner, const QString& besideAddress) {
    const QString td = QStringLiteral("td");
    const QString valign = QStringLiteral("valign");
    const QString top = QStringLiteral("top");
    m_doc.addChildElement(QStringLiteral("table"));
    m_doc.addChildAttribute(QStringLiteral("cellspacing"), QStringLiteral("0"));
    m_doc.addChildAttribute(QStringLiteral("cellpadding"), QStringLiteral("0"));
    m_doc.addChildAttribute(QStringLiteral("border"), QStringLiteral("0"));
    m_doc.addChildAttribute(QStringLiteral("width"), QStringLiteral("100%"));
    m_doc.intoElement();
    const auto row = [&] {
        m_doc.addChildElement(QStringLiteral("tr"));
        m_doc.intoElement();
    };
    const auto twoSpans = [&](const QString& a, const QString& b) {
        m_doc.addChildElement(td);
        m_doc.addChildAttribute(valign, top);
        m_doc.intoElement();
        addLines(a);
        m_doc.addChildElement(QStringLiteral("br"));
        addLines(b);
        m_doc.outOfElement();
    };
    row();
    twoSpans(owner.name, owner.company);
    m_doc.addChildElement(td, issueDateText());
    m_doc.addChildAttribute(valign, top);
    m_doc.outOfElement();
    row();
    // An address of one line is the cell's text; one of several keeps its
    // lines, and the invoice number stands beside its first.
    if (linesOf(owner.address).size() == 1) {
        m_doc.addChildElement(td, owner.address);
        m_doc.addChildElement(td, besideAddress);
    } else {
        m_doc.addChildElement(td);
        m_doc.addChildAttribute(valign, top);
        m_doc.intoElement();
        addLines(owner.address);
        m_doc.outOfElement();
        m_doc.addChildElement(td, besideAddress);
        m_doc.addChildAttribute(valign, top);
    }
    m_doc.outOfElement();
    row();
    twoSpans(owner.line1, owner.line2);
    m_doc.addChildElement(td);
    m_doc.outOfElement();
    m_doc.outOfElement();
}

namespace {

// The image file as a data: URI; empty when it is no logo.
QString logoDataUri(const QString& path) {
    if (path.isEmpty())
        return QString();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMostLogoBytes)
        return QString();
    const QByteArray bytes = file.readAll();
    // By its bytes, whatever its name says.
    const QString type = QMimeDatabase().mimeTypeForData(bytes).name();
    static const QStringList images = {QStringLiteral("image/png"), QStringLiteral("image/jpeg"),
                                       QStringLiteral("image/gif"),
                                       QStringLiteral("image/svg+xml")};
    if (bytes.isEmpty() || !images.contains(type))
        return QString();
    return QStringLiteral("data:") + type + QStringLiteral(";base64,") +
           QString::fromLatin1(bytes.toBase64());
}

}  // namespace

void ReportPage::addLogo(const QString& path) {
    const QString source = logoDataUri(path);
    if (source.isEmpty())
        return;
    m_doc.addChildElement(QStringLiteral("p"));
    m_doc.intoElement();
    m_doc.addChildElement(QStringLiteral("img"));
    m_doc.addChildAttribute(kClass, QStringLiteral("Logo"));
    m_doc.addChildAttribute(QStringLiteral("src"), source);
    m_doc.addChildAttribute(QStringLiteral("alt"), QStringLiteral("Logo"));
    // The PDF writer knows no max-height: the height keeps it small there.
    m_doc.addChildAttribute(QStringLiteral("height"), QStringLiteral("64"));
    m_doc.outOfElement();
}

void ReportPage::endTable() {
    m_doc.outOfElement();
}

void ReportPage::addAmountTable(const QList<std::pair<QString, QString>>& rows) {
    m_doc.addChildElement(QStringLiteral("table"));
    m_doc.addChildAttribute(QStringLiteral("border"), QStringLiteral("0"));
    m_doc.addChildAttribute(kClass, kData);
    m_doc.addChildAttribute(QStringLiteral("cellpadding"), QStringLiteral("2"));
    m_doc.intoElement();
    for (const auto& [label, amount] : rows)
        addRow({{label, false}, {amount, true}});
    m_doc.outOfElement();
}

void ReportPage::beginParagraph() {
    m_doc.addChildElement(QStringLiteral("p"));
    m_doc.intoElement();
}

void ReportPage::addSpan(const QString& text, bool lineBreak) {
    m_doc.addChildElement(QStringLiteral("span"), text);
    if (lineBreak)
        m_doc.addChildElement(QStringLiteral("br"));
}

void ReportPage::addReportDate() {
    m_doc.addChildElement(QStringLiteral("span"),
                          resourceString(kReportDate) + QStringLiteral(": ") +
                              platform::Locale::shortDate(platform::Clock::now()));
    m_doc.addChildAttribute(QStringLiteral("style"), QStringLiteral("font-size : xx-small;"));
}

void ReportPage::endParagraph() {
    m_doc.outOfElement();
}

QString ReportPage::text() {
    m_doc.finish();
    return m_doc.text();
}

}  // namespace tempolatch
