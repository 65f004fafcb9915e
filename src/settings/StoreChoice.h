#pragma once

#include <QString>

namespace tempolatch {

namespace platform {
class Registry;
}

// Which store a profile keeps its data in: its own file, or a shared store
// on a server that the user connected it to (Options, Store page). The
// server's address is kept in the profile's registry, never with a password.
namespace storechoice {

// The server address the profile is connected to; empty: its own file.
QString kept(platform::Registry& registry);
// Connects the profile to that server (the address is kept without any
// password in it), or back to its file (empty), from now on: the next
// opening of the store opens that one. False when the registry could not
// keep it.
bool keep(platform::Registry& registry, const QString& address);
// At start: the profile's store is the one kept, unless --store or
// TEMPOLATCH_STORE name one for this run.
void apply(platform::Registry& registry);
// The store of this run as it may be shown: the file's path, or the
// server's address without a password.
QString shownStore();
// The store of this run was named by --store or TEMPOLATCH_STORE: the
// profile's choice does not apply.
bool givenForThisRun();

}  // namespace storechoice

}  // namespace tempolatch
