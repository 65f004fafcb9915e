#include "reports/XmlText.h"

namespace tempolatch::xmltext {

namespace {

enum class Quoting { Text, Attribute };

void appendEscaped(QString& out, QStringView value, Quoting quoting) {
    out.reserve(out.size() + value.size() + value.size() / 10 + 7);
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        switch (c.unicode()) {
            case '<':
                out += QLatin1String("&lt;");
                continue;
            case '>':
                out += QLatin1String("&gt;");
                continue;
            case '&':
                out += QLatin1String("&amp;");
                continue;
            case '"':
                if (quoting == Quoting::Attribute) {
                    out += QLatin1String("&quot;");
                    continue;
                }
                break;
            case '\'':
                if (quoting == Quoting::Attribute) {
                    out += QLatin1String("&apos;");
                    continue;
                }
                break;
            default:
                break;
        }
        if (isXmlChar(value, i))
            out += c;
    }
}

}  // namespace

bool isXmlChar(QStringView text, qsizetype index) {
    const char16_t u = text[index].unicode();
    if (u >= 0x20 && u < 0xD800)
        return true;
    if (u == 0x9 || u == 0xA || u == 0xD)
        return true;
    if (u < 0x20)
        return false;
    if (u >= 0xE000)
        return u != 0xFFFE && u != 0xFFFF;
    // A surrogate: only the two halves of one pair.
    if (QChar::isHighSurrogate(u))
        return index + 1 < text.size() && text[index + 1].isLowSurrogate();
    return index > 0 && text[index - 1].isHighSurrogate();
}

void appendEscapedText(QString& out, QStringView value) {
    appendEscaped(out, value, Quoting::Text);
}

void appendEscapedAttribute(QString& out, QStringView value) {
    appendEscaped(out, value, Quoting::Attribute);
}

void appendCdataBody(QString& out, QStringView value) {
    out.reserve(out.size() + value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] == QLatin1Char(']') && value.mid(i).startsWith(QLatin1String("]]>"))) {
            out += QLatin1String("]]]]><![CDATA[>");
            i += 2;
            continue;
        }
        if (isXmlChar(value, i))
            out += value[i];
    }
}

}  // namespace tempolatch::xmltext
