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
    // With clips, each voice clip of the document becomes a clip mark in
    // the text and goes to clips, in order; without, clips are left out.
    static NoteText toNoteText(const QTextDocument* document, QList<NoteClip>* clips = nullptr);
    // The same for the characters from `from` to `to` (not included): a
    // selection. A paragraph cut by either end keeps its list state.
    static NoteText toNoteText(const QTextDocument* document, int from, int to,
                               QList<NoteClip>* clips = nullptr);
    // Inserts text at the cursor. With formatFirstBlock the first paragraph
    // also sets the list state of the block it lands in (a whole new
    // content); without it (a paste) that block keeps its own. Clip marks
    // become the clips, in order; a mark without a clip is left out, and a
    // clip without a mark follows as a paragraph of its own.
    static void insert(QTextCursor& cursor, const NoteText& text, bool formatFirstBlock,
                       const QList<NoteClip>& clips = {});

    static NoteList listKind(QTextListFormat::Style style);
    static QTextListFormat::Style listStyle(NoteList kind, int level);
    // Takes the cursor's block out of its list, if it is in one.
    static void leaveList(QTextCursor& cursor);

    static QTextCharFormat charFormat(quint8 format);
    static quint8 noteFormat(const QTextCharFormat& format);
};

}  // namespace tempolatch
