#pragma once

#include <QTemporaryDir>
#include <map>
#include <memory>
#include <utility>

#include "LargeStore.h"
#include "platform/Profile.h"
#include "store/RecordStore.h"

namespace tempolatch::bench {

// A profile folder with a generated store, kept for the whole run.
struct LargeProfile {
    QTemporaryDir dir;
    RecordStore store;

    LargeProfile(int entries, bool textNotes) {
        platform::Profile::setFolder(dir.path());
        if (!store.openAll() || !generateLargeStore(store, entries, textNotes))
            qFatal("cannot generate a store of %d entries", entries);
    }
};

// The store of that size, generated on first use.
inline LargeProfile& largeProfile(int entries, bool textNotes = false) {
    static std::map<std::pair<int, bool>, std::unique_ptr<LargeProfile>> profiles;
    auto& slot = profiles[{entries, textNotes}];
    if (!slot)
        slot = std::make_unique<LargeProfile>(entries, textNotes);
    return *slot;
}

}  // namespace tempolatch::bench
