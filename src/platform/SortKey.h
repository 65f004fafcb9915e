#pragma once

#include <QByteArray>
#include <QString>

#include "platform/Property.h"

struct UCollator;

namespace tempolatch::platform {

// Builds the byte strings that the store's sort-order columns hold, so that
// comparing them as plain bytes orders records as the user expects: numbers
// and dates by value, texts in the locale's case-sensitive collation, with
// identical texts (and only those) giving identical keys. Records that lack
// the sort property sort after all others.
class SortKeyMaker {
public:
    explicit SortKeyMaker(const QString& localeName);
    ~SortKeyMaker();
    SortKeyMaker(const SortKeyMaker&) = delete;
    SortKeyMaker& operator=(const SortKeyMaker&) = delete;

    QString localeName() const { return m_localeName; }

    QByteArray keyOf(const Property& value) const;
    // The key of the record for the given sort property (absent: sorts last).
    QByteArray keyOf(const PropertyList& props, quint32 sortProp) const;
    static QByteArray missingKey();

private:
    QByteArray textKey(const QString& text) const;

    QString m_localeName;
    UCollator* m_collator = nullptr;
};

}  // namespace tempolatch::platform
