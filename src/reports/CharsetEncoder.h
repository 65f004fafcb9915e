#pragma once

#include <QByteArray>
#include <QString>

namespace tempolatch {

// Markup text (XML or HTML) to the bytes of a named character set. A
// character the set lacks becomes a numeric character reference ("&#8364;"),
// so that nothing is lost; inside a CDATA section, where references mean
// nothing, the section is closed around the reference.
//
// The text must be markup we made: "<![CDATA[" and "]]>" appear in it only
// as the delimiters of CDATA sections, and a section never spans two calls.
class CharsetEncoder {
public:
    // An iconv name ("UTF-8", "ISO-8859-1", "Big5", "Shift_JIS", ...).
    explicit CharsetEncoder(const QByteArray& charset);
    ~CharsetEncoder();
    CharsetEncoder(const CharsetEncoder&) = delete;
    CharsetEncoder& operator=(const CharsetEncoder&) = delete;

    // False when the system knows no such character set.
    bool isValid() const;
    QByteArray charset() const { return m_charset; }

    QByteArray encode(const QString& markup);

private:
    QByteArray m_charset;
    bool m_utf8 = false;
    void* m_iconv = nullptr;  // iconv_t
};

}  // namespace tempolatch
