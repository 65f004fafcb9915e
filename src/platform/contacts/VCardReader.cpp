#include "platform/contacts/VCardReader.h"

#include <QBuffer>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QSet>
#include <QStringDecoder>
#include <algorithm>
#include <filesystem>
#include <optional>

#include "platform/Locale.h"

namespace tempolatch::platform {

namespace {

constexpr qint64 ChunkBytes = 64 * 1024;
// UTF-16 files are converted as a whole, so they get a smaller allowance.
constexpr qint64 MaxWideFileBytes = 32LL * 1024 * 1024;
// More FN lines than this in one card are not worth keeping.
constexpr int MaxFormattedNames = 16;

enum class Version { V21, V30, V40 };

// The physical lines of a device, ended by LF, CRLF or a lone CR. Reads in
// chunks, so a huge file costs time but never memory beyond one line.
class PhysicalLines {
public:
    explicit PhysicalLines(QIODevice& device) : m_device(device) {}

    // False at the end. A line longer than the limit comes back empty with
    // overlong set; its bytes are consumed but not kept.
    bool next(QByteArray& line, bool& overlong) {
        line.clear();
        overlong = false;
        bool any = false;
        for (;;) {
            if (m_pos >= m_buffer.size() && !fill())
                return any;
            if (m_skipLf) {
                m_skipLf = false;
                if (m_buffer.at(m_pos) == '\n') {
                    ++m_pos;
                    continue;
                }
            }
            const char* begin = m_buffer.constData() + m_pos;
            const char* end = m_buffer.constData() + m_buffer.size();
            const char* stop = begin;
            while (stop != end && *stop != '\n' && *stop != '\r')
                ++stop;
            keep(line, overlong, begin, stop - begin);
            any = true;
            m_pos += stop - begin;
            if (stop != end) {
                m_skipLf = *stop == '\r';
                ++m_pos;
                return true;
            }
        }
    }

private:
    static void keep(QByteArray& line, bool& overlong, const char* data, qsizetype size) {
        if (overlong)
            return;
        if (line.size() + size > VCardReader::MaxLineBytes) {
            overlong = true;
            line.clear();
            return;
        }
        line.append(data, size);
    }

    bool fill() {
        const qint64 left = VCardReader::MaxFileBytes - m_total;
        if (left <= 0)
            return false;
        m_buffer = m_device.read(std::min(ChunkBytes, left));
        m_pos = 0;
        m_total += m_buffer.size();
        return !m_buffer.isEmpty();
    }

    QIODevice& m_device;
    QByteArray m_buffer;
    qsizetype m_pos = 0;
    qint64 m_total = 0;
    bool m_skipLf = false;
};

struct Params {
    bool quotedPrintable = false;
    bool base64 = false;
    QByteArray charset;
};

struct Property {
    QByteArray name;  // upper case, without its group
    QByteArray params;
    QByteArray value;
};

// Splits at separator bytes that are not inside double quotes.
QList<QByteArray> splitOutsideQuotes(const QByteArray& text, char separator) {
    QList<QByteArray> parts;
    bool quoted = false;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char c = text.at(i);
        if (c == '"')
            quoted = !quoted;
        else if (c == separator && !quoted) {
            parts.append(text.mid(start, i - start));
            start = i + 1;
        }
    }
    parts.append(text.mid(start));
    return parts;
}

// "item1.FN;CHARSET=UTF-8:value". The colon that ends the name part is the
// first one outside double quotes (4.0 quotes parameter values); a writer
// that left a quote open gets the first colon of all.
std::optional<Property> splitProperty(const QByteArray& line) {
    qsizetype colon = -1;
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const char c = line.at(i);
        if (c == '"')
            quoted = !quoted;
        else if (c == ':' && !quoted) {
            colon = i;
            break;
        }
    }
    if (colon < 0)
        colon = line.indexOf(':');
    if (colon < 0)
        return std::nullopt;
    const QByteArray head = line.left(colon);
    const qsizetype semicolon = head.indexOf(';');
    QByteArray name = (semicolon < 0 ? head : head.left(semicolon)).trimmed();
    const qsizetype dot = name.lastIndexOf('.');
    if (dot >= 0)
        name = name.mid(dot + 1);
    return Property{name.toUpper(), semicolon < 0 ? QByteArray() : head.mid(semicolon + 1),
                    line.mid(colon + 1)};
}

