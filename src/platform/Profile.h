#pragma once

#include <QString>
#include <QStringList>

namespace tempolatch::platform {

// The folder that holds the user's store and registry. Defaults to the
// platform's per-user data folder; --profile DIR or TEMPOLATCH_PROFILE
// override it so that tests, demos and several users stay apart.
class Profile {
public:
    static QString folder();
    static void setFolder(const QString& folder);
    // True when the folder was given (--profile, TEMPOLATCH_PROFILE) rather
    // than the platform's default.
    static bool isChosen();

    // Bumped on every setFolder, so that per-profile singletons know to reopen.
    static int generation();

    static QString storePath();  // store.db
    // Where the profile keeps its store: store.db in the folder, unless
    // --store ADDRESS or TEMPOLATCH_STORE give another (a server's).
    static QString storeAddress();
    static void setStore(const QString& address);
    // True when the store is in the folder's file, not elsewhere.
    static bool storeIsFile();
    static QString registryPath();  // registry.db
    static QString timersPath();    // timers.dat
    // Every file the profile keeps: the two databases with their journals,
    // and the timers. Nothing the program writes for the user may replace them.
    static QStringList ownFiles();

    // Creates the folder when missing; false when it cannot be created.
    static bool ensureFolder();
};

}  // namespace tempolatch::platform
