#pragma once

#include <QList>
#include <QPointF>
#include <QString>
#include <QtGlobal>

namespace tempolatch {

// What a note holds, independent of any widget: formatted paragraphs and
// pen strokes. The note bytes (NoteData), the rich-text files (RtfReader,
// RtfWriter) and the ink control all meet in these types.

enum NoteFormat : quint8 {
    NoteBold = 0x01,
    NoteItalic = 0x02,
    NoteUnderline = 0x04,
};
constexpr quint8 NoteFormatMask = NoteBold | NoteItalic | NoteUnderline;

enum class NoteList : quint8 { None = 0, Bullet = 1, Numbered = 2 };

// Deepest list nesting a note keeps (0 = outermost level).
constexpr int NoteMaxListLevel = 8;

struct NoteRun {
    QString text;
    quint8 format = 0;

    friend bool operator==(const NoteRun&, const NoteRun&) = default;
};

struct NoteParagraph {
    QList<NoteRun> runs;
    NoteList list = NoteList::None;
    quint8 level = 0;  // list nesting; 0 when not in a list

    QString text() const;
    // Appends text, joining it to the last run when the format is the same.
    void append(const QString& text, quint8 format);

    friend bool operator==(const NoteParagraph&, const NoteParagraph&) = default;
};

struct NoteClip;

struct NoteText {
    QList<NoteParagraph> paragraphs;

    bool isEmpty() const;
    // Paragraphs joined by separator; list items get their marker ("• ",
    // "1. ") so that a list stays readable as plain text.
    QString toPlainText(const QString& separator = QStringLiteral("\r\n")) const;
    // One paragraph per line; CR LF, LF and CR all end a line.
    static NoteText fromPlainText(const QString& text);

    // Text that went out with clip markers (to a word processor): each
    // clip's marker, in order, becomes its clip mark again.
    NoteText withClipMarks(const QList<NoteClip>& clips) const;

    // Merges neighbouring runs of one format and drops empty runs, so that
    // equal texts compare equal however they were built.
    void normalize();

    friend bool operator==(const NoteText&, const NoteText&) = default;
};

struct NoteStroke {
    QList<QPointF> points;  // in unzoomed note coordinates (pixels at 100 %)
    qreal width = 2.0;
    quint32 color = 0xFF000000;  // ARGB

    friend bool operator==(const NoteStroke&, const NoteStroke&) = default;
};

// A voice recording: the packets of one codec stream, mono. It sits in the
// text where an object replacement character stands: the n-th such
// character of the text is the n-th clip.
struct NoteClip {
    static constexpr quint8 Opus = 1;

    quint8 codec = Opus;
    quint32 sampleRate = 16000;
    // Samples the decoder gives out before the recording begins.
    quint32 preSkip = 0;
    // Samples of the recording itself.
    quint32 duration = 0;
    QList<QByteArray> packets;
    // A clip whose bytes could not be read keeps them here, as they came,
    // and is shown but never played.
    bool damaged = false;
    QByteArray raw;

    qint64 durationMs() const;
    // "0:12"; a recording of under a second counts as one.
    QString lengthText() const;
    // How the clip reads in plain text: "[voice note 0:12]".
    QString marker() const;

    friend bool operator==(const NoteClip&, const NoteClip&) = default;
};

// Where a clip stands in the text.
constexpr char16_t NoteClipMark = 0xFFFC;

// A section of the note bytes that this version does not know, written
// back exactly as it was read.
struct NoteSection {
    quint8 tag = 0;
    QByteArray body;

    friend bool operator==(const NoteSection&, const NoteSection&) = default;
};

struct NoteContent {
    NoteText text;
    QList<NoteStroke> strokes;
    QList<NoteClip> clips = {};
    QList<NoteSection> otherSections = {};

    bool isEmpty() const {
        return text.isEmpty() && strokes.isEmpty() && clips.isEmpty() && otherSections.isEmpty();
    }
    // The text with each clip's mark replaced by its marker; a mark without
    // a clip is left out, a clip without a mark follows as a paragraph of
    // its own.
    NoteText textWithClipMarkers() const;
    // The note as text files, exports and reports show it.
    QString toPlainText(const QString& separator = QStringLiteral("\r\n")) const;

    friend bool operator==(const NoteContent&, const NoteContent&) = default;
};

}  // namespace tempolatch
