#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <cstring>

namespace tempolatch::platform {

// A growing UTF-8 text for writers of many small values (the store's dump):
// each piece is copied in place, without a call into the library for every
// piece as QByteArray's append makes.
class Utf8Text {
public:
    void append(const char* text, qsizetype length) {
        std::memcpy(grow(length), text, size_t(length));
    }
    void append(const char* text) { append(text, qsizetype(std::strlen(text))); }
    void append(char c) { *grow(1) = c; }
    void append(const QByteArray& bytes) { append(bytes.constData(), bytes.size()); }

    // `length` bytes more at the end, for the caller to fill.
    char* grow(qsizetype length) {
        if (m_size + length > m_bytes.size())
            m_bytes.resize(std::max<qsizetype>(2 * m_bytes.size(), m_size + length + 256));
        char* at = m_bytes.data() + m_size;
        m_size += length;
        return at;
    }
    // Gives back the last `length` bytes of a grow that were not used.
    void shrink(qsizetype length) { m_size -= length; }

    qsizetype size() const { return m_size; }
    bool isEmpty() const { return m_size == 0; }
    QByteArrayView view() const { return QByteArrayView(m_bytes.constData(), m_size); }
    void clear() { m_size = 0; }

private:
    QByteArray m_bytes;
    qsizetype m_size = 0;
};

}  // namespace tempolatch::platform
