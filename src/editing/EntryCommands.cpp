#include "editing/EntryCommands.h"

#include <QLineEdit>

#include "clients/NameInputDialog.h"
#include "editing/EntryEditor.h"
#include "editing/EntrySummary.h"
#include "platform/StringTable.h"
#include "store/RecordStore.h"
#include "store/TimeEntries.h"

namespace tempolatch::entrycommands {

namespace {

std::optional<quint32> run(QWidget* parent, const TimeEntry* from, bool keepValues, int page) {
    quint32 id = 0;
    if (!EntryEditor::edit(parent, from, keepValues, page, &id))
        return std::nullopt;
    return id;
}

}  // namespace

std::optional<TimeEntry> readStoredEntry(quint32 recordId) {
    RecordStore& store = RecordStore::instance();
    if (recordId == 0 || !store.isOpen())
        return std::nullopt;
    return TimeEntries(store.entries()).find(recordId);
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

std::optional<quint32> newEntry(QWidget* parent) {
    return run(parent, nullptr, false, EntryEditor::GeneralPage);
}

std::optional<quint32> editEntry(QWidget* parent, quint32 recordId, int page) {
    const std::optional<TimeEntry> entry = readStoredEntry(recordId);
    if (!entry)
        return std::nullopt;
    return run(parent, &*entry, false, page);
}

std::optional<quint32> copyEntry(QWidget* parent, quint32 recordId) {
    std::optional<TimeEntry> entry = readStoredEntry(recordId);
    if (!entry)
        return std::nullopt;
    entry->recordId = 0;
    return run(parent, &*entry, true, EntryEditor::GeneralPage);
}

std::optional<quint32> openEntryById(QWidget* parent) {
    NameInputDialog dialog(resourceString(str::EditPrompt), parent);
    dialog.setObjectName(QStringLiteral("recordIdInput"));
    dialog.nameEdit()->setMaxLength(32);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const std::optional<quint32> id = parseRecordId(dialog.name());
    if (!id)
        return std::nullopt;
    return editEntry(parent, *id, EntryEditor::GeneralPage);
}

bool previewEntry(QWidget* parent, quint32 recordId) {
    const std::optional<TimeEntry> entry = readStoredEntry(recordId);
    if (!entry)
        return false;
    EntrySummary summary(*entry, parent);
    summary.exec();
    return summary.editRequested();
}

}  // namespace tempolatch::entrycommands
