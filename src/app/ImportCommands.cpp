#include "app/ImportCommands.h"

#include <QFileInfo>

#include "notes/NoteData.h"
#include "platform/Ui.h"
#include "settings/Context.h"
#include "settings/Settings.h"
#include "transfer/ImportPreviewDialog.h"
#include "widgets/CommandIds.h"
#include "widgets/CommandTable.h"
#include "widgets/WaitCursor.h"

namespace tempolatch {

QByteArray importedNote(const QString& text) {
    return NoteData::fromContent({NoteText::fromPlainText(text), {}}).bytes();
}

EntryStatus importedStatus(const Settings& settings) {
    return settings.hasFlag(NewEntriesBillable) ? EntryStatus::Billable : EntryStatus::NonBillable;
}

bool confirmInPreviewDialog(const ImportPlan& plan, const QString& path, QWidget* parent) {
    ImportPreviewDialog dialog(plan, QFileInfo(path).fileName(), parent);
    return dialog.exec() == QDialog::Accepted;
}

namespace {

QString exportFilter(ImportFormat format) {
    switch (format) {
        case ImportFormat::Toggl:
            return QStringLiteral("Toggl Track CSV (*.csv)|*.csv|All Files (*.*)|*.*|");
        case ImportFormat::Harvest:
            return QStringLiteral("Harvest CSV (*.csv)|*.csv|All Files (*.*)|*.*|");
        case ImportFormat::Kimai:
            return QStringLiteral(
                "Kimai CSV or JSON (*.csv *.json)|*.csv;*.json|All Files (*.*)|*.*|");
        case ImportFormat::ICalendar:
            return QStringLiteral("iCalendar (*.ics)|*.ics|All Files (*.*)|*.*|");
        case ImportFormat::Timewarrior:
            break;
    }
    return QStringLiteral("Timewarrior JSON (*.json)|*.json|All Files (*.*)|*.*|");
}

}  // namespace

bool importTimeEntries(Context& context, QWidget* parent, ImportFormat format,
                       const ImportConfirm& confirm) {
    const QString path = context.ui.openFile(QString(), exportFilter(format), QString(), parent);
    if (path.isEmpty())
        return false;
    ImportPlan plan;
    {
        WaitCursor wait;
        plan = planImport(context.store, format, path, importedStatus(context.settings));
    }
    if (!confirm(plan, path, parent) || !plan.canImport() || plan.toAdd.isEmpty())
        return false;
    StoreOutcome outcome;
    {
        WaitCursor wait;
        outcome = runImport(context.store, plan, importedNote);
    }
    if (!outcome.succeeded()) {
        context.ui.message(QStringLiteral("Error: %1").arg(outcome.error),
                           platform::MessageIcon::Stop, parent);
        return false;
    }
    context.ui.noticeDone(QStringLiteral("Imported from"), path,
                          QStringLiteral("%1 entries added").arg(plan.toAdd.size()));
    return true;
}

void registerImportCommands(CommandTable& table, Context& context, QWidget* parent,
                            std::function<void()> changed) {
    for (auto [id, format] : {std::pair{cmd::ImportToggl, ImportFormat::Toggl},
                              std::pair{cmd::ImportHarvest, ImportFormat::Harvest},
                              std::pair{cmd::ImportTimewarrior, ImportFormat::Timewarrior},
                              std::pair{cmd::ImportKimai, ImportFormat::Kimai},
                              std::pair{cmd::ImportICalendar, ImportFormat::ICalendar}}) {
        table.add(id, [&context, parent, changed, format = format](int) {
            if (importTimeEntries(context, parent, format))
                changed();
        });
    }
}

}  // namespace tempolatch
