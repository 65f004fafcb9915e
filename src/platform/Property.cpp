#include "platform/Property.h"

#include <array>
#include <charconv>

#include <QtEndian>

namespace tempolatch::platform {

bool isKnownPropType(quint16 type) {
    switch (type) {
        case PropBool:
        case PropUi2:
        case PropUi4:
        case PropText:
        case PropFileTime:
        case PropBlob:
            return true;
        default:
            return false;
    }
}

QString propTypeName(quint16 type) {
    switch (type) {
        case PropBool:
            return QStringLiteral("BOOL");
        case PropUi2:
            return QStringLiteral("UI2");
        case PropUi4:
            return QStringLiteral("UI4");
        case PropText:
            return QStringLiteral("LPWSTR");
        case PropFileTime:
            return QStringLiteral("FILETIME");
        case PropBlob:
            return QStringLiteral("BLOB");
        default:
            return QStringLiteral("0x%1").arg(type, 4, 16, QLatin1Char('0'));
    }
}

const Property* findProperty(const PropertyList& props, quint32 id) {
    for (const Property& p : props)
        if (p.id == id)
            return &p;
    return nullptr;
}

namespace {

template <typename T>
void put(QByteArray& out, T value) {
    char buf[sizeof(T)];
    qToLittleEndian(value, buf);
    out.append(buf, sizeof(T));
}

class Reader {
public:
    explicit Reader(const QByteArray& bytes) : m_data(bytes) {}
    template <typename T>
    bool get(T& value) {
        if (m_data.size() - m_pos < qsizetype(sizeof(T)))
            return false;
        value = qFromLittleEndian<T>(m_data.constData() + m_pos);
        m_pos += sizeof(T);
        return true;
    }
    bool take(qsizetype size, const char*& at) {
        if (size < 0 || m_data.size() - m_pos < size)
            return false;
        at = m_data.constData() + m_pos;
        m_pos += size;
        return true;
    }
    bool atEnd() const { return m_pos == m_data.size(); }

private:
    const QByteArray& m_data;
    qsizetype m_pos = 0;
};

// Short texts decoded lately, by a hash of their bytes, per thread: the
// records of a database repeat their client, project, task and currency
// names, and the thousands of records a list or a report holds then share
// one copy of each instead of carrying their own. A slot holds the last
// text that hashed to it.
class RecentTexts {
public:
    QString take(const char* littleEndian, quint32 units) {
        if (units == 0 || units > kLongest)
            return decoded(littleEndian, units);
        quint32 hash = 2166136261u;
        for (quint32 i = 0; i < units * 2; ++i)
            hash = (hash ^ quint8(littleEndian[i])) * 16777619u;
        QString& slot = m_slots[hash % m_slots.size()];
        if (slot.size() != qsizetype(units) || !equal(slot, littleEndian))
            slot = decoded(littleEndian, units);
        return slot;
    }

private:
    static constexpr quint32 kLongest = 48;

    static QString decoded(const char* littleEndian, quint32 units) {
        QString text;
        text.resize(qsizetype(units));
        qFromLittleEndian<quint16>(littleEndian, units, text.data());
        return text;
    }
    static bool equal(const QString& text, const char* littleEndian) {
        for (qsizetype i = 0; i < text.size(); ++i)
            if (text[i].unicode() != qFromLittleEndian<quint16>(littleEndian + 2 * i))
                return false;
        return true;
    }

