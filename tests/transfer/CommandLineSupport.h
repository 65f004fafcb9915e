#pragma once

#include <QStringList>

#include "common/ProgramRun.h"
#include "common/TestEnvironment.h"
#include "platform/Profile.h"
#include "store/RecordStore.h"

namespace tempolatch::test {

// Opens the test's store on `profile`, to see it as the program left it.
inline bool openProfile(const QString& profile) {
    RecordStore& store = TestEnvironment::current().store();
    store.close();
    platform::Profile::setFolder(profile);
    return store.openAll();
}

}  // namespace tempolatch::test