Params parseParams(const QByteArray& text) {
    Params params;
    if (text.isEmpty())
        return params;
    for (const QByteArray& raw : splitOutsideQuotes(text, ';')) {
        const qsizetype eq = raw.indexOf('=');
        const QByteArray key = eq < 0 ? QByteArray() : raw.left(eq).trimmed().toUpper();
        QByteArray value = (eq < 0 ? raw : raw.mid(eq + 1)).trimmed();
        if (value.size() >= 2 && value.startsWith('"') && value.endsWith('"'))
            value = value.mid(1, value.size() - 2).trimmed();
        const QByteArray upper = value.toUpper();
        // 2.1 also writes encodings as bare parameters.
        if (key == "ENCODING" || key.isEmpty()) {
            if (upper == "QUOTED-PRINTABLE")
                params.quotedPrintable = true;
            else if (upper == "BASE64" || (key == "ENCODING" && upper == "B"))
                params.base64 = true;
        } else if (key == "CHARSET") {
            params.charset = value;
        }
    }
    return params;
}

bool isQuotedPrintableLine(const QByteArray& line) {
    const auto property = splitProperty(line);
    return property && parseParams(property->params).quotedPrintable;
}

// A quoted-printable soft break: "=" at the end, perhaps with trailing blanks.
qsizetype softBreakAt(QByteArrayView line) {
    qsizetype end = line.size();
    while (end > 0 && (line.at(end - 1) == ' ' || line.at(end - 1) == '\t'))
        --end;
    return end > 0 && line.at(end - 1) == '=' ? end - 1 : -1;
}

bool isCardBoundary(const QByteArray& line) {
    const QByteArray upper = line.trimmed().toUpper();
    return upper.startsWith("BEGIN:VCARD") || upper.startsWith("END:VCARD");
}

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

QByteArray decodeQuotedPrintable(const QByteArray& in) {
    QByteArray out;
    out.reserve(in.size());
    const qsizetype n = in.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char c = in.at(i);
        if (c != '=') {
            out.append(c);
            continue;
        }
        const int hi = i + 1 < n ? hexValue(in.at(i + 1)) : -1;
        const int lo = i + 2 < n ? hexValue(in.at(i + 2)) : -1;
        if (hi >= 0 && lo >= 0) {
            out.append(char(hi * 16 + lo));
            i += 2;
        } else if (i + 1 < n) {
            out.append(c);  // a stray "=" is text; one at the very end was a soft break
        }
    }
    return out;
}

QString decodeWindows1252(const QByteArray& bytes) {
    QStringDecoder decoder("windows-1252");
    return decoder.isValid() ? decoder.decode(bytes) : QString::fromLatin1(bytes);
}

// Text without a usable charset: UTF-8 when it is valid UTF-8, otherwise the
// Western code page that older address books were written in.
QString decodeUtf8OrLegacy(const QByteArray& bytes) {
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString text = decoder.decode(bytes);
    return decoder.hasError() ? decodeWindows1252(bytes) : text;
}

// Files that say ISO-8859-1 or ASCII are, in practice, windows-1252 (as
// browsers also assume); its extra letters are never the C1 controls.
QByteArray charsetName(const QByteArray& declared) {
    const QByteArray upper = declared.toUpper();
    static const char* const westernAliases[] = {"ISO-8859-1", "ISO8859-1", "ISO_8859-1",
                                                 "LATIN1",     "LATIN-1",   "L1",
                                                 "US-ASCII",   "ASCII",     "ANSI_X3.4-1968"};
    for (const char* alias : westernAliases) {
        if (upper == alias)
            return "windows-1252";
    }
    return declared;
}

