#include "store/ClientIdCounter.h"

#include "platform/ObjectStore.h"
#include "platform/Profile.h"
#include "platform/Registry.h"
#include "store/ListsDatabase.h"

namespace tempolatch {

using platform::Property;
using platform::PropertyList;

namespace {

// A store written before the counter moved into it: the next id is still
// in the registry of the store's profile.
quint32 registryNextClient() {
    platform::Registry reg(platform::Profile::registryPath());
    const QString key = QString::fromLatin1(platform::Registry::AppKey);
    if (!reg.keyExists(key) && !reg.createKey(key))
        return 1;
    return reg.readNumber(key, QStringLiteral("NextClient")).value_or(1);
}

const Property kCounterKind = Property::ui2(prop::ListKind, quint16(ListKind::ClientCounter));

}  // namespace

bool ClientIdCounter::ensure(bool clientsExisted) {
    ListsByKind lists(m_store);
    if (!lists.open())
        return false;
    if (lists.seekFirst(kCounterKind) != 0)
        return true;
    const quint32 start = clientsExisted ? registryNextClient() : 1;
    return lists.addProperties({kCounterKind, Property::ui4(prop::NextClientId, start)}) != 0;
}

quint32 ClientIdCounter::peek() {
    ListsByKind lists(m_store);
    PropertyList props;
    if (!lists.open() || lists.seekFirst(kCounterKind) == 0 ||
        lists.readProperty(props, {prop::NextClientId}) != ReadResult::Read || props.isEmpty())
        return 0;
    return props.first().toUi4();
}

quint32 ClientIdCounter::next() {
    ListsByKind lists(m_store);
    if (!lists.open())
        return 0;
    // The batch takes the store's write lock first, so that no other
    // process reads the same value between our read and our write.
    platform::StoreBatch batch(*lists.objectStore());
    if (!batch.isActive())
        return 0;
    PropertyList props;
    if (lists.seekFirst(kCounterKind) == 0 ||
        lists.readProperty(props, {prop::NextClientId}) != ReadResult::Read || props.isEmpty())
        return 0;
    const quint32 id = props.first().toUi4();
    if (id == 0 || id == 0xFFFFFFFF ||
        !lists.updateProperties({Property::ui4(prop::NextClientId, id + 1)}) || !batch.commit())
        return 0;
    return id;
}

}  // namespace tempolatch
