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

struct NoteText {
    QList<NoteParagraph> paragraphs;

    bool isEmpty() const;
    // Paragraphs joined by separator; list items get their marker ("• ",
    // "1. ") so that a list stays readable as plain text.
    QString toPlainText(const QString& separator = QStringLiteral("\r\n")) const;
    // One paragraph per line; CR LF, LF and CR all end a line.
    static NoteText fromPlainText(const QString& text);

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

struct NoteContent {
    NoteText text;
    QList<NoteStroke> strokes;

    bool isEmpty() const { return text.isEmpty() && strokes.isEmpty(); }

    friend bool operator==(const NoteContent&, const NoteContent&) = default;
};

}  // namespace tempolatch