    std::array<QString, 509> m_slots;
};

RecentTexts& recentTexts() {
    static thread_local RecentTexts texts;
    return texts;
}

bool readValue(Reader& in, Property& p) {
    switch (p.type()) {
        case PropBool:
        case PropUi2: {
            quint16 v;
            if (!in.get(v))
                return false;
            p.number = v;
            return true;
        }
        case PropUi4: {
            quint32 v;
            if (!in.get(v))
                return false;
            p.number = v;
            return true;
        }
        case PropFileTime:
            return in.get(p.number);
        case PropText: {
            quint32 units;
            const char* at;
            if (!in.get(units) || !in.take(qsizetype(units) * 2, at))
                return false;
            p.text = recentTexts().take(at, units);
            return true;
        }
        case PropBlob: {
            quint32 size;
            const char* at;
            if (!in.get(size) || !in.take(size, at))
                return false;
            p.blob = QByteArray(at, size);
            return true;
        }
        default:
            return false;
    }
}

}  // namespace

QByteArray encodeProperties(const PropertyList& props) {
    // The exact size up front: records are encoded once per write, and a
    // restore writes a million of them.
    qsizetype size = 2;
    for (const Property& p : props)
        size += 4 + (p.type() == PropText   ? 4 + 2 * p.text.size()
                     : p.type() == PropBlob ? 4 + p.blob.size()
                                            : 8);
    QByteArray out;
    out.reserve(size);
    put<quint16>(out, quint16(props.size()));
    for (const Property& p : props) {
        put<quint32>(out, p.id);
        switch (p.type()) {
            case PropBool:
            case PropUi2:
                put<quint16>(out, quint16(p.number));
                break;
            case PropUi4:
                put<quint32>(out, quint32(p.number));
                break;
            case PropFileTime:
                put<quint64>(out, p.number);
                break;
            case PropText:
                put<quint32>(out, quint32(p.text.size()));
                {
                    const qsizetype at = out.size();
                    out.resize(at + 2 * p.text.size());
                    qToLittleEndian<quint16>(p.text.utf16(), p.text.size(), out.data() + at);
                }
                break;
            case PropBlob:
                put<quint32>(out, quint32(p.blob.size()));
                out.append(p.blob);
                break;
            default:
                break;
        }
    }
    return out;
}

std::optional<PropertyList> decodeProperties(const QByteArray& bytes) {
    Reader in(bytes);
    quint16 count;
    if (!in.get(count))
        return std::nullopt;
    PropertyList props;
    props.reserve(count);
    for (quint16 i = 0; i < count; ++i) {
        Property p;
        if (!in.get(p.id) || !readValue(in, p))
            return std::nullopt;
        props.append(std::move(p));
    }
    if (!in.atEnd())
        return std::nullopt;
    return props;
}

void appendUtf8(QStringView text, Utf8Text& out) {
    char* to = out.grow(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i].unicode();
        if (unit >= 0x80) {
            out.shrink(text.size() - i);
            out.append(text.sliced(i).toUtf8());
            return;
        }
        to[i] = char(unit);
    }
}

void appendQuotedText(QStringView text, Utf8Text& out) {
    out.append('"');
    qsizetype plain = 0;  // start of the run not yet written
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i].unicode();
        const char* escape = unit == u'\\'   ? "\\\\"
                             : unit == u'"'  ? "\\\""
                             : unit == u'\n' ? "\\n"
                             : unit == u'\r' ? "\\r"
                                             : nullptr;
        if (!escape)
            continue;
        appendUtf8(text.sliced(plain, i - plain), out);
        out.append(escape);
        plain = i + 1;
    }
    appendUtf8(text.sliced(plain), out);
    out.append('"');
}

void appendNumber(quint64 value, Utf8Text& out) {
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    out.append(digits, end - digits);
}

void appendValueText(const Property& p, Utf8Text& out) {
    switch (p.type()) {
        case PropBool:
            out.append(p.number ? "true" : "false");
            return;
        case PropUi2:
        case PropUi4:
            appendNumber(p.number, out);
            return;
        case PropFileTime: {
            if (p.number == 0) {
                out.append('0');
                return;
            }
            // "<local date-time> (<ticks>)", or "<ticks> (out of range)".
            const auto st = toSystemTime(p.toFileTime());
            if (st) {
                char text[32];
                out.append(text, st->writeTimestamp(text, true));
                out.append(" (");
            }
            appendNumber(p.number, out);
            out.append(st ? ")" : " (out of range)");
            return;
        }
        case PropText:
            appendQuotedText(p.text, out);
            return;
        case PropBlob:
            appendNumber(quint64(p.blob.size()), out);
            out.append(" bytes");
            if (!p.blob.isEmpty())
            {
                out.append(": ");
                out.append(p.blob.left(32).toHex(' '));
            }
            if (p.blob.size() > 32)
                out.append(" ...");
            return;
        default:
            out.append('?');
    }
}

QString describeValue(const Property& p) {
    Utf8Text text;
    appendValueText(p, text);
    return QString::fromUtf8(text.view());
}

}  // namespace tempolatch::platform
