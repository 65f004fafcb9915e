#include "notes/NoteStream.h"

#include <QStringDecoder>
#include <QtEndian>

#include "notes/RtfReader.h"
#include "notes/RtfWriter.h"
#include "platform/Locale.h"

namespace tempolatch {

namespace {

const QByteArray Utf16LeBom("\xFF\xFE", 2);
const QByteArray Utf16BeBom("\xFE\xFF", 2);
const QByteArray Utf8Bom("\xEF\xBB\xBF", 3);

QString decodeUtf16(QByteArrayView bytes, bool bigEndian) {
    QString out;
    out.reserve(bytes.size() / 2);
    for (qsizetype i = 0; i + 1 < bytes.size(); i += 2) {
        const auto* p = reinterpret_cast<const uchar*>(bytes.data() + i);
        out.append(QChar(bigEndian ? qFromBigEndian<quint16>(p) : qFromLittleEndian<quint16>(p)));
    }
    return out;
}

}  // namespace

QByteArray NoteStream::write(const NoteData& note, NoteStreamFormat format) {
    switch (format) {
        case NoteStreamFormat::NoteFile:
            return note.bytes();
        case NoteStreamFormat::RichText:
            return RtfWriter::write(note.content().textWithClipMarkers());
        case NoteStreamFormat::PlainText:
        case NoteStreamFormat::UnicodeText:
            return writeText(note.content().toPlainText(), format);
    }
    return {};
}

std::optional<NoteData> NoteStream::read(const QByteArray& data, NoteStreamFormat format,
                                         QString* error) {
    switch (format) {
        case NoteStreamFormat::NoteFile:
            // Whatever the bytes are, they are the note; bytes we cannot read
            // are kept as they came.
            return NoteData::fromBytes(data);
        case NoteStreamFormat::RichText: {
            const std::optional<NoteText> text = RtfReader::read(data, error);
            if (!text)
                return std::nullopt;
            return NoteData::fromContent({*text, {}});
        }
        case NoteStreamFormat::PlainText:
        case NoteStreamFormat::UnicodeText: {
            QString text = readText(data, format);
            text.remove(QChar(0));
            return NoteData::fromContent({NoteText::fromPlainText(text), {}});
        }
    }
    if (error)
        *error = QStringLiteral("unknown format");
    return std::nullopt;
}

QByteArray NoteStream::writeText(const QString& text, NoteStreamFormat format) {
    if (format == NoteStreamFormat::PlainText) {
        // Characters outside the code page come out as the converter's
        // substitute (SUB); a text file shows them as '?', like the
        // platform's own conversion, and a note holds no SUB of its own.
        QByteArray ansi = platform::Locale::toAnsi(text);
        ansi.replace('\x1a', '?');
        return ansi;
    }
    QByteArray out = Utf16LeBom;
    out.reserve(2 + text.size() * 2);
    for (const QChar c : text) {
        out.append(char(c.unicode() & 0xFF));
        out.append(char(c.unicode() >> 8));
    }
    return out;
}

QString NoteStream::readText(const QByteArray& data, NoteStreamFormat format) {
    if (data.startsWith(Utf16LeBom))
        return decodeUtf16(QByteArrayView(data).sliced(2), false);
    if (data.startsWith(Utf16BeBom))
        return decodeUtf16(QByteArrayView(data).sliced(2), true);
    if (data.startsWith(Utf8Bom))
        return QString::fromUtf8(QByteArrayView(data).sliced(3));
    if (format == NoteStreamFormat::UnicodeText)
        return decodeUtf16(data, false);
    return platform::Locale::fromAnsi(data);
}

QString noteToPlainText(const QByteArray& note) {
    return NoteData::fromBytes(note).content().toPlainText();
}

}  // namespace tempolatch
