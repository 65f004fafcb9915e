#include "reports/PdfPageReader.h"

#include "reports/XmlText.h"

namespace tempolatch {

namespace {

bool isVoid(QStringView name) {
    return name == QLatin1String("br") || name == QLatin1String("hr") ||
           name == QLatin1String("meta") || name == QLatin1String("img") ||
           name == QLatin1String("link");
}

// Style sheets and scripts are read by the browser as they stand.
bool isRawText(QStringView name) {
    return name == QLatin1String("style") || name == QLatin1String("script");
}

bool isDataTable(const QXmlStreamReader& reader) {
    if (reader.name() != QLatin1String("table"))
        return false;
    const QStringView classes = reader.attributes().value(QLatin1String("class"));
    for (const QStringView c : classes.split(u' ', Qt::SkipEmptyParts))
        if (c == QLatin1String("Data"))
            return true;
    return false;
}

// White space runs as one space on each line, as a browser shows them.
QString collapsed(const QString& text) {
    QStringList lines = text.split(u'\n');
    for (QString& line : lines)
        line = line.simplified();
    return lines.join(u'\n');
}

}  // namespace

bool PdfPageReader::addData(QStringView text) {
    if (m_failed)
        return false;
    m_reader.addData(text.toString());
    return pump();
}

bool PdfPageReader::read(QIODevice& device) {
    m_reader.setDevice(&device);
    return pump() && finished();
}

bool PdfPageReader::pump() {
    while (!m_reader.atEnd()) {
        switch (m_reader.readNext()) {
            case QXmlStreamReader::StartElement:
                startElement();
                break;
            case QXmlStreamReader::EndElement:
                endElement();
                break;
            case QXmlStreamReader::Characters:
                characters();
                break;
            case QXmlStreamReader::Invalid:
                if (m_reader.error() == QXmlStreamReader::PrematureEndOfDocumentError)
                    return true;  // the rest is still to come
                m_failed = true;
                return false;
            default:
                break;
        }
    }
    return true;
}

void PdfPageReader::appendStartTag(QString& out) const {
    out += u'<';
    out += m_reader.name();
    for (const QXmlStreamAttribute& attribute : m_reader.attributes()) {
        out += u' ';
        out += attribute.name();
        out += QLatin1String("=\"");
        xmltext::appendEscapedAttribute(out, attribute.value());
        out += u'"';
    }
    out += isVoid(m_reader.name()) ? QLatin1String(" />") : QLatin1String(">");
}

void PdfPageReader::startElement() {
    const QString name = m_reader.name().toString();
    const bool inHead = m_path.size() >= 2 && m_path[1] == QLatin1String("head");
    const bool inBody = m_path.size() >= 2 && m_path[1] == QLatin1String("body");
    if (m_tableDepth > 0) {
        if (name == QLatin1String("table")) {
            ++m_tableDepth;
        } else if (name == QLatin1String("tr") && m_tableDepth == 1) {
            m_row = PdfRow();
            m_row.header = true;
        } else if (name == QLatin1String("th") || name == QLatin1String("td")) {
            m_row.header = m_row.header && name == QLatin1String("th");
            m_row.cells.append(PdfRow::Cell());
            m_cell = &m_row.cells.last();
            m_cell->right =
                m_reader.attributes().value(QLatin1String("align")) == QLatin1String("right");
        } else if (name == QLatin1String("br") && m_cell) {
            m_cell->text += u'\n';
        }
    } else if (inBody && m_path.size() == 2 && isDataTable(m_reader)) {
        endFragment();
        m_handler.tableStart();
        m_tableDepth = 1;
    } else if (inHead) {
        appendStartTag(m_head);
    } else if (inBody) {
        appendStartTag(m_fragment);
    }
    m_path.append(name);
}

void PdfPageReader::endElement() {
    const QString name = m_path.takeLast();
    if (m_tableDepth > 0) {
        if (name == QLatin1String("table")) {
            if (--m_tableDepth == 0)
                m_handler.tableEnd();
        } else if ((name == QLatin1String("th") || name == QLatin1String("td")) && m_cell) {
            m_cell->text = collapsed(m_cell->text);
            m_cell = nullptr;
        } else if (name == QLatin1String("tr") && m_tableDepth == 1) {
            m_row.header = m_row.header && !m_row.cells.isEmpty();
            m_handler.row(m_row);
        }
        return;
    }
    QString* out = nullptr;
    if (m_path.size() >= 2 && m_path[1] == QLatin1String("head"))
        out = &m_head;
    else if (m_path.size() >= 2 && m_path[1] == QLatin1String("body"))
        out = &m_fragment;
    if (out && !isVoid(name)) {
        *out += QLatin1String("</");
        *out += name;
        *out += u'>';
    }
    if (name == QLatin1String("body"))
        endFragment();
}

void PdfPageReader::characters() {
    const QStringView text = m_reader.text();
    if (m_tableDepth > 0) {
        if (m_cell)
            m_cell->text += text;
        return;
    }
    if (m_path.size() < 3)
        return;  // the line breaks between the body's elements
    QString& out = m_path[1] == QLatin1String("head") ? m_head : m_fragment;
    if (isRawText(m_path.last()))
        out += text;
    else
        xmltext::appendEscapedText(out, text);
}

void PdfPageReader::endFragment() {
    if (m_fragment.trimmed().isEmpty()) {
        m_fragment.clear();
        return;
    }
    m_handler.fragment(QLatin1String("<html><head>") + m_head + QLatin1String("</head><body>") +
                       m_fragment + QLatin1String("</body></html>"));
    m_fragment.clear();
}

}  // namespace tempolatch
