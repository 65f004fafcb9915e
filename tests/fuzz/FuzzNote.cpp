// The note format of entries and timers, as restored from any backup.
//
// Mutated notes almost never keep a matching CRC, which would stop them all
// at the check; so an input that does not start with the note's magic is a
// flags byte and a payload, and gets the header (with the right CRC) a note
// writer would give it. Clips (section 3) and sections of later versions
// go through the same door.
#include <zlib.h>

#include <QtEndian>

#include "FuzzSupport.h"
#include "notes/NoteData.h"
#include "notes/VoiceCodec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    QByteArray note = tempolatch::fuzz::bytes(data, size);
    if (size > 0 && data[0] != 0x89) {
        const QByteArray payload = note.mid(1);
        const quint32 crc =
            quint32(crc32(crc32(0, nullptr, 0), reinterpret_cast<const Bytef*>(payload.constData()),
                          uInt(payload.size())));
        char crcBytes[4];
        qToLittleEndian(crc, crcBytes);
        note = QByteArray("\x89TLN", 4) + char(tempolatch::NoteData::Version) + char(data[0] & 1) +
               QByteArray(crcBytes, 4) + payload;
    }
    const tempolatch::NoteData read = tempolatch::NoteData::fromBytes(note);
    if (read.kind() != tempolatch::NoteData::Kind::Native)
        return 0;
    // What was read writes again; its clips, damaged ones included, and
    // the sections of later versions read back the same. Every clip that
    // reads also decodes or is refused by the codec, without a crash.
    const tempolatch::NoteContent again =
        tempolatch::NoteData::fromBytes(tempolatch::NoteData::encode(read.content())).content();
    if (again.clips != read.content().clips || again.otherSections != read.content().otherSections)
        __builtin_trap();
    for (const tempolatch::NoteClip& clip : read.content().clips)
        (void)tempolatch::decodeVoice(clip);
    return 0;
}
