#include "views/EntryRow.h"

#include "platform/Locale.h"

namespace tempolatch {

int compareRows(const EntryRow& a, const EntryRow& b, int arrangeBy) {
    if (arrangeBy > 0) {
        const QString keyA = a.keys.value(arrangeBy);
        const QString keyB = b.keys.value(arrangeBy);
        if (const int c = platform::Locale::compare(keyA, keyB))
            return c;
    }
    if (a.date != b.date)
        return a.date < b.date ? -1 : 1;
    if (const int c = platform::Locale::compare(a.tieText, b.tieText))
        return c;
    if (a.tieTime != b.tieTime)
        return a.tieTime < b.tieTime ? -1 : 1;
    return 0;
}

}  // namespace tempolatch
