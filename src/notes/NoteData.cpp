#include "notes/NoteData.h"

#include <zlib.h>
#include <QStringDecoder>

#include "notes/NoteBytes.h"
#include "notes/NoteClipSection.h"
#include "platform/StringTable.h"
#include "platform/Ui.h"

namespace tempolatch {

namespace {

using notebytes::Reader;
using notebytes::Writer;

constexpr char Magic[4] = {'\x89', 'T', 'L', 'N'};
constexpr qsizetype HeaderSize = 4 + 1 + 1 + 4;
constexpr quint8 FlagDeflated = 0x01;
constexpr quint8 SectionText = 1;
constexpr quint8 SectionStrokes = 2;
// Only payloads at least this large are worth trying to deflate.
constexpr qsizetype DeflateThreshold = 48;
// deflate never expands better than about 1032 : 1; a claimed size beyond
// that is damage, and refusing it spares a pointless allocation.
constexpr qsizetype MaxDeflateRatio = 1032;
// Coordinates in 1/10 px, widths in 1/100 px.
constexpr qint64 MaxCoordinate = 100'000'000;
constexpr quint32 MaxWidth = 10'000;

QByteArray encodeText(const NoteText& text) {
    Writer w;
    for (const NoteParagraph& p : text.paragraphs) {
        const quint8 level =
            p.list == NoteList::None ? 0 : quint8(qMin(int(p.level), NoteMaxListLevel));
        w.byte(quint8(p.list) | quint8(level << 2));
        qsizetype runs = 0;
        for (const NoteRun& run : p.runs)
            runs += run.text.isEmpty() ? 0 : 1;
        w.varint(quint32(runs));
        for (const NoteRun& run : p.runs) {
            if (run.text.isEmpty())
                continue;
            const QByteArray utf8 = run.text.toUtf8();
            w.byte(run.format & NoteFormatMask);
            w.varint(quint32(utf8.size()));
            w.bytes(utf8);
        }
    }
    return w.data();
}

bool decodeText(QByteArrayView body, NoteText* out) {
    Reader r(body);
    while (r.ok() && !r.atEnd()) {
        const quint8 flags = r.byte();
        const quint8 kind = flags & 0x03;
        const quint8 level = flags >> 2;
        if (kind > quint8(NoteList::Numbered) || level > NoteMaxListLevel)
            return false;
        NoteParagraph p;
        p.list = NoteList(kind);
        p.level = level;
        const quint32 runs = r.varint();
        // Each run takes at least two bytes: a count beyond that is damage.
        if (qsizetype(runs) > r.remaining() / 2 + 1)
            return false;
        for (quint32 i = 0; i < runs && r.ok(); ++i) {
            const quint8 format = r.byte();
            const QByteArrayView utf8 = r.take(qsizetype(r.varint()));
            if (!r.ok() || (format & ~NoteFormatMask))
                return false;
            QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
            const QString runText = decoder.decode(utf8);
            if (decoder.hasError())
                return false;
            p.runs.append({runText, format});
        }
        out->paragraphs.append(p);
    }
    return r.ok();
}

qint32 toUnits(qreal value, qreal scale, qint64 limit) {
    return qint32(qBound(-limit, qint64(qRound64(value * scale)), limit));
}

QByteArray encodeStrokes(const QList<NoteStroke>& strokes) {
    Writer w;
    for (const NoteStroke& s : strokes) {
        w.u32(s.color);
        w.varint(quint32(qBound(qint32(1), toUnits(s.width, 100, MaxWidth), qint32(MaxWidth))));
        w.varint(quint32(s.points.size()));
        qint32 x = 0;
        qint32 y = 0;
        for (const QPointF& pt : s.points) {
            const qint32 px = toUnits(pt.x(), 10, MaxCoordinate);
            const qint32 py = toUnits(pt.y(), 10, MaxCoordinate);
            w.svarint(px - x);
            w.svarint(py - y);
            x = px;
            y = py;
        }
    }
    return w.data();
}

bool decodeStrokes(QByteArrayView body, QList<NoteStroke>* out) {
    Reader r(body);
    while (r.ok() && !r.atEnd()) {
        NoteStroke s;
        s.color = r.u32();
        const quint32 width = r.varint();
        const quint32 count = r.varint();
        if (!r.ok() || width == 0 || width > MaxWidth || count == 0 ||
            qsizetype(count) > r.remaining() / 2)
            return false;
        s.width = width / 100.0;
        s.points.reserve(qsizetype(count));
        qint64 x = 0;
        qint64 y = 0;
        for (quint32 i = 0; i < count; ++i) {
            x += r.svarint();
            y += r.svarint();
            if (!r.ok() || qAbs(x) > MaxCoordinate || qAbs(y) > MaxCoordinate)
                return false;
            s.points.append(QPointF(x / 10.0, y / 10.0));
        }
        out->append(s);
    }
    return r.ok();
}

bool isKnownSection(quint8 tag) {
    return tag == SectionText || tag == SectionStrokes || tag == NoteClipSection::Tag;
}

bool decodePayload(QByteArrayView payload, NoteContent* out) {
    Reader r(payload);
    bool seenText = false;
    bool seenStrokes = false;
    bool seenClips = false;
    while (r.ok() && !r.atEnd()) {
        const quint8 tag = r.byte();
        const QByteArrayView body = r.take(qsizetype(r.varint()));
        if (!r.ok())
            return false;
        if (tag == SectionText && !seenText) {
            seenText = true;
            if (!decodeText(body, &out->text))
                return false;
        } else if (tag == SectionStrokes && !seenStrokes) {
            seenStrokes = true;
            if (!decodeStrokes(body, &out->strokes))
                return false;
        } else if (tag == NoteClipSection::Tag && !seenClips) {
            seenClips = true;
            out->clips = NoteClipSection::decode(body);
        } else if (isKnownSection(tag)) {
            return false;  // a second section of one kind
        } else {
            out->otherSections.append({tag, body.toByteArray()});
        }
    }
    return r.ok();
}

QByteArray deflate(const QByteArray& raw) {
    uLongf size = compressBound(uLong(raw.size()));
    QByteArray out(qsizetype(size), Qt::Uninitialized);
    if (compress2(reinterpret_cast<Bytef*>(out.data()), &size,
                  reinterpret_cast<const Bytef*>(raw.constData()), uLong(raw.size()),
                  Z_BEST_COMPRESSION) != Z_OK)
        return {};
    out.truncate(qsizetype(size));
    return out;
}

// Inflates exactly `size` bytes from the whole of `stream`, or fails.
bool inflateExactly(QByteArrayView stream, qsizetype size, QByteArray* out) {
    if (size <= 0 || size > NoteData::MaxPayloadSize || size > stream.size() * MaxDeflateRatio)
        return false;
    QByteArray buffer(size, Qt::Uninitialized);
    z_stream z{};
    if (inflateInit(&z) != Z_OK)
        return false;
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(stream.data()));
    z.avail_in = uInt(stream.size());
    z.next_out = reinterpret_cast<Bytef*>(buffer.data());
    z.avail_out = uInt(size);
    const int result = inflate(&z, Z_FINISH);
    const bool complete = result == Z_STREAM_END && z.avail_in == 0 && z.avail_out == 0;
    inflateEnd(&z);
    if (!complete)
        return false;
    *out = buffer;
    return true;
}

quint32 crcOf(QByteArrayView data) {
    return quint32(crc32(crc32(0, nullptr, 0), reinterpret_cast<const Bytef*>(data.data()),
                         uInt(data.size())));
}

}  // namespace

