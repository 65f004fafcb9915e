#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

namespace tempolatch {

// The small icons of the lists and the navigation bar, drawn from our SVG
// files at whatever size the screen asks for.
class ViewIcons {
public:
    // An icon by file name without ".svg" ("status-paid", "tree-client").
    static QIcon icon(const QString& name);
    static QPixmap pixmap(const QString& name, int size);

    // Image 1 + status of the Default and Simple lists, with the note
    // overlay drawn over it when the entry has a note.
    static QIcon statusIcon(int status, bool withNote);
    // Images 1 to 11 of the tree list (TreeImage), with the note overlay.
    static QIcon treeIcon(int image, bool withNote);

    // The file name of a tree image; empty for an unknown one.
    static QString treeImageName(int image);
    static QString statusName(int status);
};

}  // namespace tempolatch
