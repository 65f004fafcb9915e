#include "settings/StoreChoice.h"

#include <QDir>
#include <QFileInfo>

#include "platform/Profile.h"
#include "platform/Registry.h"
#include "platform/StoreAddress.h"

namespace tempolatch::storechoice {

namespace {

const QString kKey = QString::fromLatin1(platform::Registry::AppKey);
const QString kStore = QStringLiteral("Store");

bool g_given = false;

}  // namespace

QString kept(platform::Registry& registry) {
    const QString address =
        QString::fromUtf8(registry.readBytes(kKey, kStore).value_or(QByteArray()));
    return platform::isServerAddress(address) ? address : QString();
}

bool keep(platform::Registry& registry, const QString& address) {
    const QString server =
        platform::isServerAddress(address) ? platform::shownAddress(address) : QString();
    const bool written =
        server.isEmpty() ? !registry.readBytes(kKey, kStore) || registry.deleteValue(kKey, kStore)
                         : (registry.keyExists(kKey) || registry.createKey(kKey)) &&
                               registry.writeBytes(kKey, kStore, server.toUtf8());
    // This run goes on with the address as typed: a password in it stays
    // in memory only.
    if (written && !g_given)
        platform::Profile::setStore(server.isEmpty() ? QString() : address);
    return written;
}

void apply(platform::Registry& registry) {
    g_given = !platform::Profile::storeIsFile();
    // A profile without a registry file has kept nothing, and reading it
    // would make one (a command on a missing profile creates nothing).
    if (!g_given && QFileInfo::exists(platform::Profile::registryPath()))
        platform::Profile::setStore(kept(registry));
}

QString shownStore() {
    const QString address = platform::Profile::storeAddress();
    return platform::isServerAddress(address) ? platform::shownAddress(address)
                                              : QDir::toNativeSeparators(address);
}

bool givenForThisRun() {
    return g_given;
}

}  // namespace tempolatch::storechoice
