#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

#include "notes/NoteData.h"

namespace tempolatch {

// The formats a note streams in and out in, by their numbers.
enum class NoteStreamFormat {
    PlainText = 1,     // the ANSI code page, CR LF between paragraphs
    RichText = 2,      // RTF
    UnicodeText = 17,  // UTF-16 LE with a byte order mark
    NoteFile = 67586,  // the note bytes as they are
};

// Conversions between a note and the bytes of a stream. Text formats carry
// the text only, with a marker for each voice clip ("[voice note 0:12]");
// drawings and clips travel in the note file format alone.
class NoteStream {
public:
    static QByteArray write(const NoteData& note, NoteStreamFormat format);
    // nullopt (with a reason) when the bytes are not in that format.
    static std::optional<NoteData> read(const QByteArray& data, NoteStreamFormat format,
                                        QString* error = nullptr);

    // Plain text in one of the two text formats, for lists of names and
    // the like that are not notes.
    static QByteArray writeText(const QString& text, NoteStreamFormat format);
    // Text of a text stream. Whatever the format, a byte order mark decides
    // the encoding when there is one.
    static QString readText(const QByteArray& data, NoteStreamFormat format);
};

// The text of a note, paragraphs separated by CR LF, as exports and reports
// show it; empty for no note or a note that cannot be read.
QString noteToPlainText(const QByteArray& note);

}  // namespace tempolatch
