#pragma once

#include <QByteArray>

#include "notes/NoteContent.h"

namespace tempolatch {

// Writes a note's text as a small RTF document that word processors open:
// one font, paragraphs, bold, italic, underline, and lists in the classic
// \pn form with their rendered markers, which every reader understands.
// Text outside the ANSI code page is written as \uN with a '?' fallback.
class RtfWriter {
public:
    static QByteArray write(const NoteText& text);
};

}  // namespace tempolatch
