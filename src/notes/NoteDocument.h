#pragma once

#include <QTextFormat>

#include "notes/NoteContent.h"

class QTextCursor;
class QTextDocument;

namespace tempolatch {

// Moves note text in and out of a QTextDocument, keeping only what a note
// holds: paragraphs, bold, italic, underline and lists.
class NoteDocument {
public:
    static NoteText toNoteText(const QTextDocument* document);
    // Inserts text at the cursor. With formatFirstBlock the first paragraph
    // also sets the list state of the block it lands in (a whole new
    // content); without it (a paste) that block keeps its own.
    static void insert(QTextCursor& cursor, const NoteText& text, bool formatFirstBlock);

    static NoteList listKind(QTextListFormat::Style style);
    static QTextListFormat::Style listStyle(NoteList kind, int level);
    // Takes the cursor's block out of its list, if it is in one.
    static void leaveList(QTextCursor& cursor);

    static QTextCharFormat charFormat(quint8 format);
    static quint8 noteFormat(const QTextCharFormat& format);
};

}  // namespace tempolatch
