#pragma once

#include <QList>
#include <QString>
#include <utility>

namespace tempolatch {

namespace platform {
class Registry;
}

// An empty criterion lets any value pass; another only a value that is the
// same text in the user's locale.
bool textMatches(const QString& criterion, const QString& value);

// A filter's values as the registry keeps them under the program's key.
struct FilterValues {
    QList<std::pair<const char*, QString>> texts;    // written only when not empty
    QList<const char*> cleared;                      // deleted, never written
    QList<std::pair<const char*, quint32>> numbers;  // always written
};

// Replaces the filter's values in one registry batch: every value named is
// deleted first, so that a criterion cleared since does not come back.
void storeFilterValues(platform::Registry& registry, const FilterValues& values);

}  // namespace tempolatch
