#pragma once

#include <QString>

namespace tempolatch::platform {

// The folder that holds the user's store and registry. Defaults to the
// platform's per-user data folder; --profile DIR or TEMPOLATCH_PROFILE
// override it so that tests, demos and several users stay apart.
class Profile {
public:
    static QString folder();
    static void setFolder(const QString& folder);

    // Bumped on every setFolder, so that per-profile singletons know to reopen.
    static int generation();

    static QString storePath();     // store.db
    static QString registryPath();  // registry.db

    // Creates the folder when missing; false when it cannot be created.
    static bool ensureFolder();
};

}  // namespace tempolatch::platform
