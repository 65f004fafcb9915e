#include "settings/InvoiceNumbers.h"

#include <QString>

#include "platform/Registry.h"

namespace tempolatch::invoicenumbers {

namespace {

const QString kKey = QString::fromLatin1(platform::Registry::AppKey);
const QString kNext = QStringLiteral("NextInvoice");

}  // namespace

quint32 next(const platform::Registry& registry) {
    return registry.readNumber(kKey, kNext).value_or(0);
}

bool setNext(platform::Registry& registry, quint32 number) {
    if (!registry.keyExists(kKey) && !registry.createKey(kKey))
        return false;
    return number == 0 ? registry.deleteValue(kKey, kNext)
                       : registry.writeNumber(kKey, kNext, number);
}

quint32 take(platform::Registry& registry) {
    // The batch holds the registry's write lock from the read on.
    if (!registry.beginBatch())
        return 0;
    const quint32 number = next(registry);
    const bool moved =
        number != 0 && number != 0xFFFFFFFFu && registry.writeNumber(kKey, kNext, number + 1);
    return registry.endBatch() && moved ? number : 0;
}

void giveBack(platform::Registry& registry, quint32 number) {
    if (number == 0 || !registry.beginBatch())
        return;
    if (next(registry) == number + 1)
        registry.writeNumber(kKey, kNext, number);
    registry.endBatch();
}

}  // namespace tempolatch::invoicenumbers
