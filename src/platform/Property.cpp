#include "platform/Property.h"

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
            p.text.resize(units);
            for (quint32 i = 0; i < units; ++i)
                p.text[i] = QChar(qFromLittleEndian<quint16>(at + 2 * i));
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

QString describeValue(const Property& p) {
    switch (p.type()) {
        case PropBool:
            return p.number ? QStringLiteral("true") : QStringLiteral("false");
        case PropUi2:
        case PropUi4:
            return QString::number(p.number);
        case PropFileTime: {
            if (p.number == 0)
                return QStringLiteral("0");
            const auto st = toSystemTime(p.toFileTime());
            if (!st)
                return QStringLiteral("%1 (out of range)").arg(p.number);
            return QStringLiteral("%1 (%2)").arg(st->timestampText(true)).arg(p.number);
        }
        case PropText: {
            QString escaped = p.text;
            escaped.replace(QLatin1Char('\\'), QStringLiteral("\\\\"))
                .replace(QLatin1Char('"'), QStringLiteral("\\\""))
                .replace(QLatin1Char('\n'), QStringLiteral("\\n"))
                .replace(QLatin1Char('\r'), QStringLiteral("\\r"));
            return QLatin1Char('"') + escaped + QLatin1Char('"');
        }
        case PropBlob: {
            const QByteArray head = p.blob.left(32).toHex(' ');
            return QStringLiteral("%1 bytes%2%3%4")
                .arg(p.blob.size())
                .arg(p.blob.isEmpty() ? QString() : QStringLiteral(": "))
                .arg(QString::fromLatin1(head))
                .arg(p.blob.size() > 32 ? QStringLiteral(" ...") : QString());
        }
        default:
            return QStringLiteral("?");
    }
}

}  // namespace tempolatch::platform
