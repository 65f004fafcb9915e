#include "reports/Summaries.h"

#include <QCollator>
#include <utility>
#include <vector>

#include "platform/Locale.h"
#include "platform/StringTable.h"
#include "store/ExpenseEntry.h"
#include "store/Expenses.h"
#include "store/RecordValues.h"
#include "store/TimeEntries.h"
#include "store/TimeEntry.h"

namespace tempolatch {

namespace {

QStringList row(const QString& label = {}, const QString& value = {}, const QString& share = {}) {
    return {label, value, share};
}

void appendBlankRows(SummaryRows& rows, int count) {
    for (int i = 0; i < count; ++i)
        rows.append(row());
}

QString labelOf(int resource) {
    return resourceString(resource) + u':';
}

// The status rows name their status followed by one space.
QString statusLabel(int resource) {
    return resourceString(resource) + u' ';
}

QString hoursText(qint64 hundredths) {
    return hundredthsText(hundredths) + u'h';
}

QString dayText(platform::FileTime time) {
    const auto st = platform::toSystemTime(time);
    return st ? platform::Locale::shortDate(*st) : QString();
}

// Running totals per name, in the locale's order ignoring case; a group is
// labelled with the form of the name met first, so Alpha and alpha add up
// in one row.
class Breakdown {
public:
    Breakdown() : m_collator(platform::Locale::current()) {
        m_collator.setCaseSensitivity(Qt::CaseInsensitive);
    }

    void add(const QString& name, double value) {
        auto at = std::lower_bound(
            m_groups.begin(), m_groups.end(), name,
            [this](const Group& g, const QString& n) { return m_collator.compare(g.name, n) < 0; });
        if (at != m_groups.end() && m_collator.compare(at->name, name) == 0)
            at->total += value;
        else
            m_groups.insert(at, Group{name, value});
    }

