#include "editing/EntryCommands.h"

#include <QLineEdit>

#include "editing/EntryChangeCommands.h"
#include "editing/EntryEditor.h"
#include "editing/EntrySummary.h"
#include "platform/StringTable.h"
#include "settings/Context.h"
#include "store/RecordStore.h"
#include "store/TimeEntries.h"
#include "widgets/CommandIds.h"
#include "widgets/CommandTable.h"
#include "widgets/NameInputDialog.h"

namespace tempolatch::entrycommands {

namespace {

std::optional<quint32> run(Context& context, QWidget* parent, const TimeEntry* from,
                           bool keepValues, int page) {
    quint32 id = 0;
    if (!EntryEditor::edit(context, parent, from, keepValues, page, &id))
        return std::nullopt;
    return id;
}

}  // namespace

std::optional<TimeEntry> readStoredEntry(RecordStore& store, quint32 recordId) {
    if (recordId == 0 || !store.isOpen())
        return std::nullopt;
    return TimeEntries(store).find(recordId);
}

std::optional<quint32> parseRecordId(const QString& text) {
    QString digits = text.trimmed();
    if (digits.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        digits = digits.mid(2);
    bool ok = false;
    const quint32 id = digits.toUInt(&ok, 16);
    if (!ok || id == 0)
        return std::nullopt;
    return id;
}

std::optional<quint32> newEntry(Context& context, QWidget* parent,
                                const platform::SystemTime& day) {
    TimeEntry fresh;
    platform::SystemTime midnight = day;
    midnight.hour = midnight.minute = midnight.second = midnight.milliseconds = 0;
    fresh.date = platform::toFileTime(midnight).value_or(platform::FileTime{});
    return run(context, parent, &fresh, false, EntryEditor::GeneralPage);
}

std::optional<quint32> editEntry(Context& context, QWidget* parent, quint32 recordId, int page) {
    const std::optional<TimeEntry> entry = readStoredEntry(context.store, recordId);
    if (!entry)
        return std::nullopt;
    return run(context, parent, &*entry, false, page);
}

std::optional<quint32> copyEntry(Context& context, QWidget* parent, quint32 recordId) {
    std::optional<TimeEntry> entry = readStoredEntry(context.store, recordId);
    if (!entry)
        return std::nullopt;
    entry->recordId = 0;
    return run(context, parent, &*entry, true, EntryEditor::GeneralPage);
}

std::optional<quint32> openEntryById(Context& context, QWidget* parent) {
    NameInputDialog dialog(resourceString(str::EditPrompt), parent);
    dialog.setObjectName(QStringLiteral("recordIdInput"));
    dialog.nameEdit()->setMaxLength(32);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const std::optional<quint32> id = parseRecordId(dialog.name());
    if (!id)
        return std::nullopt;
    return editEntry(context, parent, *id, EntryEditor::GeneralPage);
}

bool previewEntry(Context& context, QWidget* parent, quint32 recordId) {
    const std::optional<TimeEntry> entry = readStoredEntry(context.store, recordId);
    if (!entry)
        return false;
    EntrySummary summary(context, *entry, parent);
    summary.exec();
    return summary.editRequested();
}

}  // namespace tempolatch::entrycommands

namespace tempolatch {

void registerEntryCommands(CommandTable& table, const EntryCommandHost& host) {
    using namespace entrycommands;
    table.add(cmd::New, [host](int) {
        host.saved(newEntry(*host.context, host.parent, host.newEntryDay()));
    });
    table.add({cmd::EditSelected, cmd::Edit}, [host](int) {
        host.saved(
            editEntry(*host.context, host.parent, host.selectedEntry(), EntryEditor::GeneralPage));
    });
    table.add(cmd::EditNote, [host](int) {
        host.saved(
            editEntry(*host.context, host.parent, host.selectedEntry(), EntryEditor::NotePage));
    });
    table.add(cmd::CreateCopy, [host](int) {
        host.saved(copyEntry(*host.context, host.parent, host.selectedEntry()));
    });
    table.add(cmd::OpenEntryById,
              [host](int) { host.saved(openEntryById(*host.context, host.parent)); });
    table.add(cmd::Preview, [host](int) {
        const quint32 id = host.selectedEntry();
        if (id == 0)
            return;
        const bool edit = previewEntry(*host.context, host.parent, id);
        // The note may have been changed there.
        host.saved(id);
        if (edit)
            host.post(cmd::EditSelected);
    });
    registerEntryChangeCommands(table, host);
}

}  // namespace tempolatch
