#pragma once

#include <QtGlobal>

namespace tempolatch {

namespace platform {
class ObjectStore;
}

// The client id counter: the single kind-0 record of the lists database.
// Ids only grow; 0 never comes from it (it stands for "no client").
class ClientIdCounter {
public:
    explicit ClientIdCounter(platform::ObjectStore* store) : m_store(store) {}

    // Writes the counter when it is missing: with the registry's NextClient
    // when the clients database already existed, else with 1.
    bool ensure(bool clientsExisted);

    // Takes the next id and advances the counter, atomically across
    // processes. 0 when there is no counter.
    quint32 next();

    // The id the next client would get; 0 when there is no counter.
    quint32 peek();

private:
    platform::ObjectStore* m_store;
};

}  // namespace tempolatch
