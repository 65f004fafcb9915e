#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

#include "notes/NoteContent.h"

namespace tempolatch {

// Reads the part of a rich-text (RTF) document that a note can hold:
// paragraphs, bold, italic, underline, bullet and numbered lists, tabs and
// line breaks, and text in any of the usual encodings (\uN with its
// fallback, \'hh in the document's or the font's code page). Everything
// else (font and colour tables, style sheets, pictures, fields' codes,
// headers, document information, unknown \* destinations) is skipped.
//
// Input is never trusted: nesting deeper than MaxDepth, a file that does
// not start like RTF or that is larger than MaxSize is refused, and a
// document cut short still gives what was read before the cut.
class RtfReader {
public:
    static constexpr int MaxDepth = 200;
    static constexpr qsizetype MaxSize = 64 * 1024 * 1024;

    static std::optional<NoteText> read(const QByteArray& rtf, QString* error = nullptr);

    // Qt's name for a Windows code page ("windows-1251" for 1251); an
    // unknown page gives the name of 1252.
    static QByteArray codecName(int codePage);
    // The code page of an RTF font character set (\fcharsetN); 0 when the
    // set means "the document's code page".
    static int codePageOfCharset(int charset);
};

}  // namespace tempolatch
