#include "records/FilterValues.h"

#include "platform/Locale.h"
#include "platform/Registry.h"

namespace tempolatch {

bool textMatches(const QString& criterion, const QString& value) {
    return criterion.isEmpty() || platform::Locale::compare(criterion, value) == 0;
}

void storeFilterValues(platform::Registry& registry, const FilterValues& values) {
    const QString key = QString::fromLatin1(platform::Registry::AppKey);
    if (!registry.isOpen() || (!registry.keyExists(key) && !registry.createKey(key)))
        return;
    registry.beginBatch();
    for (const auto& [name, text] : values.texts)
        registry.deleteValue(key, QString::fromLatin1(name));
    for (const char* name : values.cleared)
        registry.deleteValue(key, QString::fromLatin1(name));
    for (const auto& [name, number] : values.numbers)
        registry.deleteValue(key, QString::fromLatin1(name));
    for (const auto& [name, text] : values.texts) {
        if (!text.isEmpty())
            registry.writeString(key, QString::fromLatin1(name), text, int(text.size() + 1) * 2);
    }
    for (const auto& [name, number] : values.numbers)
        registry.writeNumber(key, QString::fromLatin1(name), number);
    registry.endBatch();
}

}  // namespace tempolatch
