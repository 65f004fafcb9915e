#pragma once

#include <QString>

namespace tempolatch {

class RecordStore;

// The store is open, and only for reading: the user's role on a server
// store may not write, or the store file is read-only.
bool storeIsReadOnly(RecordStore& store);

// The code of a save refused because someone else changed the record since
// it was read (nothing was written): the user chooses what happens.
inline constexpr int ErrorChangedElsewhere = 1117;

// What a refused write of the store is told as: "Error: %d", followed for
// the failures a user can act on by what happened and what to do.
QString storeErrorText(int error);

// The write failed because another writer's transaction ran into it (a
// server store's serialization failure or deadlock): the same work run
// again may well go through.
bool isConflict(int error);

// How often bulk work is run in all before a conflict is reported.
inline constexpr int ConflictTries = 4;

// A short pause, longer after each try, so that the writers that ran into
// each other fall out of step.
void pauseAfterConflict(int tries);

// Runs `attempt` (one whole transaction) again while it fails on a conflict
// (`errorOf(result)` gives the store's code), ConflictTries times at most.
template <typename Attempt, typename ErrorOf>
auto retryOnConflict(Attempt attempt, ErrorOf errorOf) {
    auto result = attempt();
    for (int tries = 1; tries < ConflictTries && isConflict(errorOf(result)); ++tries) {
        pauseAfterConflict(tries);
        result = attempt();
    }
    return result;
}

}  // namespace tempolatch
