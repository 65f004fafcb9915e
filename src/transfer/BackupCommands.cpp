#include "transfer/BackupCommands.h"

#include <QWidget>
#include <utility>

#include "platform/FileProblem.h"
#include "platform/StringTable.h"
#include "platform/Ui.h"
#include "settings/BackgroundWork.h"
#include "settings/Context.h"
#include "store/Expenses.h"
#include "store/RecordStore.h"
#include "store/StoreFailure.h"
#include "store/TimeEntries.h"
#include "transfer/BackupOperation.h"
#include "widgets/CommandIds.h"
#include "widgets/CommandTable.h"
#include "widgets/SaveFileName.h"
#include "widgets/WaitCursor.h"

namespace tempolatch {

using platform::Answer;
using platform::MessageIcon;
using platform::Ui;

namespace {

// Yes/No with the exclamation icon; No is the default.
bool askYesNo(Ui& ui, int text, QWidget* parent) {
    return ui.ask(resourceString(text), MessageIcon::Warning, Ui::Buttons::YesNo, Answer::No,
                  parent) == Answer::Yes;
}

}  // namespace

QString storedCounts(RecordStore& store) {
    return platform::recordCounts(TimeEntries(store).count(), Expenses(store).count());
}

bool createBackup(Context& context, QWidget* parent) {
    const QString filter = resourceString(str::BackupFilter);
    const QString path = chooseOutputFile(context.ui, filter, parent).path;
    if (path.isEmpty())
        return false;
    QString error;
    bool cancelled = false;
    const bool ok = runInBackground(
        context, parent, resourceString(str::BackupInProgress),
        [&](Context& worker) {
            BackupOperation backup(worker.store);
            const bool written = backup.backup(path);
            error = backup.errorString();
            return written;
        },
        &cancelled);
    if (cancelled)
        return false;
    if (!ok)
        context.ui.message(
            platform::writeFailureMessage(resourceString(str::BackupFailed), path, error),
            MessageIcon::Stop, parent);
    else
        context.ui.noticeDone(QStringLiteral("Backup written to"), path,
                              storedCounts(context.store));
    return false;
}

bool restoreBackup(Context& context, QWidget* parent) {
    const QString path =
        context.ui.openFile(QString(), resourceString(str::BackupFilter), QString(), parent);
    if (path.isEmpty())
        return false;
    return restoreBackupFrom(context, parent, path);
}

bool restoreBackupFrom(Context& context, QWidget* parent, const QString& path) {
    // The deletion runs inside the restore, so that a file that turns out
    // to be unusable leaves the data where it was.
    const bool deleteAll = askYesNo(context.ui, str::DeleteBeforeRestoreQuestion, parent);
    const std::optional<int> restored = resultInBackground(
        context, parent, resourceString(str::RestoreInProgress),
        [&](Context& worker) { return BackupOperation(worker.store).restore(path, deleteAll); },
        BackupOperation::RestoreOk);
    if (!restored)
        return true;
    const int result = *restored;
    const QString text = restoreResultText(result);
    if (!text.isEmpty())
        context.ui.message(text, MessageIcon::Stop, parent);
    else if (result == BackupOperation::RestoreOk)
        context.ui.noticeDone(QStringLiteral("Restored from"), path,
                              storedCounts(context.store) + QStringLiteral(" now"));
    return true;
}

bool removeAllData(Context& context, QWidget* parent) {
    if (!askYesNo(context.ui, str::DeleteAllDataQuestion, parent))
        return false;
    RecordStore& store = context.store;
    bool ok = false;
    {
        const WaitCursor wait;
        ok = store.deleteAllData(parent);
    }
    // Everything is kept when the deletion cannot be completed; say so
    // rather than let the user believe the data is gone.
    if (!ok) {
        context.ui.message(storeErrorText(store.lastError()), MessageIcon::Stop, parent);
    }
    return true;
}

void registerDataCommands(CommandTable& table, Context& context, QWidget* parent,
                          std::function<void()> changed) {
    const std::pair<int, bool (*)(Context&, QWidget*)> commands[] = {
        {cmd::BackupCreate, createBackup},
        {cmd::BackupRestore, restoreBackup},
        {cmd::RemoveAllData, removeAllData}};
    for (const auto& [id, run] : commands) {
        table.add(id, [&context, parent, changed, run = run](int) {
            if (run(context, parent))
                changed();
        });
    }
}

}  // namespace tempolatch