QString decodeValue(QByteArray bytes, const Params& params, bool reencoded) {
    bool transferEncoded = false;
    if (params.quotedPrintable) {
        bytes = decodeQuotedPrintable(bytes);
        transferEncoded = true;
    } else if (params.base64) {
        QByteArray compact = bytes;
        compact.replace(' ', QByteArray()).replace('\t', QByteArray());
        auto decoded = QByteArray::fromBase64Encoding(
            compact, QByteArray::Base64Encoding | QByteArray::AbortOnBase64DecodingErrors);
        if (!decoded)
            return {};
        bytes = *decoded;
        transferEncoded = true;
    }
    // A file converted from UTF-16 is UTF-8 now, whatever its lines declare;
    // only bytes hidden by a transfer encoding are still in their charset.
    // Likewise a wide charset cannot describe text that was split into byte lines.
    if (!params.charset.isEmpty() && (transferEncoded || !reencoded)) {
        const QByteArray name = charsetName(params.charset);
        const auto known = QStringConverter::encodingForName(name.constData());
        const bool wide = known && *known != QStringConverter::Utf8 &&
                          *known != QStringConverter::Latin1 && *known != QStringConverter::System;
        if (known != QStringConverter::Utf8 && (!wide || transferEncoded)) {
            QStringDecoder decoder(name.constData());
            if (decoder.isValid())
                return decoder.decode(bytes);
        }
    }
    return decodeUtf8OrLegacy(bytes);
}

// Splits at separators that are not escaped by a backslash; the escapes stay
// in the parts, to be undone by unescape().
QStringList splitUnescaped(const QString& text, QChar separator) {
    QStringList parts;
    QString current;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\\') && i + 1 < text.size()) {
            current.append(c);
            current.append(text.at(++i));
        } else if (c == separator) {
            parts.append(current);
            current.clear();
        } else {
            current.append(c);
        }
    }
    parts.append(current);
    return parts;
}

QString unescape(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != QLatin1Char('\\') || i + 1 == text.size()) {
            out.append(c);
            continue;
        }
        const QChar next = text.at(++i);
        switch (next.unicode()) {
            case 'n':
            case 'N':
                out.append(QLatin1Char('\n'));
                break;
            case '\\':
            case ',':
            case ';':
            case ':':
                out.append(next);
                break;
            default:  // not an escape: keep the backslash, as older writers meant it
                out.append(c);
                out.append(next);
        }
    }
    return out;
}

// One line of text for a list: controls and line breaks become spaces.
QString cleanName(const QString& text) {
    QString out = text;
    for (QChar& c : out) {
        const auto category = c.category();
        if (category == QChar::Other_Control || category == QChar::Separator_Line ||
            category == QChar::Separator_Paragraph || c == QChar(0xFEFF))
            c = QLatin1Char(' ');
    }
    return out.simplified();
}

// N is Family;Given;Additional;Prefix;Suffix; from 3.0 on each part may hold
// several values separated by commas.
QString composeName(const QString& n, Version version) {
    const QStringList parts = splitUnescaped(n, QLatin1Char(';'));
    auto part = [&](qsizetype i) {
        if (i >= parts.size())
            return QString();
        if (version == Version::V21)
            return cleanName(unescape(parts.at(i)));
        QStringList values;
        for (const QString& value : splitUnescaped(parts.at(i), QLatin1Char(','))) {
            const QString clean = cleanName(unescape(value));
            if (!clean.isEmpty())
                values.append(clean);
        }
        return values.join(QLatin1Char(' '));
    };
    QStringList words;
    for (const qsizetype i : {3, 1, 2, 0, 4}) {
        const QString word = part(i);
        if (!word.isEmpty())
            words.append(word);
    }
    return words.join(QLatin1Char(' '));
}

struct Card {
    Version version = Version::V30;
    QStringList formattedNames;
    std::optional<QString> structuredName;
};

class CardParser {
public:
    explicit CardParser(bool reencoded) : m_reencoded(reencoded) {}

    bool full() const { return m_cards >= VCardReader::MaxContactsPerFile; }
    Version version() const { return m_depth > 0 ? m_card.version : Version::V30; }
    QStringList takeNames() { return std::move(m_names); }

