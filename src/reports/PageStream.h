#pragma once

#include <QString>
#include <QStringView>
#include <functional>
#include <vector>

namespace tempolatch {

// A report page's element tree written out as it is built, so that a page
// of a hundred thousand rows never stands whole in memory. It is built with
// appending calls (an element after the main one, a child of it,
// attributes, into and out of an element) and reads as HTML: each element
// on a line of its own (CR LF), an element with data "<p>data</p>", an
// empty void element (br, hr, img, meta) "<br />", any other empty element
// "<p></p>", so that a browser never takes an empty heading for an open one.
//
// Only the newest element is held: it may still get attributes and
// children. An element is written when the next one is added after it or
// when it is left, and takes nothing more after that; a call that would
// change what is written is refused (false).
//
// The text goes to the sink in pieces of whole lines (never a split
// character) once enough of it is there, and the rest at finish(). Without
// a sink it is kept, and text() reads it.
class PageStream {
public:
    // False when the text could not be taken: nothing more is given to it,
    // and finish() fails.
    using Sink = std::function<bool(QStringView text)>;

    explicit PageStream(Sink sink = {});

    // Text as it stands (a document type declaration), before any element.
    bool addRaw(QStringView text);

    // After the main element (writing it), or the root while nothing is.
    bool addElement(const QString& name, const QString& data = QString());
    // Last child of the main element, whose start tag is then written.
    bool addChildElement(const QString& name, const QString& data = QString());
    // On the main or child element while it is held.
    bool addAttribute(const QString& name, const QString& value);
    bool addChildAttribute(const QString& name, const QString& value);
    // The held child becomes the main element.
    bool intoElement();
    // The main element is written (closed) and its parent becomes main.
    bool outOfElement();

    // Writes the held element and closes every open one; false when the
    // sink refused any of the text.
    bool finish();
    bool failed() const { return m_failed; }

    // The text kept without a sink.
    const QString& text() const { return m_text; }

private:
    struct Pending {
        QString name;
        QString attributes;  // escaped, each ` name="value"`
        QString data;        // escaped
        bool isMain = false;
    };

    bool hasPending() const { return !m_pending.name.isEmpty(); }
    void hold(const QString& name, const QString& data, bool isMain);
    bool appendAttribute(bool main, const QString& name, const QString& value);
    // The held element as a whole element, or as an open start tag.
    void writePending();
    void openPending();
    void closeTop();
    void flush(bool all);

    Sink m_sink;
    QString m_text;
    std::vector<QString> m_open;  // names of the started, unfinished elements
    Pending m_pending;
    bool m_started = false;
    bool m_failed = false;
};

// The text that `write` gives its sink, all of it.
QString collectedText(const std::function<bool(const PageStream::Sink& sink)>& write);

}  // namespace tempolatch
