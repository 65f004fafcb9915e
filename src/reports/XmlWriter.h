#pragma once

#include <QString>
#include <optional>

namespace tempolatch {

// Appends XML text to a growing string: the pieces the XML export is made
// of. Every value is escaped (see XmlText.h); every line ends with CR LF.
class XmlWriter {
public:
    const QString& text() const { return m_text; }
    QString& text() { return m_text; }
    void clear() { m_text.clear(); }

    // "<?xml version="1.0" encoding="NAME" ?>", without the encoding
    // attribute when the name is empty.
    void declaration(const QString& encoding);
    // "<NAME"
    void openStartTag(const QString& name);
    // ` NAME="VALUE"`
    void attribute(const QString& name, const QString& value);
    // ">" and a line break
    void closeStartTag();
    // "<NAME>VALUE</NAME>"; "<NAME />" without a value. An empty value
    // gives "<NAME></NAME>".
    void element(const QString& name, const std::optional<QString>& value);
    // "<NAME>" and a line break
    void openElement(const QString& name);
    // "</NAME>" and a line break
    void endTag(const QString& name);
    // The escaped value alone.
    void textValue(const QString& value);
    // A CDATA section on lines of its own, the text as it is.
    void cdata(const QString& text);

    static QString escape(const QString& value);

private:
    QString m_text;
};

}  // namespace tempolatch