    void line(const QByteArray& text) {
        const auto property = splitProperty(text);
        const bool agentBefore = m_agentPending;
        m_agentPending = false;
        if (!property)
            return;
        const QByteArray& name = property->name;
        const bool keyword =
            name == "BEGIN" || name == "END" || name == "VERSION" || name == "AGENT";
        const QByteArray value = keyword ? property->value.trimmed().toUpper() : QByteArray();
        if (property->name == "BEGIN") {
            if (value != "VCARD")
                return;
            if (m_depth == 1 && agentBefore) {
                ++m_depth;  // a 2.1 agent's own card, inside this one
                return;
            }
            // A card that never ended is taken as it stands.
            if (m_depth > 0)
                finishCard();
            m_card = Card();
            m_depth = 1;
            return;
        }
        if (m_depth == 0)
            return;
        if (property->name == "END") {
            if (value == "VCARD" && --m_depth == 0)
                finishCard();
            return;
        }
        if (m_depth != 1)
            return;
        if (property->name == "VERSION") {
            if (value == "2.1")
                m_card.version = Version::V21;
            else if (value == "4.0")
                m_card.version = Version::V40;
            else
                m_card.version = Version::V30;
        } else if (property->name == "FN") {
            if (m_card.formattedNames.size() < MaxFormattedNames)
                m_card.formattedNames.append(
                    decodeValue(property->value, parseParams(property->params), m_reencoded));
        } else if (property->name == "N") {
            if (!m_card.structuredName)
                m_card.structuredName =
                    decodeValue(property->value, parseParams(property->params), m_reencoded);
        } else if (property->name == "AGENT") {
            m_agentPending = value.isEmpty();
        }
    }

    void finish() {
        if (m_depth > 0)
            finishCard();
        m_depth = 0;
    }

private:
    QString displayName() const {
        for (const QString& fn : m_card.formattedNames) {
            const QString name = cleanName(unescape(fn));
            if (!name.isEmpty())
                return name;
        }
        return m_card.structuredName ? composeName(*m_card.structuredName, m_card.version)
                                     : QString();
    }

    void finishCard() {
        ++m_cards;
        const QString name = displayName();
        if (!name.isEmpty() && name.size() <= VCardReader::MaxNameLength)
            m_names.append(name);
        m_card = Card();
    }

    bool m_reencoded;
    int m_depth = 0;
    int m_cards = 0;
    bool m_agentPending = false;
    Card m_card;
    QStringList m_names;
};

// One logical line, put together from physical ones: folded lines, and the
// soft line breaks of quoted-printable values. Whether the value is
// quoted-printable is decided once the name part is complete, and only new
// bytes are looked at, so no sequence of lines costs more than linear time.
class LogicalLine {
public:
    const QByteArray& bytes() const { return m_bytes; }
    bool overlong() const { return m_overlong; }
    bool softBreakPending() const { return m_softBreak >= 0; }

    void start(QByteArrayView part, bool overlong) {
        m_bytes.clear();
        m_overlong = false;
        m_scanned = 0;
        m_quoted = false;
        m_quotedPrintable.reset();
        m_softBreak = -1;
        append(part, overlong);
    }

    // After a soft break the "=" gives way to the next line.
    void append(QByteArrayView part, bool overlong) {
        if (m_softBreak >= 0)
            m_bytes.truncate(m_softBreak);
        m_softBreak = -1;
        if (m_overlong)
            return;
        if (overlong || m_bytes.size() + part.size() > VCardReader::MaxLineBytes) {
            m_overlong = true;
            m_bytes.clear();
            return;
        }
        m_bytes.append(part);
        if (isQuotedPrintable()) {
            const qsizetype at = softBreakAt(part);
            if (at >= 0)
                m_softBreak = m_bytes.size() - part.size() + at;
        }
    }

private:
    bool isQuotedPrintable() {
        if (m_quotedPrintable)
            return *m_quotedPrintable;
        for (; m_scanned < m_bytes.size(); ++m_scanned) {
            const char c = m_bytes.at(m_scanned);
            if (c == '"') {
                m_quoted = !m_quoted;
            } else if (c == ':' && !m_quoted) {
                m_quotedPrintable = isQuotedPrintableLine(m_bytes.left(m_scanned + 1));
                return *m_quotedPrintable;
            }
        }
        return false;
    }

    QByteArray m_bytes;
    bool m_overlong = false;
    qsizetype m_scanned = 0;  // bytes searched for the end of the name part
    bool m_quoted = false;
    std::optional<bool> m_quotedPrintable;
    qsizetype m_softBreak = -1;
};

