#include "platform/contacts/ContactFolders.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QStandardPaths>

#include "platform/Profile.h"
#include "platform/Registry.h"
#include "platform/contacts/VCardReader.h"

namespace tempolatch::platform {

namespace {

const QString kKey = QStringLiteral("Software\\Tempolatch\\Contacts");
const QString kFolderValue = QStringLiteral("Folder");
constexpr int MaxFolderChars = 4096;
// A folder with more subfolders than this is not an address book.
constexpr int MaxSubfolders = 256;

// The same folder reached by two paths (a link, a trailing slash) is read once.
QString identity(const QString& folder) {
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(folder) : canonical;
}

void appendOnce(QStringList& folders, QSet<QString>& seen, const QString& folder) {
    if (!seen.contains(identity(folder))) {
        seen.insert(identity(folder));
        folders.append(QDir::cleanPath(folder));
    }
}

}  // namespace

QString ContactFolders::profileFolder() {
    return Profile::folder() + QStringLiteral("/contacts");
}

QStringList ContactFolders::desktopFolders(const QString& homeFolder, const QString& dataFolder) {
    QStringList bases;
    if (!dataFolder.isEmpty())
        bases << dataFolder + QStringLiteral("/contacts")
              << dataFolder + QStringLiteral("/evolution/addressbook");
    if (!homeFolder.isEmpty())
        bases << homeFolder + QStringLiteral("/Contacts")
              << homeFolder + QStringLiteral("/.contacts");

    QStringList folders;
    QSet<QString> seen;
    for (const QString& base : bases) {
        if (!QFileInfo(base).isDir())
            continue;
        if (VCardReader::hasVcfFiles(base))
            appendOnce(folders, seen, base);
        const QStringList subfolders =
            QDir(base).entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Readable, QDir::Name);
        for (qsizetype i = 0; i < subfolders.size() && i < MaxSubfolders; ++i) {
            const QString sub = base + QLatin1Char('/') + subfolders.at(i);
            if (VCardReader::hasVcfFiles(sub))
                appendOnce(folders, seen, sub);
        }
    }
    return folders;
}

QStringList ContactFolders::defaults() {
    QStringList folders{profileFolder()};
    QSet<QString> seen{identity(profileFolder())};
    const QStringList desktop = desktopFolders(
        QDir::homePath(), QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
    for (const QString& folder : desktop)
        appendOnce(folders, seen, folder);
    return folders;
}

QString ContactFolders::remembered(const Registry& registry) {
    const auto folder = registry.readString(kKey, kFolderValue, 2 * (MaxFolderChars + 1));
    if (!folder || folder->isEmpty() || !QFileInfo(*folder).isDir())
        return {};
    return *folder;
}

bool ContactFolders::remember(Registry& registry, const QString& folder) {
    const QString clean = QDir::cleanPath(folder);
    if (clean.isEmpty() || clean.size() > MaxFolderChars)
        return false;
    return registry.createKey(kKey) &&
           registry.writeString(kKey, kFolderValue, clean, int(2 * (clean.size() + 1)));
}

QStringList ContactFolders::forChooser(const Registry& registry) {
    QStringList folders = defaults();
    const QString picked = remembered(registry);
    if (!picked.isEmpty()) {
        QSet<QString> seen;
        for (const QString& folder : folders)
            seen.insert(identity(folder));
        appendOnce(folders, seen, picked);
    }
    return folders;
}

}  // namespace tempolatch::platform
