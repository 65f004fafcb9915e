#include "widgets/CommandIcons.h"

#include <QApplication>
#include <QStyle>

#include "widgets/CommandIds.h"

namespace tempolatch {

namespace {

struct StandardIcon {
    int id;
    const char* themeName;
    QStyle::StandardPixmap fallback;
};

// QStyle::SP_CustomBase: no pixmap of the style fits; the theme's or none.
constexpr StandardIcon kIcons[] = {
    {cmd::Undo, "edit-undo", QStyle::SP_ArrowBack},
    {cmd::Redo, "edit-redo", QStyle::SP_ArrowForward},
    {cmd::Delete, "edit-delete", QStyle::SP_TrashIcon},
    {cmd::Copy, "edit-copy", QStyle::SP_CustomBase},
    {cmd::Edit, "document-edit", QStyle::SP_FileDialogDetailedView},
    {cmd::Preview, "document-preview", QStyle::SP_FileDialogContentsView},
    {cmd::ReplaceFieldText, "edit-find-replace", QStyle::SP_CustomBase},
    {cmd::BackupCreate, "document-save", QStyle::SP_DialogSaveButton},
    {cmd::BackupRestore, "document-open", QStyle::SP_DialogOpenButton},
    {cmd::RemoveAllData, "edit-clear", QStyle::SP_DialogDiscardButton},
    {cmd::Options, "preferences-system", QStyle::SP_CustomBase},
    {cmd::HelpContents, "help-contents", QStyle::SP_DialogHelpButton},
    {cmd::KeyboardShortcuts, "preferences-desktop-keyboard", QStyle::SP_CustomBase},
    {cmd::About, "help-about", QStyle::SP_MessageBoxInformation},
};

}  // namespace

QIcon commandIcon(int id) {
    for (const StandardIcon& icon : kIcons) {
        if (icon.id != id)
            continue;
        QIcon themed = QIcon::fromTheme(QString::fromLatin1(icon.themeName));
        if (!themed.isNull() || icon.fallback == QStyle::SP_CustomBase)
            return themed;
        return QApplication::style()->standardIcon(icon.fallback);
    }
    return {};
}

}  // namespace tempolatch
