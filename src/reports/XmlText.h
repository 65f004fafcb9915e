#pragma once

#include <QString>

namespace tempolatch::xmltext {

// The escaping shared by the XML export and the report pages. Characters
// that XML 1.0 cannot carry at all (control characters other than tab, CR
// and LF, lone surrogates, U+FFFE and U+FFFF) are dropped, since no escape
// can represent them and one of them makes the whole file unreadable.

// "<", "&" and ">" as entities.
void appendEscapedText(QString& out, QStringView value);
// The same, and the double quote and the apostrophe too.
void appendEscapedAttribute(QString& out, QStringView value);
// The text of a CDATA section as its body: "]]>" would end the section, so
// the section is closed after "]]" and a new one opened for ">".
void appendCdataBody(QString& out, QStringView value);

// True for a UTF-16 unit that XML 1.0 allows in a document where it stands
// (a surrogate only as part of a pair).
bool isXmlChar(QStringView text, qsizetype index);

}  // namespace tempolatch::xmltext
