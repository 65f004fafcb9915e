#include "editing/EntryChangeCommands.h"

#include <algorithm>
#include <type_traits>

#include "editing/CopyEntryDialog.h"
#include "editing/EntryCommands.h"
#include "editing/PaidDateDialog.h"
#include "platform/Clock.h"
#include "platform/StringTable.h"
#include "platform/Ui.h"
#include "records/EntryCriteria.h"
#include "settings/BackgroundWork.h"
#include "settings/Context.h"
#include "store/ExpenseEntry.h"
#include "store/RecordStore.h"
#include "store/StoreFailure.h"
#include "store/TimeEntry.h"
#include "views/EntryCriteriaSheet.h"
#include "widgets/CommandIds.h"
#include "widgets/CommandTable.h"

namespace tempolatch::entrycommands {

namespace {

using platform::MessageIcon;

void showError(Context& context, QWidget* parent, int error) {
    context.ui.message(storeErrorText(error), MessageIcon::Stop, parent);
}

}  // namespace

bool copyToDays(Context& context, QWidget* parent, const QList<quint32>& recordIds) {
    QList<TimeEntry> entries;
    for (const quint32 id : recordIds)
        if (const std::optional<TimeEntry> entry = readStoredEntry(context.store, id))
            entries.append(*entry);
    if (entries.isEmpty())
        return false;
    // The dialog's days start from the earliest.
    std::stable_sort(entries.begin(), entries.end(),
                     [](const TimeEntry& a, const TimeEntry& b) { return a.date < b.date; });
    CopyEntryDialog dialog(context, entries, parent);
    return dialog.exec() == QDialog::Accepted && dialog.copiesWritten() > 0;
}

template <typename Record>
bool markRecord(Context& context, QWidget* parent, quint32 recordId, entrymarking::Mark mark) {
    int error = 0;
    const WriteResult result = entrymarking::toggleStored<Record>(
        context.store, recordId, mark, platform::Clock::nowFileTime(), &error);
    if (result == WriteResult::Refused)
        showError(context, parent, error);
    return result == WriteResult::Written;
}

template <typename Record>
bool deleteRecord(Context& context, QWidget* parent, quint32 recordId) {
    if (recordId == 0)
        return false;
    const platform::Answer answer =
        context.ui.ask(resourceString(str::DeleteItemQuestion), MessageIcon::Warning,
                       platform::Ui::Buttons::YesNo, platform::Answer::No, parent);
    if (answer == platform::Answer::No)
        return false;
    int error = 0;
    const WriteResult result = entrymarking::removeStored<Record>(context.store, recordId, &error);
    if (result == WriteResult::Refused)
        showError(context, parent, error);
    return result == WriteResult::Written;
}

template <typename Record>
constexpr MarkedRecords markedRecords() {
    return std::is_same_v<Record, ExpenseEntry> ? MarkedRecords::Expenses : MarkedRecords::Entries;
}

// "3 entries", "1 expense".
QString recordCount(int count, MarkedRecords records) {
    if (records == MarkedRecords::Expenses)
        return count == 1 ? QStringLiteral("1 expense") : QStringLiteral("%1 expenses").arg(count);
    return count == 1 ? QStringLiteral("1 entry") : QStringLiteral("%1 entries").arg(count);
}

template <typename Record>
bool markRecords(Context& context, QWidget* parent, const QList<quint32>& recordIds,
                 entrymarking::Mark mark) {
    if (recordIds.size() <= 1)
        return markRecord<Record>(context, parent, recordIds.value(0), mark);
    const entrymarking::BulkResult result = entrymarking::toggleStoredAll<Record>(
        context.store, recordIds, mark, platform::Clock::nowFileTime());
    if (!succeeded(result.result)) {
        showError(context, parent, result.error);
        return false;
    }
    context.ui.notice(markedNotice(result.written, mark, markedRecords<Record>()));
    return result.written > 0;
}

template <typename Record>
bool deleteRecords(Context& context, QWidget* parent, const QList<quint32>& recordIds) {
    if (recordIds.size() <= 1)
        return deleteRecord<Record>(context, parent, recordIds.value(0));
    const QString count = recordCount(int(recordIds.size()), markedRecords<Record>());
    if (!context.ui.question(QStringLiteral("Delete the %1 selected?").arg(count), parent))
        return false;
    const entrymarking::BulkResult result =
        entrymarking::removeStoredAll<Record>(context.store, recordIds);
    if (!succeeded(result.result)) {
        showError(context, parent, result.error);
        return false;
    }
    context.ui.notice(
        QStringLiteral("%1 deleted.").arg(recordCount(result.written, markedRecords<Record>())));
    return result.written > 0;
}

template bool markRecord<TimeEntry>(Context&, QWidget*, quint32, entrymarking::Mark);
template bool markRecord<ExpenseEntry>(Context&, QWidget*, quint32, entrymarking::Mark);
template bool deleteRecord<TimeEntry>(Context&, QWidget*, quint32);
template bool deleteRecord<ExpenseEntry>(Context&, QWidget*, quint32);
template bool markRecords<TimeEntry>(Context&, QWidget*, const QList<quint32>&, entrymarking::Mark);
template bool markRecords<ExpenseEntry>(Context&, QWidget*, const QList<quint32>&,
                                        entrymarking::Mark);
template bool deleteRecords<TimeEntry>(Context&, QWidget*, const QList<quint32>&);
template bool deleteRecords<ExpenseEntry>(Context&, QWidget*, const QList<quint32>&);

bool markEntries(Context& context, QWidget* parent, entrymarking::Mark mark,
                 const platform::SystemTime& periodStart, const platform::SystemTime& periodEnd) {
    EntryFilter criteria;
    const CriteriaMode mode =
        mark == entrymarking::Mark::Paid ? CriteriaMode::MarkPaid : CriteriaMode::MarkBilled;
    if (!runEntryCriteria(context, parent, mode, periodStart, periodEnd, criteria))
        return false;
    return markWithProgress(context, parent, mark, MarkedRecords::Entries,
                            [&](RecordStore& store, platform::FileTime paidDate) {
                                return entrymarking::markEntries(store, criteria, mark, paidDate,
                                                                 platform::Clock::nowFileTime());
                            });
}

QString markedNotice(int written, entrymarking::Mark mark, MarkedRecords records) {
    const bool expenses = records == MarkedRecords::Expenses;
    const QString status =
        mark == entrymarking::Mark::Paid ? QStringLiteral("Paid") : QStringLiteral("Billed");
    if (written == 0)
        return expenses ? QStringLiteral("No expenses to mark %1.").arg(status)
                        : QStringLiteral("No entries to mark %1.").arg(status);
    const QString noun =
        expenses ? (written == 1 ? QStringLiteral("expense") : QStringLiteral("expenses"))
                 : (written == 1 ? QStringLiteral("entry") : QStringLiteral("entries"));
    return QStringLiteral("%1 %2 marked %3.").arg(written).arg(noun, status);
}

bool markWithProgress(Context& context, QWidget* parent, entrymarking::Mark mark,
                      MarkedRecords records, const BulkMarking& markAll) {
    platform::FileTime paidDate;
    if (mark == entrymarking::Mark::Paid) {
        PaidDateDialog dialog(platform::FileTime{}, resourceString(str::CustomPaidDatePrompt),
                              parent);
        if (dialog.exec() != QDialog::Accepted)
            return false;
        paidDate = dialog.paidDate();
    }
    entrymarking::BulkResult result;
    bool cancelled = false;
    runInBackground(
        context, parent, resourceString(str::UpdatingRecords),
        [&](Context& worker) {
            result = markAll(worker.store, paidDate);
            return succeeded(result.result);
        },
        &cancelled);
    if (cancelled)
        return false;
    if (result.result == WriteResult::Refused || result.result == WriteResult::NotStorable) {
        showError(context, parent, result.error);
        return false;
    }
    context.ui.notice(markedNotice(result.written, mark, records));
    return result.written > 0;
}

}  // namespace tempolatch::entrycommands