    template <typename Format>
    void appendRows(SummaryRows& rows, double base, Format format) const {
        for (const Group& g : m_groups)
            rows.append(row(g.name, format(g.total), shareText(g.total, base, "%.1f%%")));
    }

private:
    struct Group {
        QString name;
        double total = 0;
    };
    QCollator m_collator;
    std::vector<Group> m_groups;
};

void appendAmountRows(SummaryRows& rows, double paid, double unpaid, double billed) {
    rows.append(row(resourceString(str::AmountLabel), amountText(paid + unpaid)));
    rows.append(row(statusLabel(str::SummaryUnpaid), amountText(unpaid)));
    rows.append(row(statusLabel(str::SummaryBilled), amountText(billed)));
    rows.append(row(statusLabel(str::SummaryPaid), amountText(paid)));
}

// "Period Type:", "Period:" and "Number of Items:".
void appendPeriodRows(SummaryRows& rows, const SummaryPeriod& period, qsizetype count) {
    const int type = period.periodType >= 1 && period.periodType <= 4 ? period.periodType : 4;
    QString shown;
    switch (type) {
        case 3:
            shown = platform::Locale::formatDate(period.start, platform::Locale::yearMonthFormat());
            break;
        case 4:
            shown = platform::Locale::shortDate(period.start) + QStringLiteral(" - ") +
                    platform::Locale::shortDate(period.end);
            break;
        default:
            shown = platform::Locale::shortDate(period.start);
    }
    rows.append(
        row(resourceString(str::PeriodTypeLabel), resourceString(str::PeriodNames + type - 1)));
    rows.append(row(resourceString(str::PeriodLabel), shown));
    rows.append(row(resourceString(str::NumberOfItems), QString::number(count)));
}

}  // namespace

QString shareText(double part, double base, const char* format) {
    if (base == 0)
        return QStringLiteral("0%");
    return QString::asprintf(format, part * 100.0 / base);
}

void StatusTotals::add(const TimeEntry& entry, bool precise) {
    const double amount = entry.amount(precise);
    switch (entry.status) {
        case EntryStatus::NonBillable:
            nonBillableHours += entry.duration;
            return;
        case EntryStatus::Paid:
            billableHours += entry.duration;
            paidHours += entry.duration;
            paidAmount += amount;
            return;
        case EntryStatus::Billed:
            billedHours += entry.duration;
            billedAmount += amount;
            [[fallthrough]];
        case EntryStatus::Billable:
            billableHours += entry.duration;
            unpaidAmount += amount;
            return;
    }
}

bool clientSummaryMatches(const TimeEntry& entry, const ClientSummaryChoice& choice) {
    return entry.client == choice.client &&
           (choice.project.isEmpty() || entry.project == choice.project) &&
           (choice.task.isEmpty() || entry.task == choice.task);
}

ClientSummary computeClientSummary(TimeEntryDatabase& db, const ClientSummaryChoice& choice,
                                   bool precise) {
    ClientSummary summary;
    if (choice.client.isEmpty())
        return summary;  // a cancelled choice matches nothing
    TimeEntries entries(db);
    // The first match from the front, then the last from the back.
    std::optional<platform::FileTime> found;
    const auto takeFirstMatch = [&](const TimeEntry& entry) {
        if (!clientSummaryMatches(entry, choice))
            return true;
        found = entry.date;
        return false;
    };
    entries.forEach(takeFirstMatch);
    summary.firstEntry = std::exchange(found, std::nullopt);
    if (!summary.firstEntry)
        return summary;
    entries.forEachBackward(takeFirstMatch);
    summary.lastEntry = found;
    if (!summary.lastEntry)
        return summary;
    entries.forEachInRange(*summary.firstEntry, *summary.lastEntry, [&](const TimeEntry& entry) {
        if (clientSummaryMatches(entry, choice))
            summary.totals.add(entry, precise);
        return true;
    });
    return summary;
}

SummaryRows clientSummaryRows(const ClientSummaryChoice& choice, const ClientSummary& summary) {
    SummaryRows rows;
    rows.append(row(labelOf(str::ClientLabel), choice.client));
    if (!choice.project.isEmpty())
        rows.append(row(labelOf(str::ProjectLabel), choice.project));
    if (!choice.task.isEmpty())
        rows.append(row(labelOf(str::TaskLabel), choice.task));
    appendBlankRows(rows, 1);
    // Without a matching entry there is no date to show: the cells stay empty.
    rows.append(row(resourceString(str::FirstEntryDate),
                    summary.firstEntry ? dayText(*summary.firstEntry) : QString()));
    rows.append(row(resourceString(str::LastEntryDate),
                    summary.lastEntry ? dayText(*summary.lastEntry) : QString()));
    appendBlankRows(rows, 1);
    const StatusTotals& t = summary.totals;
    rows.append(row(resourceString(str::HoursLabel), hoursText(t.totalHours())));
    rows.append(row(statusLabel(str::SummaryBillable), hoursText(t.billableHours)));
    rows.append(row(statusLabel(str::SummaryBilled), hoursText(t.billedHours)));
    rows.append(row(statusLabel(str::SummaryPaid), hoursText(t.paidHours)));
    rows.append(row(statusLabel(str::SummaryNonBillable), hoursText(t.nonBillableHours)));
    appendBlankRows(rows, 2);
    appendAmountRows(rows, t.paidAmount, t.unpaidAmount, t.billedAmount);
    return rows;
}

SummaryRows quickSummaryRows(TimeEntryDatabase& db, const SummaryPeriod& period,
                             const QList<quint32>& recordIds, bool precise) {
    StatusTotals t;
    Breakdown projects;
    TimeEntries entries(db);
    for (const quint32 id : recordIds) {
        const auto entry = entries.find(id);
        if (!entry)
            continue;
        projects.add(entry->project, entry->duration);
        t.add(*entry, precise);
    }

    SummaryRows rows;
    appendPeriodRows(rows, period, recordIds.size());
    appendBlankRows(rows, 2);
    const double total = double(t.totalHours());
    const double billable = double(t.billableHours);
    rows.append(row(resourceString(str::HoursLabel), hoursText(t.totalHours())));
    rows.append(row(statusLabel(str::SummaryBillable), hoursText(t.billableHours),
                    shareText(billable, total, "%.01f%%")));
    rows.append(row(statusLabel(str::SummaryBilled), hoursText(t.billedHours),
                    shareText(double(t.billedHours), billable, "%.01f%%")));
    rows.append(row(statusLabel(str::SummaryPaid), hoursText(t.paidHours),
                    shareText(double(t.paidHours), billable, "%.01f%%")));
    rows.append(row(statusLabel(str::SummaryNonBillable), hoursText(t.nonBillableHours),
                    shareText(double(t.nonBillableHours), total, "%.01f%%")));
    appendBlankRows(rows, 2);
    appendAmountRows(rows, t.paidAmount, t.unpaidAmount, t.billedAmount);
    appendBlankRows(rows, 2);
    projects.appendRows(rows, total, [](double hours) { return hoursText(qint64(hours)); });
    return rows;
}

SummaryRows expenseQuickSummaryRows(ExpenseDatabase& db, const SummaryPeriod& period,
                                    const QList<quint32>& recordIds) {
    double mileage = 0, general = 0, paid = 0, unpaid = 0, billed = 0;
    Breakdown clients;
    Breakdown categories;
    Expenses expenses(db);
    for (const quint32 id : recordIds) {
        const auto expense = expenses.find(id);
        if (!expense)
            continue;
        const double amount = expense->totalAmount();
        clients.add(expense->client, amount);
        categories.add(expense->category, amount);
        if (expense->status == EntryStatus::NonBillable)
            continue;
        (expense->isMileage() ? mileage : general) += amount;
        if (expense->status == EntryStatus::Paid) {
            paid += amount;
        } else {
            unpaid += amount;
            if (expense->status == EntryStatus::Billed)
                billed += amount;
        }
    }

    SummaryRows rows;
    appendPeriodRows(rows, period, recordIds.size());
    appendBlankRows(rows, 2);
    rows.append(row(resourceString(str::MileageLabel), amountText(mileage)));
    rows.append(row(resourceString(str::GeneralLabel), amountText(general)));
    appendBlankRows(rows, 2);
    appendAmountRows(rows, paid, unpaid, billed);
    // Shares are of the billable total, so a breakdown that counts Non
    // Billable expenses too can go past 100 %.
    const auto amountOf = [](double amount) { return amountText(amount); };
    appendBlankRows(rows, 2);
    clients.appendRows(rows, mileage + general, amountOf);
    appendBlankRows(rows, 2);
    categories.appendRows(rows, mileage + general, amountOf);
    return rows;
}

}  // namespace tempolatch
