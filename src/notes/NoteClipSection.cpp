#include "notes/NoteClipSection.h"

#include "notes/NoteBytes.h"

namespace tempolatch {

namespace {

using notebytes::Reader;
using notebytes::Writer;

// The rates the codec decodes at.
bool isCodecRate(quint32 rate) {
    return rate == 8000 || rate == 12000 || rate == 16000 || rate == 24000 || rate == 48000;
}

QByteArray encodeClip(const NoteClip& clip) {
    if (clip.damaged)
        return clip.raw;
    Writer w;
    w.byte(clip.codec);
    w.varint(clip.sampleRate);
    w.varint(clip.preSkip);
    w.varint(clip.duration);
    w.varint(quint32(clip.packets.size()));
    for (const QByteArray& packet : clip.packets) {
        w.varint(quint32(packet.size()));
        w.bytes(packet);
    }
    return w.data();
}

// No packet holds more than 120 ms; a duration beyond what the packets
// can hold is damage.
bool plausibleDuration(const NoteClip& clip) {
    const quint64 most = quint64(clip.packets.size()) * clip.sampleRate * 120 / 1000;
    return quint64(clip.duration) + clip.preSkip <= most && clip.preSkip <= clip.sampleRate;
}

std::optional<NoteClip> decodeClip(QByteArrayView body) {
    Reader r(body);
    NoteClip clip;
    clip.codec = r.byte();
    clip.sampleRate = r.varint();
    clip.preSkip = r.varint();
    clip.duration = r.varint();
    const quint32 count = r.varint();
    // Each packet takes at least two bytes.
    if (!r.ok() || clip.codec != NoteClip::Opus || !isCodecRate(clip.sampleRate) ||
        qsizetype(count) > r.remaining() / 2)
        return std::nullopt;
    clip.packets.reserve(qsizetype(count));
    for (quint32 i = 0; i < count; ++i) {
        const quint32 size = r.varint();
        if (!r.ok() || size == 0 || qsizetype(size) > NoteClipSection::MaxPacketSize)
            return std::nullopt;
        clip.packets.append(r.take(qsizetype(size)).toByteArray());
    }
    if (!r.ok() || !r.atEnd() || !plausibleDuration(clip))
        return std::nullopt;
    return clip;
}

NoteClip damagedClip(QByteArrayView bytes) {
    NoteClip clip;
    clip.damaged = true;
    clip.raw = bytes.toByteArray();
    return clip;
}

}  // namespace

QByteArray NoteClipSection::encode(const QList<NoteClip>& clips) {
    Writer w;
    for (const NoteClip& clip : clips) {
        const QByteArray body = encodeClip(clip);
        w.varint(quint32(body.size()));
        w.bytes(body);
    }
    return w.data();
}

QList<NoteClip> NoteClipSection::decode(QByteArrayView body) {
    QList<NoteClip> clips;
    Reader r(body);
    while (!r.atEnd()) {
        const qsizetype start = body.size() - r.remaining();
        const QByteArrayView clipBody = r.take(qsizetype(r.varint()));
        if (!r.ok()) {
            clips.append(damagedClip(body.sliced(start)));
            break;
        }
        if (std::optional<NoteClip> clip = decodeClip(clipBody))
            clips.append(*clip);
        else
            clips.append(damagedClip(clipBody));
    }
    return clips;
}

qsizetype NoteClipSection::storedSize(const NoteClip& clip) {
    const qsizetype body = encodeClip(clip).size();
    Writer prefix;
    prefix.varint(quint32(body));
    return prefix.data().size() + body;
}

}  // namespace tempolatch