namespace tempolatch {

void registerEntryChangeCommands(CommandTable& table, const EntryCommandHost& host) {
    using namespace entrycommands;
    using entrymarking::Mark;
    table.add(cmd::Copy, [host](int) {
        if (copyToDays(*host.context, host.parent, host.selectedEntries()))
            host.reload();
    });
    table.add({cmd::MarkAsBilled, cmd::MarkAsPaid}, [host](int id) {
        const Mark mark = id == cmd::MarkAsPaid ? Mark::Paid : Mark::Billed;
        if (markRecords<TimeEntry>(*host.context, host.parent, host.selectedEntries(), mark))
            host.reload();
    });
    table.add(cmd::Delete, [host](int) {
        const QList<quint32> selected = host.selectedEntries();
        if (selected.size() > 1) {
            if (deleteRecords<TimeEntry>(*host.context, host.parent, selected))
                host.reload();
            return;
        }
        const std::optional<TimeEntry> entry =
            readStoredEntry(host.context->store, host.selectedEntry());
        // The row goes at once; the rest of the list stands as it is.
        if (entry && deleteRecord<TimeEntry>(*host.context, host.parent, entry->recordId))
            host.removeSelectedRow(*entry);
    });
    table.add({cmd::MarkBilledEntries, cmd::MarkPaidEntries}, [host](int id) {
        const Mark mark = id == cmd::MarkPaidEntries ? Mark::Paid : Mark::Billed;
        const auto [start, end] = host.period();
        if (markEntries(*host.context, host.parent, mark, start, end))
            host.reload();
    });
}

}  // namespace tempolatch
