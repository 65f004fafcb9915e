#include "platform/SortKey.h"

#include <unicode/ucol.h>

#include <QtEndian>

namespace tempolatch::platform {

namespace {
constexpr char kPresent = 0x01;
constexpr char kMissing = 0x02;
}  // namespace

SortKeyMaker::SortKeyMaker(const QString& localeName) : m_localeName(localeName) {
    UErrorCode status = U_ZERO_ERROR;
    m_collator = ucol_open(localeName.toUtf8().constData(), &status);
    if (U_FAILURE(status)) {
        status = U_ZERO_ERROR;
        m_collator = ucol_open("", &status);
    }
    if (m_collator) {
        status = U_ZERO_ERROR;
        ucol_setStrength(m_collator, UCOL_TERTIARY);
    }
}

SortKeyMaker::~SortKeyMaker() {
    if (m_collator)
        ucol_close(m_collator);
}

QByteArray SortKeyMaker::missingKey() {
    return QByteArray(1, kMissing);
}

QByteArray SortKeyMaker::textKey(const QString& text) const {
    QByteArray key(1, kPresent);
    if (m_collator) {
        const auto* units = reinterpret_cast<const UChar*>(text.utf16());
        const int length = int(text.size());
        QByteArray collation(16 + length * 4, Qt::Uninitialized);
        int size =
            ucol_getSortKey(m_collator, units, length, reinterpret_cast<uint8_t*>(collation.data()),
                            int(collation.size()));
        if (size > collation.size()) {
            collation.resize(size);
            size = ucol_getSortKey(m_collator, units, length,
                                   reinterpret_cast<uint8_t*>(collation.data()), size);
        }
        // The collation key ends with its own zero byte, which separates it
        // from the raw units: a shorter key then sorts first, as it should.
        key.append(collation.constData(), size);
    } else {
        key.append('\0');
    }
    for (QChar c : text) {
        char be[2];
        qToBigEndian<quint16>(c.unicode(), be);
        key.append(be, 2);
    }
    return key;
}

QByteArray SortKeyMaker::keyOf(const Property& value) const {
    if (value.type() == PropText)
        return textKey(value.text);
    QByteArray key(9, kPresent);
    qToBigEndian<quint64>(value.type() == PropBlob ? 0 : value.number, key.data() + 1);
    return key;
}

QByteArray SortKeyMaker::keyOf(const PropertyList& props, quint32 sortProp) const {
    const Property* p = findProperty(props, sortProp);
    return p ? keyOf(*p) : missingKey();
}

}  // namespace tempolatch::platform
