#pragma once

#include <QString>
#include <QStringList>

namespace tempolatch::platform {

class Registry;

// Where the contact chooser looks for .vcf files: the "contacts" folder of
// the profile, the desktop's own address-book folders that hold vCard files,
// and the folder the user last picked in the chooser.
class ContactFolders {
public:
    static QString profileFolder();

    // The desktop address books under the given home and data folders
    // (~/.local/share/contacts, the Evolution address books, ~/Contacts,
    // ~/.contacts, and one level of their subfolders, as synchronising tools
    // keep one folder per address book), only those that hold .vcf files.
    static QStringList desktopFolders(const QString& homeFolder, const QString& dataFolder);

    // The profile's folder first, then this user's desktop address books.
    static QStringList defaults();

    // The folder last picked in the chooser, when it still exists.
    static QString remembered(const Registry& registry);
    static bool remember(Registry& registry, const QString& folder);

    // What the chooser reads when it opens: the defaults and the remembered
    // folder, each once.
    static QStringList forChooser(const Registry& registry);
};

}  // namespace tempolatch::platform
