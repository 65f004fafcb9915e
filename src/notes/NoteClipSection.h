#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

#include "notes/NoteContent.h"

namespace tempolatch {

// The clips section of the note bytes (tag 3). Its body is a sequence of
// clips, each a varint length and that many bytes:
//   codec (1 = Opus), varint sample rate, varint pre-skip, varint duration
//   (both in samples), varint packet count, packets each a varint length
//   and the bytes.
// A clip that does not read as exactly that is kept as damaged with its
// bytes; when a clip's length runs past the section, the rest of the
// section is that one damaged clip. Reading never fails and never loses a
// byte.
class NoteClipSection {
public:
    static constexpr quint8 Tag = 3;
    // The largest packet the codec produces.
    static constexpr qsizetype MaxPacketSize = 1275;

    static QByteArray encode(const QList<NoteClip>& clips);
    static QList<NoteClip> decode(QByteArrayView body);

    // What one clip adds to the section, its length prefix included.
    static qsizetype storedSize(const NoteClip& clip);
    // The most a section header (tag and length) can add to a note.
    static constexpr qsizetype MaxHeaderSize = 1 + 5;
};

}  // namespace tempolatch
