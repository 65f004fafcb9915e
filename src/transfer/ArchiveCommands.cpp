#include "transfer/ArchiveCommands.h"

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
#include "transfer/ArchiveOperation.h"
#include "transfer/ArchiveRangeDialog.h"
#include "widgets/CommandIds.h"
#include "widgets/CommandTable.h"
#include "widgets/SaveFileName.h"

namespace tempolatch {

using platform::MessageIcon;

bool archiveEntries(Context& context, QWidget* parent, const platform::SystemTime& start,
                    const platform::SystemTime& end) {
    ArchiveRangeDialog dialog(start, end, parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    return archiveEntriesInRange(context, parent,
                                 {dialog.start(), dialog.end(), dialog.deleteWhenArchived()});
}

bool archiveEntriesInRange(Context& context, QWidget* parent, const ArchiveRange& range) {
    const QString filter = resourceString(str::ArchiveFilter);
    const QString path = chooseOutputFile(context.ui, filter, parent).path;
    if (path.isEmpty())
        return false;
    const auto start = platform::toFileTime(range.start);
    const auto end = platform::toFileTime(range.end);
    ArchiveOperation::ArchiveResult result = ArchiveOperation::ArchiveResult::WriteFailed;
    int archived = 0;
    int keptChanged = 0;
    QString writeError;
    bool cancelled = false;
    if (start && end) {
        runInBackground(
            context, parent, QStringLiteral("Writing the archive..."),
            [&](Context& worker) {
                ArchiveOperation operation(worker.store, *start, *end);
                result = operation.archive(path, range.deleteArchived);
                archived = int(operation.archivedIds().size());
                keptChanged = operation.keptChanged();
                writeError = operation.errorString();
                return result == ArchiveOperation::ArchiveResult::Written;
            },
            &cancelled);
    }
    // Cancelled while deleting, the archive is complete and the entries stay.
    const bool deleted = range.deleteArchived && !cancelled;
    if (cancelled && result == ArchiveOperation::ArchiveResult::DeleteFailed)
        result = ArchiveOperation::ArchiveResult::Written;
    else if (cancelled)
        return true;
    switch (result) {
        case ArchiveOperation::ArchiveResult::Written:
            context.ui.noticeDone(QStringLiteral("Archive written to"), path,
                                  platform::recordCounts(archived) +
                                      (deleted ? QStringLiteral(", deleted here") : QString()));
            if (keptChanged > 0)
                context.ui.message(keptChangedText(keptChanged), MessageIcon::Information, parent);
            break;
        case ArchiveOperation::ArchiveResult::WriteFailed:
            context.ui.message(
                platform::writeFailureMessage(resourceString(str::ArchiveFailed), path, writeError),
                MessageIcon::Stop, parent);
            break;
        case ArchiveOperation::ArchiveResult::DeleteFailed: {
            // The archive is complete; the entries stay, as the deletion
            // was undone whole.
            context.ui.message(storeErrorText(context.store.lastError()), MessageIcon::Stop,
                               parent);
            break;
        }
    }
    return true;
}

bool loadArchive(Context& context, QWidget* parent) {
    const QString path =
        context.ui.openFile(QString(), resourceString(str::ArchiveFilter), QString(), parent);
    if (path.isEmpty())
        return false;
    return loadArchiveFrom(context, parent, path);
}

bool loadArchiveFrom(Context& context, QWidget* parent, const QString& path) {
    const int entriesBefore = TimeEntries(context.store).count();
    const int expensesBefore = Expenses(context.store).count();
    const std::optional<int> loaded = resultInBackground(
        context, parent, QStringLiteral("Loading the archive..."),
        [&](Context& worker) { return ArchiveOperation(worker.store).loadArchive(path); },
        BackupOperation::RestoreOk);
    if (!loaded)
        return true;
    const int result = *loaded;
    const LoadArchiveMessage message = loadArchiveMessage(result);
    if (!message.text.isEmpty())
        context.ui.message(message.text, message.icon, parent);
    if (result == BackupOperation::RestoreOk)
        context.ui.noticeDone(
            QStringLiteral("Archive loaded from"), path,
            platform::recordCounts(TimeEntries(context.store).count() - entriesBefore,
                                   Expenses(context.store).count() - expensesBefore) +
                QStringLiteral(" added"));
    return true;
}

void registerArchiveCommands(
    CommandTable& table, Context& context, QWidget* parent,
    std::function<void(platform::SystemTime& start, platform::SystemTime& end)> period,
    std::function<void()> changed) {
    table.add(cmd::ArchiveEntries, [&context, parent, period, changed](int) {
        platform::SystemTime start;
        platform::SystemTime end;
        period(start, end);
        if (archiveEntries(context, parent, start, end))
            changed();
    });
    table.add(cmd::ArchiveLoad, [&context, parent, changed](int) {
        if (loadArchive(context, parent))
            changed();
    });
}

}  // namespace tempolatch
