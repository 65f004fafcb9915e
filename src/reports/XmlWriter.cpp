#include "reports/XmlWriter.h"

#include "reports/XmlText.h"

namespace tempolatch {

namespace {
const QLatin1String kEol("\r\n");
}

void XmlWriter::declaration(const QString& encoding) {
    m_text += QLatin1String("<?xml version=\"1.0\" ");
    if (!encoding.isEmpty()) {
        m_text += QLatin1String("encoding=\"");
        xmltext::appendEscapedAttribute(m_text, encoding);
        m_text += QLatin1String("\" ");
    }
    m_text += QLatin1String("?>");
    m_text += kEol;
}

void XmlWriter::openStartTag(const QString& name) {
    m_text += QLatin1Char('<');
    m_text += name;
}

void XmlWriter::attribute(const QString& name, const QString& value) {
    m_text += QLatin1Char(' ');
    m_text += name;
    m_text += QLatin1String("=\"");
    xmltext::appendEscapedAttribute(m_text, value);
    m_text += QLatin1Char('"');
}

void XmlWriter::closeStartTag() {
    m_text += QLatin1Char('>');
    m_text += kEol;
}

void XmlWriter::element(const QString& name, const std::optional<QString>& value) {
    m_text += QLatin1Char('<');
    m_text += name;
    if (!value) {
        m_text += QLatin1String(" />");
        m_text += kEol;
        return;
    }
    m_text += QLatin1Char('>');
    xmltext::appendEscapedAttribute(m_text, *value);
    m_text += QLatin1String("</");
    m_text += name;
    m_text += QLatin1Char('>');
    m_text += kEol;
}

void XmlWriter::openElement(const QString& name) {
    m_text += QLatin1Char('<');
    m_text += name;
    m_text += QLatin1Char('>');
    m_text += kEol;
}

void XmlWriter::endTag(const QString& name) {
    m_text += QLatin1String("</");
    m_text += name;
    m_text += QLatin1Char('>');
    m_text += kEol;
}

void XmlWriter::textValue(const QString& value) {
    xmltext::appendEscapedAttribute(m_text, value);
}

void XmlWriter::cdata(const QString& text) {
    m_text += QLatin1String("<![CDATA[\r\n");
    xmltext::appendCdataBody(m_text, text);
    m_text += QLatin1String("\r\n]]>");
    m_text += kEol;
}

QString XmlWriter::escape(const QString& value) {
    QString out;
    xmltext::appendEscapedAttribute(out, value);
    return out;
}

}  // namespace tempolatch
