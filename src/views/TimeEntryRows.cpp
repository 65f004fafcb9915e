#include "views/TimeEntryRows.h"

#include "platform/Locale.h"
#include "records/EntryFilter.h"
#include "records/MoneyTotals.h"
#include "settings/Settings.h"
#include "store/RecordStore.h"
#include "store/TimeEntries.h"
#include "views/ViewCustomization.h"

namespace tempolatch {

namespace {

QString timeText(platform::FileTime time) {
    const auto st = platform::toSystemTime(time);
    return st ? platform::Locale::timeWithoutSeconds(*st) : QString();
}

QString dateText(platform::FileTime time) {
    const auto st = platform::toSystemTime(time);
    return st ? platform::Locale::shortDate(*st) : QString();
}

// The Simple list shows times only for the exact start-time marker
// (seconds 1, milliseconds 0) that the editor writes.
bool hasMarkedStartTime(const TimeEntry& entry) {
    const auto st = platform::toSystemTime(entry.date);
    return st && st->second == 1 && st->milliseconds == 0;
}

QString numberText(double value) {
    return platform::Locale::current().toString(value, 'f', 2);
}

}  // namespace

QString TimeEntryRows::startTimeText(const TimeEntry& entry) {
    return timeText(entry.date);
}

QString TimeEntryRows::endTimeText(const TimeEntry& entry) {
    return timeText(entry.endTime());
}

EntryRow TimeEntryRows::build(const TimeEntry& entry, const RowContext& context,
                              const Settings& settings) {
    EntryRow row;
    row.recordId = entry.recordId;
    row.status = int(entry.status);
    row.hasNote = !entry.note.isEmpty();
    row.keys.reserve(EntryFilter::MaxArrangeBy + 1);
    for (int index = 0; index <= EntryFilter::MaxArrangeBy; ++index)
        row.keys.append(EntryFilter::sortKey(entry, index));
    row.date = entry.date;
    row.tieText = entry.task;
    row.total.hasHours = true;
    row.total.hundredths = entry.duration;
    // As the status line adds up: amounts of the entries billed in some way.
    if (entry.status != EntryStatus::NonBillable) {
        row.total.hasAmount = true;
        row.total.currency = entry.currency;
        row.total.amount = entry.amount(settings.hasFlag(PreciseCalculation));
    }
    switch (context.listStyle) {
        case EntryList::Simple:
            fillSimple(row, entry, settings);
            break;
        case EntryList::Tree:
            fillTree(row, entry, settings);
            break;
        default:
            fillDefault(row, entry, context, settings);
            break;
    }
    return row;
}

void TimeEntryRows::fillDefault(EntryRow& row, const TimeEntry& entry, const RowContext& context,
                                const Settings& settings) {
    const ViewCustomization cust(settings.viewCust);
    row.statusIcon = cust.showStatusIcon();
    // Line 1 is made in one piece: a month of a large store has thousands
    // of rows, and each joined part would be a text of its own.
    QString line1;
    line1.reserve(48);
    if (!context.dayView) {
        line1 += dateText(entry.date);
        line1 += QLatin1Char(' ');
    }
    const auto appendDuration = [&] {
        line1 += hundredthsText(entry.duration);
        line1 += QLatin1Char('h');
    };
    if (!entry.hasStartTime()) {
        appendDuration();
    } else {
        switch (cust.entryTimeMode()) {
            case ViewCustomization::DurationStartEnd:
                appendDuration();
                line1 += QLatin1String(" (") + startTimeText(entry) + QLatin1String(" - ") +
                         endTimeText(entry) + QLatin1Char(')');
                break;
            case ViewCustomization::StartEnd:
                line1 += startTimeText(entry) + QLatin1String(" - ") + endTimeText(entry);
                break;
            default:
                appendDuration();
                line1 += QLatin1String(" (") + startTimeText(entry) + QLatin1Char(')');
                break;
        }
    }
    QString line3 = entry.project;
    if (!entry.phase.isEmpty())
        line3 += QStringLiteral(" (") + entry.phase + QStringLiteral(")");
    row.lines.reserve(4);
    row.lines << line1 << entry.task << line3;
    if (cust.showClientName())
        row.lines.append(entry.client);
}

void TimeEntryRows::fillSimple(EntryRow& row, const TimeEntry& entry, const Settings& settings) {
    const bool marked = hasMarkedStartTime(entry);
    const bool billable = entry.status != EntryStatus::NonBillable;
    row.cells = {
        dateText(entry.date),
        entry.client,
        entry.project,
        entry.phase,
        entry.task,
        hundredthsText(entry.duration),
        marked ? startTimeText(entry) : QString(),
        entry.billTo,
        entry.custom1,
        entry.custom2,
        entry.custom3,
        marked ? endTimeText(entry) : QString(),
        billable ? entry.currency : QString(),
        billable ? numberText(entry.rate / 100.0) : QString(),
        billable ? rateTypeName(entry.rateType) : QString(),
        billable ? localeCentsText(centsOf(entry.amount(settings.hasFlag(PreciseCalculation))))
                 : QString(),
    };
}

void TimeEntryRows::fillTree(EntryRow& row, const TimeEntry& entry, const Settings& settings) {
    const quint32 options = settings.treeOptions;
    row.groups.append({dateText(entry.date), TreeImageDate});
    if (options & TreeShowClient)
        row.groups.append({entry.client, TreeImageClient});
    if ((options & TreeShowProject) && !entry.project.isEmpty())
        row.groups.append({entry.project, TreeImageProject});
    if ((options & TreeShowPhase) && !entry.phase.isEmpty())
        row.groups.append({entry.phase, TreeImagePhase});
    row.node = {entry.task, TreeImageTask};
    row.details.append({hundredthsText(entry.duration), TreeImageStatus + int(entry.status)});
    if (entry.hasStartTime() && (options & TreeShowTimes))
        row.details.append(
            {startTimeText(entry) + QLatin1Char('-') + endTimeText(entry), TreeImageTime});
    if (entry.status != EntryStatus::NonBillable && (options & TreeShowAmount)) {
        const double amount = entry.amount(settings.hasFlag(PreciseCalculation));
        row.details.append({MoneyTotals::text(entry.currency, centsOf(amount)), TreeImageAmount});
    }
}

void TimeEntryRecords::addRecord(const platform::PropertyList& props, quint32 recordId, bool select,
                                 const RowContext& context, EntryList& list) {
    TimeEntry entry;
    entry.setFromProperties(props);
    entry.recordId = recordId;
    if (!m_filter.matches(entry))
        return;
    m_totals.add(entry, m_settings.hasFlag(PreciseCalculation));
    list.addRow(TimeEntryRows::build(entry, context, m_settings), select);
}

bool TimeEntryRecords::walk(platform::FileTime from, platform::FileTime to,
                            const RecordAccess::Visit& visit) {
    if (!m_store->isOpen())
        return false;
    TimeEntries(*m_store).forEachStoredInRange(from, to, visit);
    return true;
}

int TimeEntryRecords::arrangeBy() const {
    return m_settings.sort;
}

void TimeEntryRecords::entryRemoved(const TimeEntry& entry) {
    if (m_filter.matches(entry))
        m_totals.remove(entry, m_settings.hasFlag(PreciseCalculation));
}

}  // namespace tempolatch
