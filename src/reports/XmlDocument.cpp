#include "reports/XmlDocument.h"

#include "reports/XmlText.h"

namespace tempolatch {

namespace {
const QLatin1String kEol("\r\n");
}

XmlDocument::XmlDocument() {
    reset();
}

void XmlDocument::reset() {
    m_nodes.assign(1, Node());
    m_main = 0;
    m_child = 0;
    m_textSize = 0;
    m_dirty = true;
}

int XmlDocument::insertAfter(int parent, int after, const QString& name, const QString& data) {
    Node node;
    node.name = name;
    xmltext::appendEscapedText(node.data, data);
    node.parent = parent;
    m_textSize += 2 * name.size() + node.data.size() + 8;
    const int id = int(m_nodes.size());
    m_nodes.push_back(std::move(node));
    Node& p = m_nodes[size_t(parent)];
    if (after == 0) {
        // First in line: before the parent's first child.
        m_nodes[size_t(id)].nextSibling = p.firstChild;
        p.firstChild = id;
        if (p.lastChild == 0)
            p.lastChild = id;
    } else {
        Node& previous = m_nodes[size_t(after)];
        m_nodes[size_t(id)].nextSibling = previous.nextSibling;
        previous.nextSibling = id;
        if (p.lastChild == after)
            p.lastChild = id;
    }
    m_dirty = true;
    return id;
}

bool XmlDocument::addElement(const QString& name, const QString& data) {
    if (m_main == 0) {
        if (m_nodes[0].firstChild != 0)
            return false;
        m_main = insertAfter(0, 0, name, data);
    } else {
        const int parent = m_nodes[size_t(m_main)].parent;
        if (parent == 0)
            return false;
        m_main = insertAfter(parent, m_main, name, data);
    }
    m_child = 0;
    return true;
}

bool XmlDocument::addChildElement(const QString& name, const QString& data) {
    if (m_main == 0)
        return false;
    const int after = m_child != 0 ? m_child : m_nodes[size_t(m_main)].lastChild;
    m_child = insertAfter(m_main, after, name, data);
    return true;
}

bool XmlDocument::appendAttribute(int element, const QString& name, const QString& value) {
    if (element == 0)
        return false;
    QString& attributes = m_nodes[size_t(element)].attributes;
    const qsizetype before = attributes.size();
    attributes += QLatin1Char(' ');
    attributes += name;
    attributes += QLatin1String("=\"");
    xmltext::appendEscapedAttribute(attributes, value);
    attributes += QLatin1Char('"');
    m_textSize += attributes.size() - before;
    m_dirty = true;
    return true;
}

bool XmlDocument::addAttribute(const QString& name, const QString& value) {
    return appendAttribute(m_main, name, value);
}

bool XmlDocument::addChildAttribute(const QString& name, const QString& value) {
    return appendAttribute(m_child, name, value);
}

bool XmlDocument::intoElement() {
    const int target = m_child != 0 ? m_child : m_nodes[size_t(m_main)].firstChild;
    if (target == 0)
        return false;
    m_main = target;
    m_child = 0;
    return true;
}

bool XmlDocument::outOfElement() {
    if (m_main == 0)
        return false;
    const int parent = m_nodes[size_t(m_main)].parent;
    if (parent == 0)
        return false;
    m_child = m_main;
    m_main = parent;
    return true;
}

bool XmlDocument::findElement(const QString& name) {
    int candidate = m_main != 0 ? m_nodes[size_t(m_main)].nextSibling : m_nodes[0].firstChild;
    for (; candidate != 0; candidate = m_nodes[size_t(candidate)].nextSibling) {
        if (name.isEmpty() || m_nodes[size_t(candidate)].name == name) {
            m_main = candidate;
            m_child = 0;
            return true;
        }
    }
    return false;
}

bool XmlDocument::findChildElement(const QString& name) {
    if (m_main == 0)
        return false;
    int candidate =
        m_child != 0 ? m_nodes[size_t(m_child)].nextSibling : m_nodes[size_t(m_main)].firstChild;
    for (; candidate != 0; candidate = m_nodes[size_t(candidate)].nextSibling) {
        if (name.isEmpty() || m_nodes[size_t(candidate)].name == name) {
            m_child = candidate;
            return true;
        }
    }
    return false;
}

int XmlDocument::depth() const {
    int depth = 0;
    for (int e = m_main; e != 0; e = m_nodes[size_t(e)].parent)
        ++depth;
    return depth;
}

QString XmlDocument::tagName(int element) const {
    if (element <= 0 || element >= int(m_nodes.size()))
        return QString();
    return m_nodes[size_t(element)].name;
}

int XmlDocument::parentOf(int element) const {
    if (element <= 0 || element >= int(m_nodes.size()))
        return 0;
    return m_nodes[size_t(element)].parent;
}

void XmlDocument::write(int element, QString& out) const {
    const Node& node = m_nodes[size_t(element)];
    Span& span = m_spans[size_t(element)];
    span.start = out.size();
    out += QLatin1Char('<');
    out += node.name;
    out += node.attributes;
    if (node.data.isEmpty() && node.firstChild == 0) {
        out += QLatin1String("/>");
        span.startTagEnd = span.endTagStart = out.size();
        out += kEol;
        span.end = out.size();
        return;
    }
    out += QLatin1Char('>');
    span.startTagEnd = out.size();
    if (node.data.isEmpty())
        out += kEol;
    else
        out += node.data;
    for (int child = node.firstChild; child != 0; child = m_nodes[size_t(child)].nextSibling)
        write(child, out);
    span.endTagStart = out.size();
    out += QLatin1String("</");
    out += node.name;
    out += QLatin1Char('>');
    out += kEol;
    span.end = out.size();
}

void XmlDocument::refresh() const {
    if (!m_dirty)
        return;
    m_text.clear();
    m_text.reserve(m_textSize + 16);
    m_spans.assign(m_nodes.size(), Span());
    for (int top = m_nodes[0].firstChild; top != 0; top = m_nodes[size_t(top)].nextSibling)
        write(top, m_text);
    m_dirty = false;
}

QString XmlDocument::documentText() const {
    refresh();
    return m_text;
}

XmlDocument::Span XmlDocument::span(int element) const {
    if (element <= 0 || element >= int(m_nodes.size()))
        return Span();
    refresh();
    return m_spans[size_t(element)];
}

}  // namespace tempolatch
