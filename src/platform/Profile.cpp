#include "platform/Profile.h"

#include <QDir>
#include <QStandardPaths>

namespace tempolatch::platform {

namespace {
QString g_folder;
int g_generation = 0;
bool g_chosen = false;
QString g_store;

QString defaultFolder() {
    const QString env = qEnvironmentVariable("TEMPOLATCH_PROFILE");
    if (!env.isEmpty())
        return env;
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/Tempolatch");
}
}  // namespace

QString Profile::folder() {
    if (g_folder.isEmpty())
        g_folder = QDir::cleanPath(defaultFolder());
    return g_folder;
}

void Profile::setFolder(const QString& folder) {
    g_folder = QDir::cleanPath(QDir(folder).absolutePath());
    g_chosen = true;
    ++g_generation;
}

bool Profile::isChosen() {
    return g_chosen || !qEnvironmentVariableIsEmpty("TEMPOLATCH_PROFILE");
}

int Profile::generation() {
    return g_generation;
}

QString Profile::storePath() {
    return folder() + QStringLiteral("/store.db");
}

QString Profile::storeAddress() {
    if (!g_store.isEmpty())
        return g_store;
    const QString env = qEnvironmentVariable("TEMPOLATCH_STORE");
    return env.isEmpty() ? storePath() : env;
}

void Profile::setStore(const QString& address) {
    g_store = address;
    ++g_generation;
}

bool Profile::storeIsFile() {
    return storeAddress() == storePath();
}

QString Profile::registryPath() {
    return folder() + QStringLiteral("/registry.db");
}

QString Profile::timersPath() {
    return folder() + QStringLiteral("/timers.dat");
}

QStringList Profile::ownFiles() {
    QStringList files;
    for (const QString& database : {storePath(), registryPath()}) {
        for (const char* suffix : {"", "-wal", "-shm", "-journal"})
            files.append(database + QLatin1String(suffix));
    }
    files.append(timersPath());
    return files;
}

bool Profile::ensureFolder() {
    return QDir().mkpath(folder());
}

}  // namespace tempolatch::platform
