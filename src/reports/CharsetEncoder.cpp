#include "reports/CharsetEncoder.h"

#include <iconv.h>
#include <QtEndian>
#include <cerrno>

namespace tempolatch {

namespace {

const iconv_t kNoIconv = reinterpret_cast<iconv_t>(-1);

#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
const char* const kUtf16 = "UTF-16LE";
#else
const char* const kUtf16 = "UTF-16BE";
#endif

// Whether a position of the markup lies inside a CDATA section, found by
// scanning forward from the last position asked about.
class CdataTracker {
public:
    explicit CdataTracker(QStringView text) : m_text(text) {}

    bool inside(qsizetype pos) {
        static const QLatin1String open("<![CDATA[");
        static const QLatin1String close("]]>");
        while (m_scan < pos) {
            const QStringView rest = m_text.mid(m_scan, pos - m_scan);
            const QLatin1String& token = m_inside ? close : open;
            const qsizetype found = rest.indexOf(token);
            if (found < 0 || m_scan + found + token.size() > pos) {
                // Keep a partial token in view for the next question.
                m_scan = qMax(m_scan, pos - token.size() + 1);
                break;
            }
            m_scan += found + token.size();
            m_inside = !m_inside;
        }
        return m_inside;
    }

private:
    QStringView m_text;
    qsizetype m_scan = 0;
    bool m_inside = false;
};

}  // namespace

CharsetEncoder::CharsetEncoder(const QByteArray& charset) : m_charset(charset) {
    const QByteArray upper = charset.toUpper();
    m_utf8 = upper == "UTF-8" || upper == "UTF8";
    if (!m_utf8)
        m_iconv = iconv_open(charset.constData(), kUtf16);
}

CharsetEncoder::~CharsetEncoder() {
    if (m_iconv && m_iconv != kNoIconv)
        iconv_close(static_cast<iconv_t>(m_iconv));
}

bool CharsetEncoder::isValid() const {
    return m_utf8 || (m_iconv && m_iconv != kNoIconv);
}

QByteArray CharsetEncoder::encode(const QString& markup) {
    if (m_utf8)
        return markup.toUtf8();
    if (!isValid())
        return QByteArray();
    const auto cd = static_cast<iconv_t>(m_iconv);
    QByteArray out;
    out.resize(markup.size() + 64);
    const char* const begin = reinterpret_cast<const char*>(markup.utf16());
    char* in = const_cast<char*>(begin);
    size_t inLeft = size_t(markup.size()) * 2;
    size_t used = 0;
    CdataTracker cdata(markup);

    const auto append = [&](const QByteArray& bytes) {
        if (out.size() - qsizetype(used) < bytes.size())
            out.resize(out.size() * 2 + bytes.size());
        std::copy(bytes.begin(), bytes.end(), out.data() + used);
        used += size_t(bytes.size());
    };

    while (inLeft > 0) {
        char* outPtr = out.data() + used;
        size_t outLeft = size_t(out.size()) - used;
        const size_t result = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
        used = size_t(outPtr - out.data());
        if (result != size_t(-1))
            break;
        if (errno == E2BIG) {
            out.resize(out.size() * 2);
            continue;
        }
        // A character the set lacks (or half a surrogate pair at the end).
        const qsizetype pos = (in - begin) / 2;
        char32_t code = markup.at(pos).unicode();
        size_t units = 1;
        if (QChar::isHighSurrogate(code) && pos + 1 < markup.size() &&
            markup.at(pos + 1).isLowSurrogate()) {
            code = QChar::surrogateToUcs4(markup.at(pos), markup.at(pos + 1));
            units = 2;
        }
        if (errno == EILSEQ) {
            const QByteArray reference = "&#" + QByteArray::number(quint32(code)) + ';';
            append(cdata.inside(pos) ? "]]>" + reference + "<![CDATA[" : reference);
        }
        in += units * 2;
        inLeft -= qMin(inLeft, units * 2);
    }
    char* outPtr = out.data() + used;
    size_t outLeft = size_t(out.size()) - used;
    if (iconv(cd, nullptr, nullptr, &outPtr, &outLeft) != size_t(-1))
        used = size_t(outPtr - out.data());
    out.truncate(qsizetype(used));
    return out;
}

}  // namespace tempolatch
