#include "reports/PageStream.h"

#include "reports/XmlText.h"

namespace tempolatch {

namespace {

const QLatin1String kEol("\r\n");
// Pieces of about 64 KB go to the sink.
constexpr qsizetype kPiece = 32 * 1024;

bool isVoidElement(QStringView name) {
    return name == QLatin1String("br") || name == QLatin1String("hr") ||
           name == QLatin1String("img") || name == QLatin1String("meta");
}

}  // namespace

PageStream::PageStream(Sink sink) : m_sink(std::move(sink)) {}

bool PageStream::addRaw(QStringView text) {
    if (m_started)
        return false;
    m_text += text;
    return true;
}

void PageStream::hold(const QString& name, const QString& data, bool isMain) {
    m_pending.name = name;
    m_pending.attributes.clear();
    m_pending.data.clear();
    xmltext::appendEscapedText(m_pending.data, data);
    m_pending.isMain = isMain;
    m_started = true;
}

bool PageStream::addElement(const QString& name, const QString& data) {
    if (hasPending() && m_pending.isMain) {
        if (m_open.empty())
            return false;  // one root element
        writePending();
    } else if (!m_open.empty()) {
        if (m_open.size() == 1)
            return false;
        if (hasPending())
            writePending();
        closeTop();
    } else if (m_started) {
        return false;
    }
    hold(name, data, true);
    return true;
}

bool PageStream::addChildElement(const QString& name, const QString& data) {
    if (hasPending() && m_pending.isMain) {
        openPending();
    } else if (m_open.empty()) {
        return false;
    } else if (hasPending()) {
        writePending();
    }
    hold(name, data, false);
    return true;
}

bool PageStream::appendAttribute(bool main, const QString& name, const QString& value) {
    if (!hasPending() || m_pending.isMain != main)
        return false;
    QString& attributes = m_pending.attributes;
    attributes += QLatin1Char(' ');
    attributes += name;
    attributes += QLatin1String("=\"");
    xmltext::appendEscapedAttribute(attributes, value);
    attributes += QLatin1Char('"');
    return true;
}

bool PageStream::addAttribute(const QString& name, const QString& value) {
    return appendAttribute(true, name, value);
}

bool PageStream::addChildAttribute(const QString& name, const QString& value) {
    return appendAttribute(false, name, value);
}

bool PageStream::intoElement() {
    if (!hasPending() || m_pending.isMain)
        return false;
    m_pending.isMain = true;
    return true;
}

bool PageStream::outOfElement() {
    if (hasPending() && m_pending.isMain) {
        if (m_open.empty())
            return false;
        writePending();
        return true;
    }
    if (m_open.size() < 2)
        return false;
    if (hasPending())
        writePending();
    closeTop();
    return true;
}

void PageStream::writePending() {
    m_text += QLatin1Char('<');
    m_text += m_pending.name;
    m_text += m_pending.attributes;
    if (!m_pending.data.isEmpty()) {
        m_text += QLatin1Char('>');
        m_text += m_pending.data;
        m_text += QLatin1String("</");
        m_text += m_pending.name;
        m_text += QLatin1Char('>');
    } else if (isVoidElement(m_pending.name)) {
        m_text += QLatin1String(" />");
    } else {
        m_text += QLatin1String("></");
        m_text += m_pending.name;
        m_text += QLatin1Char('>');
    }
    m_text += kEol;
    m_pending.name.clear();
    flush(false);
}

void PageStream::openPending() {
    m_text += QLatin1Char('<');
    m_text += m_pending.name;
    m_text += m_pending.attributes;
    m_text += QLatin1Char('>');
    if (m_pending.data.isEmpty())
        m_text += kEol;
    else
        m_text += m_pending.data;
    m_open.push_back(std::move(m_pending.name));
    m_pending.name.clear();
}

void PageStream::closeTop() {
    m_text += QLatin1String("</");
    m_text += m_open.back();
    m_text += QLatin1Char('>');
    m_text += kEol;
    m_open.pop_back();
    flush(false);
}

void PageStream::flush(bool all) {
    if (!m_sink || (!all && m_text.size() < kPiece))
        return;
    if (!m_failed && !m_sink(m_text))
        m_failed = true;
    m_text.truncate(0);  // keeps its room for the next piece
}

bool PageStream::finish() {
    if (hasPending())
        writePending();
    while (!m_open.empty())
        closeTop();
    flush(true);
    return !m_failed;
}

QString collectedText(const std::function<bool(const PageStream::Sink& sink)>& write) {
    QString text;
    write([&](QStringView piece) {
        text += piece;
        return true;
    });
    return text;
}

}  // namespace tempolatch
