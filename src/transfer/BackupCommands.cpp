#include "transfer/BackupCommands.h"

#include <QApplication>
#include <QFileInfo>
#include <utility>

#include "platform/ObjectStore.h"
#include "platform/StringTable.h"
#include "platform/Ui.h"
#include "store/RecordStore.h"
#include "transfer/BackupOperation.h"
#include "widgets/CommandIds.h"
#include "widgets/CommandTable.h"
#include "widgets/ProgressDialog.h"

namespace tempolatch {

using platform::Answer;
using platform::MessageIcon;
using platform::Ui;

namespace {

// Yes/No with the exclamation icon; No is the default.
bool askYesNo(int text, QWidget* parent) {
    return Ui::instance().ask(resourceString(text), MessageIcon::Warning, Ui::Buttons::YesNo,
                              Answer::No, parent) == Answer::Yes;
}

}  // namespace

bool createBackup(QWidget* parent) {
    QString path =
        Ui::instance().saveFile(QString(), resourceString(str::BackupFilter), QString(), parent);
    if (path.isEmpty())
        return false;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".tld");
    bool ok = false;
    ProgressDialog dialog(resourceString(str::BackupInProgress), parent);
    dialog.run([&](ProgressDialog&) { ok = BackupOperation().backup(path); });
    if (!ok)
        Ui::instance().message(resourceString(str::BackupFailed), MessageIcon::Stop, parent);
    return false;
}

bool restoreBackup(QWidget* parent) {
    const QString path =
        Ui::instance().openFile(QString(), resourceString(str::BackupFilter), QString(), parent);
    if (path.isEmpty())
        return false;
    // The deletion runs inside the restore, so that a file that turns out
    // to be unusable leaves the data where it was.
    const bool deleteAll = askYesNo(str::DeleteBeforeRestoreQuestion, parent);
    int result = BackupOperation::RestoreFailed;
    ProgressDialog dialog(resourceString(str::RestoreInProgress), parent);
    dialog.run(
        [&](ProgressDialog&) { result = BackupOperation().restore(path, deleteAll, parent); });
    const QString text = restoreResultText(result);
    if (!text.isEmpty())
        Ui::instance().message(text, MessageIcon::Stop, parent);
    return true;
}

bool removeAllData(QWidget* parent) {
    if (!askYesNo(str::DeleteAllDataQuestion, parent))
        return false;
    RecordStore& store = RecordStore::instance();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool ok = store.deleteAllData(parent);
    QApplication::restoreOverrideCursor();
    // Everything is kept when the deletion cannot be completed; say so
    // rather than let the user believe the data is gone.
    if (!ok) {
        const int error = store.objectStore() ? store.objectStore()->lastError() : 0;
        Ui::instance().message(QStringLiteral("Error: %1").arg(error), MessageIcon::Stop, parent);
    }
    return true;
}

void registerDataCommands(CommandTable& table, QWidget* parent, std::function<void()> changed) {
    const std::pair<int, bool (*)(QWidget*)> commands[] = {{cmd::BackupCreate, createBackup},
                                                           {cmd::BackupRestore, restoreBackup},
                                                           {cmd::RemoveAllData, removeAllData}};
    for (const auto& [id, run] : commands) {
        table.add(id, [parent, changed, run = run](int) {
            if (run(parent))
                changed();
        });
    }
}

}  // namespace tempolatch