QStringList parseLines(QIODevice& device, bool reencoded) {
    PhysicalLines lines(device);
    CardParser parser(reencoded);
    LogicalLine logical;
    QByteArray physical;
    bool have = false;
    bool overlong = false;
    while (!parser.full() && lines.next(physical, overlong)) {
        if (physical.startsWith("\xEF\xBB\xBF"))
            physical.remove(0, 3);
        if (have && logical.softBreakPending() && !isCardBoundary(physical)) {
            logical.append(physical, overlong);
            continue;
        }
        if (have && !physical.isEmpty() && (physical.at(0) == ' ' || physical.at(0) == '\t')) {
            // 2.1 folds like mail headers: the blank belongs to the value.
            const qsizetype skip = parser.version() == Version::V21 ? 0 : 1;
            logical.append(QByteArrayView(physical).sliced(skip), overlong);
            continue;
        }
        if (have && !logical.overlong())
            parser.line(logical.bytes());
        logical.start(physical, overlong);
        have = true;
    }
    if (have && !logical.overlong())
        parser.line(logical.bytes());
    parser.finish();
    return parser.takeNames();
}

// Some exporters write UTF-16, with or without a byte order mark.
std::optional<QStringConverter::Encoding> wideEncoding(QIODevice& device) {
    const QByteArray head = device.peek(2);
    if (head.size() < 2)
        return std::nullopt;
    const auto b0 = uchar(head.at(0));
    const auto b1 = uchar(head.at(1));
    if ((b0 == 0xFF && b1 == 0xFE) || (b0 != 0 && b1 == 0))
        return QStringConverter::Utf16LE;
    if ((b0 == 0xFE && b1 == 0xFF) || (b0 == 0 && b1 != 0))
        return QStringConverter::Utf16BE;
    return std::nullopt;
}

}  // namespace

QStringList VCardReader::readNames(QIODevice& device) {
    if (const auto wide = wideEncoding(device)) {
        QStringDecoder decoder(*wide);
        QByteArray utf8 = QString(decoder.decode(device.read(MaxWideFileBytes))).toUtf8();
        QBuffer buffer(&utf8);
        buffer.open(QIODevice::ReadOnly);
        return parseLines(buffer, true);
    }
    return parseLines(device, false);
}

QStringList VCardReader::readNames(const QByteArray& data) {
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    return readNames(buffer);
}

bool VCardReader::readFile(const QString& path, QStringList& names) {
    // Only regular files: opening a pipe or a device named like a .vcf file
    // would block or never end.
    std::error_code error;
    const auto status = std::filesystem::status(QFile::encodeName(path).toStdString(), error);
    if (error || !std::filesystem::is_regular_file(status))
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    names.append(readNames(file));
    return true;
}

QStringList VCardReader::vcfFiles(const QString& folder) {
    QStringList files;
    if (folder.isEmpty())
        return files;
    QDirIterator it(folder, {QStringLiteral("*.vcf")}, QDir::Files | QDir::Readable);
    while (it.hasNext() && files.size() < MaxFilesPerFolder)
        files.append(it.next());
    files.sort();
    return files;
}

bool VCardReader::hasVcfFiles(const QString& folder) {
    if (folder.isEmpty())
        return false;
    QDirIterator it(folder, {QStringLiteral("*.vcf")}, QDir::Files | QDir::Readable);
    return it.hasNext();
}

QStringList VCardReader::namesInFolder(const QString& folder) {
    return namesInFolders({folder});
}

QStringList VCardReader::namesInFolders(const QStringList& folders) {
    QStringList all;
    QSet<QString> seen;
    for (const QString& folder : folders) {
        for (const QString& file : vcfFiles(folder)) {
            if (all.size() >= MaxNames)
                break;
            QStringList names;
            readFile(file, names);
            for (const QString& name : names) {
                if (all.size() >= MaxNames)
                    break;
                if (!seen.contains(name)) {
                    seen.insert(name);
                    all.append(name);
                }
            }
        }
    }
    // Names equal in the locale's collation still differ as texts; the
    // plain comparison keeps their order stable.
    std::sort(all.begin(), all.end(), [](const QString& a, const QString& b) {
        const int c = Locale::compare(a, b);
        return c != 0 ? c < 0 : a < b;
    });
    return all;
}

}  // namespace tempolatch::platform
