#pragma once

#include <QByteArray>
#include <QByteArrayView>

namespace tempolatch::notebytes {

// The integers of the note bytes: little-endian, and "varint" = LEB128 of
// at most 32 bits.
class Writer {
public:
    void byte(quint8 b) { m_out.append(char(b)); }
    void u32(quint32 v) {
        for (int i = 0; i < 4; ++i)
            byte(quint8(v >> (8 * i)));
    }
    void varint(quint32 v) {
        while (v >= 0x80) {
            byte(quint8(v | 0x80));
            v >>= 7;
        }
        byte(quint8(v));
    }
    void svarint(qint32 v) { varint((quint32(v) << 1) ^ quint32(v >> 31)); }
    void bytes(const QByteArray& b) { m_out.append(b); }
    void section(quint8 tag, const QByteArray& body) {
        byte(tag);
        varint(quint32(body.size()));
        bytes(body);
    }
    QByteArray& data() { return m_out; }

private:
    QByteArray m_out;
};

// Reads from a byte range; every read checks what is left, and after the
// first failure every further read fails too.
class Reader {
public:
    explicit Reader(QByteArrayView data) : m_data(data) {}

    bool ok() const { return m_ok; }
    bool atEnd() const { return m_pos >= m_data.size(); }
    qsizetype remaining() const { return m_data.size() - m_pos; }

    quint8 byte() {
        if (!m_ok || remaining() < 1)
            return fail<quint8>();
        return quint8(m_data[m_pos++]);
    }
    quint32 u32() {
        quint32 v = 0;
        for (int i = 0; i < 4; ++i)
            v |= quint32(byte()) << (8 * i);
        return v;
    }
    quint32 varint() {
        quint32 v = 0;
        for (int shift = 0; shift < 35; shift += 7) {
            const quint8 b = byte();
            if (!m_ok)
                return 0;
            if (shift == 28 && (b & 0xF0))
                return fail<quint32>();
            v |= quint32(b & 0x7F) << shift;
            if (!(b & 0x80))
                return v;
        }
        return fail<quint32>();
    }
    qint32 svarint() {
        const quint32 v = varint();
        return qint32(v >> 1) ^ -qint32(v & 1);
    }
    QByteArrayView take(qsizetype n) {
        if (!m_ok || n < 0 || n > remaining())
            return fail<QByteArrayView>();
        const QByteArrayView out = m_data.sliced(m_pos, n);
        m_pos += n;
        return out;
    }

    template <typename T>
    T fail() {
        m_ok = false;
        return T{};
    }

private:
    QByteArrayView m_data;
    qsizetype m_pos = 0;
    bool m_ok = true;
};

}  // namespace tempolatch::notebytes
