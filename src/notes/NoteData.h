#pragma once

#include <QByteArray>

#include "notes/NoteContent.h"

class QObject;

namespace tempolatch {

namespace platform {
class Ui;
}

// A note as stored in an entry or a timer: the bytes the ink control gives
// out, and what they hold.
//
// Our bytes start with a magic and a version; anything else (notes of the
// handheld's own control, say, restored from an old backup) is foreign: it
// cannot be shown, but it is kept exactly as it came until the user clears
// it. Bytes with our magic that do not parse are damaged and kept the same
// way. Parsing never trusts a length or count it has not checked against
// the bytes that are really there.
//
// Layout (integers little-endian, "varint" = LEB128, at most 32 bits):
//   magic 89 'T' 'L' 'N', version 1, flags (bit 0: payload deflated),
//   CRC-32 of the payload as stored,
//   when deflated: varint size of the inflated payload, then a zlib stream;
//   payload: sections, each a tag byte, a varint length and the body:
//     1 text:    paragraphs, each: flags (bits 0-1 list kind, bits 2-5
//                list level), varint run count, runs of (format byte,
//                varint UTF-8 length, UTF-8 bytes)
//     2 strokes: strokes, each: ARGB colour (4 bytes), varint width in
//                1/100 px, varint point count (>= 1), points as zigzag
//                varint deltas in 1/10 px from the previous point (the
//                first from 0,0)
//     3 clips:   voice recordings (NoteClipSection); a damaged clip is
//                kept with its bytes and does not make the note damaged
//   Each known section appears at most once. Sections of other tags come
//   from later versions: they are kept and written back unchanged.
class NoteData {
public:
    enum class Kind {
        Empty,    // no bytes: no note
        Native,   // ours, parsed
        Foreign,  // not ours (or a later version of ours): kept, not shown
        Damaged,  // ours but broken: kept, not shown
    };

    // The largest note the Note page lets the user save.
    static constexpr qsizetype MaxSavedSize = 65000;
    // A note's inflated payload never needs more; larger claims are damage.
    static constexpr qsizetype MaxPayloadSize = 16 * 1024 * 1024;
    static constexpr quint8 Version = 1;

    NoteData() = default;

    static NoteData fromBytes(const QByteArray& bytes);
    // Empty content gives an empty note (no bytes).
    static NoteData fromContent(const NoteContent& content);

    Kind kind() const { return m_kind; }
    bool isEmpty() const { return m_kind == Kind::Empty; }
    // True when the content can be shown and edited.
    bool isReadable() const { return m_kind == Kind::Empty || m_kind == Kind::Native; }

    const QByteArray& bytes() const { return m_bytes; }
    // Empty unless readable.
    const NoteContent& content() const { return m_content; }

    static QByteArray encode(const NoteContent& content);
    // Native on success; Foreign or Damaged leave out untouched.
    static Kind decode(const QByteArray& bytes, NoteContent* out);

private:
    Kind m_kind = Kind::Empty;
    QByteArray m_bytes;
    NoteContent m_content;
};

// False, after message 91, when the note is too large to be saved from the
// Note page.
bool acceptNoteSize(platform::Ui& ui, const QByteArray& note, QObject* parent = nullptr);

}  // namespace tempolatch
