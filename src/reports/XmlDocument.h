#pragma once

#include <QString>
#include <vector>

namespace tempolatch {

// An element tree built by adding elements and attributes, read as one
// formatted text: each element on a line of its own (CR LF), no
// indentation; an element with data "<p>data</p>", one without "<p/>",
// and a parent "<p>", its children, "</p>".
//
// Navigation works on two positions: the main element and its current
// child. Elements are numbered from 1 in the order they were added; 0
// means none, and stands for the document level as a parent.
//
// The elements are kept as a table of nodes, and the text is made when it
// is asked for, so that adding an element costs the same in a page of ten
// thousand rows as in an empty one.
class XmlDocument {
public:
    // Where an element stands in documentText().
    struct Span {
        qsizetype start = 0;        // its "<"
        qsizetype startTagEnd = 0;  // just after the start tag (or the empty tag)
        qsizetype endTagStart = 0;  // its "</", or startTagEnd for an empty element
        qsizetype end = 0;          // just after its line break
    };

    XmlDocument();

    void reset();
    // Both positions back to the document level, for a new walk.
    void resetPositions() {
        m_main = 0;
        m_child = 0;
    }

    // A new element after the main element, at its level; it becomes the
    // main element and the child position is cleared. At the top level only
    // while the document is empty, so that there is one root element.
    bool addElement(const QString& name, const QString& data = QString());
    // A new child of the main element, after the child position (or after
    // the last child); it becomes the child position.
    bool addChildElement(const QString& name, const QString& data = QString());
    // An attribute at the end of the main (child) element's start tag.
    bool addAttribute(const QString& name, const QString& value);
    bool addChildAttribute(const QString& name, const QString& value);

    // The child position (or the first child) becomes the main element.
    bool intoElement();
    // The main element's parent becomes the main element, and the former
    // main element its child position. False at the top level.
    bool outOfElement();

    // The next sibling of the main element (child of the main element)
    // with this tag name, or any name when empty, becomes the position.
    bool findElement(const QString& name = QString());
    bool findChildElement(const QString& name = QString());

    QString documentText() const;

    int mainPosition() const { return m_main; }
    int childPosition() const { return m_child; }
    int depth() const;
    int elementCount() const { return int(m_nodes.size()) - 1; }
    QString tagName(int element) const;
    int parentOf(int element) const;
    Span span(int element) const;

private:
    struct Node {
        QString name;
        QString attributes;  // escaped, each ` name="value"`
        QString data;        // escaped
        int parent = 0;
        int firstChild = 0;
        int lastChild = 0;
        int nextSibling = 0;
    };

    int insertAfter(int parent, int after, const QString& name, const QString& data);
    bool appendAttribute(int element, const QString& name, const QString& value);
    void write(int element, QString& out) const;
    void refresh() const;

    std::vector<Node> m_nodes;  // [0] is the document level
    int m_main = 0;
    int m_child = 0;
    qsizetype m_textSize = 0;  // a running estimate, to reserve the text once

    mutable bool m_dirty = true;
    mutable QString m_text;
    mutable std::vector<Span> m_spans;
};

}  // namespace tempolatch