NoteData NoteData::fromBytes(const QByteArray& bytes) {
    NoteData note;
    note.m_bytes = bytes;
    note.m_kind = decode(bytes, &note.m_content);
    if (note.m_kind != Kind::Native)
        note.m_content = {};
    return note;
}

NoteData NoteData::fromContent(const NoteContent& content) {
    return fromBytes(encode(content));
}

QByteArray NoteData::encode(const NoteContent& content) {
    QList<NoteStroke> strokes;
    for (const NoteStroke& s : content.strokes) {
        if (!s.points.isEmpty())
            strokes.append(s);
    }
    if (content.text.isEmpty() && strokes.isEmpty() && content.clips.isEmpty() &&
        content.otherSections.isEmpty())
        return {};
    Writer payload;
    if (!content.text.isEmpty())
        payload.section(SectionText, encodeText(content.text));
    if (!strokes.isEmpty())
        payload.section(SectionStrokes, encodeStrokes(strokes));
    if (!content.clips.isEmpty())
        payload.section(NoteClipSection::Tag, NoteClipSection::encode(content.clips));
    for (const NoteSection& section : content.otherSections)
        payload.section(section.tag, section.body);

    quint8 flags = 0;
    QByteArray stored = payload.data();
    if (stored.size() >= DeflateThreshold) {
        Writer deflated;
        deflated.varint(quint32(stored.size()));
        deflated.bytes(deflate(stored));
        if (deflated.data().size() < stored.size()) {
            flags |= FlagDeflated;
            stored = deflated.data();
        }
    }

    Writer out;
    out.bytes(QByteArray(Magic, sizeof Magic));
    out.byte(Version);
    out.byte(flags);
    out.u32(crcOf(stored));
    out.bytes(stored);
    return out.data();
}

NoteData::Kind NoteData::decode(const QByteArray& bytes, NoteContent* out) {
    if (bytes.isEmpty())
        return Kind::Empty;
    if (bytes.size() < HeaderSize || !bytes.startsWith(QByteArrayView(Magic, sizeof Magic)))
        return Kind::Foreign;
    Reader header(QByteArrayView(bytes).first(HeaderSize));
    header.take(sizeof Magic);
    if (header.byte() != Version)
        return Kind::Foreign;
    const quint8 flags = header.byte();
    const quint32 crc = header.u32();
    const QByteArrayView stored = QByteArrayView(bytes).sliced(HeaderSize);
    if ((flags & ~FlagDeflated) || crc != crcOf(stored))
        return Kind::Damaged;

    QByteArray inflated;
    QByteArrayView payload = stored;
    if (flags & FlagDeflated) {
        Reader r(stored);
        const quint32 size = r.varint();
        if (!r.ok() || !inflateExactly(stored.sliced(stored.size() - r.remaining()),
                                       qsizetype(size), &inflated))
            return Kind::Damaged;
        payload = inflated;
    }
    NoteContent content;
    if (!decodePayload(payload, &content) || content.isEmpty())
        return Kind::Damaged;
    *out = content;
    return Kind::Native;
}

bool acceptNoteSize(platform::Ui& ui, const QByteArray& note, QObject* parent) {
    if (note.size() <= NoteData::MaxSavedSize)
        return true;
    ui.message(resourceString(str::NoteTooLarge), platform::MessageIcon::Warning, parent);
    return false;
}

}  // namespace tempolatch
