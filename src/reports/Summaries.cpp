#include "reports/Summaries.h"

#include <QCollator>
#include <initializer_list>
#include <utility>
#include <vector>

#include "platform/Locale.h"
#include "platform/StringTable.h"
#include "store/ExpenseEntry.h"
#include "store/Expenses.h"
#include "store/RecordValues.h"
#include "store/StoreTransaction.h"
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

QString dayText(platform::FileTime time) {
    const auto st = platform::toSystemTime(time);
    return st ? platform::Locale::shortDate(*st) : QString();
}

// Running totals per name, in the locale's order ignoring case; a group is
// labelled with the form of the name met first, so Alpha and alpha add up
// in one row.
template <typename Value>
class Breakdown {
public:
    struct Group {
        QString name;
        Value total{};
    };

    Breakdown() : m_collator(platform::Locale::current()) {
        m_collator.setCaseSensitivity(Qt::CaseInsensitive);
    }

    // The running total of the name's group, a new one when it has none.
    Value& operator[](const QString& name) {
        auto at = std::lower_bound(
            m_groups.begin(), m_groups.end(), name,
            [this](const Group& g, const QString& n) { return m_collator.compare(g.name, n) < 0; });
        if (at == m_groups.end() || m_collator.compare(at->name, name) != 0)
            at = m_groups.insert(at, Group{name, Value{}});
        return at->total;
    }
    const std::vector<Group>& groups() const { return m_groups; }

private:
    QCollator m_collator;
    std::vector<Group> m_groups;
};

// One block of rows per currency shown: each label with its totals in that
// currency, so that amounts of two currencies never stand in one figure.
void appendMoneyRows(SummaryRows& rows, const QStringList& currencies,
                     std::initializer_list<std::pair<QString, const MoneyTotals*>> lines) {
    for (const QString& currency : currencies)
        for (const auto& [label, totals] : lines)
            rows.append(row(label, totals->text(currency)));
}

void appendAmountRows(SummaryRows& rows, const MoneyTotals& amount, const MoneyTotals& unpaid,
                      const MoneyTotals& billed, const MoneyTotals& paid) {
    appendMoneyRows(rows, amount.shownCurrencies(),
                    {{resourceString(str::AmountLabel), &amount},
                     {statusLabel(str::SummaryUnpaid), &unpaid},
                     {statusLabel(str::SummaryBilled), &billed},
                     {statusLabel(str::SummaryPaid), &paid}});
}

// A breakdown of amounts: a row per name and currency with its share of
// `all`, the amounts of every name in that currency.
void appendBreakdownRows(SummaryRows& rows, const Breakdown<MoneyTotals>& breakdown,
                         const MoneyTotals& all) {
    for (const auto& group : breakdown.groups())
        for (const QString& currency : group.total.currencies())
            rows.append(row(group.name, group.total.text(currency),
                            shareText(double(group.total.cents(currency)),
                                      double(all.cents(currency)), "%.1f%%")));
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
            // A custom period of nothing (no entry chosen, no day given) shows as none.
            if (!period.start.isNull() || !period.end.isNull())
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
    const double value = entry.amount(precise);
    switch (entry.status) {
        case EntryStatus::NonBillable:
            nonBillableHours.add(entry.duration);
            return;
        case EntryStatus::Paid:
            paidHours.add(entry.duration);
            paidAmount.add(entry.currency, value);
            break;
        case EntryStatus::Billed:
            billedHours.add(entry.duration);
            billedAmount.add(entry.currency, value);
            [[fallthrough]];
        case EntryStatus::Billable:
            unpaidAmount.add(entry.currency, value);
            break;
    }
    billableHours.add(entry.duration);
    amount.add(entry.currency, value);
}

bool clientSummaryMatches(const TimeEntry& entry, const ClientSummaryChoice& choice) {
    return entry.client == choice.client &&
           (choice.project.isEmpty() || entry.project == choice.project) &&
           (choice.task.isEmpty() || entry.task == choice.task);
}

ClientSummary computeClientSummary(RecordStore& db, const ClientSummaryChoice& choice,
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

SummaryRows clientSummaryRows(const ClientSummaryChoice& choice, const ClientSummary& summary,
                              HoursFormat hours) {
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
    rows.append(row(resourceString(str::HoursLabel), hoursText(t.totalHours(), hours)));
    rows.append(row(statusLabel(str::SummaryBillable), hoursText(t.billableHours, hours)));
    rows.append(row(statusLabel(str::SummaryBilled), hoursText(t.billedHours, hours)));
    rows.append(row(statusLabel(str::SummaryPaid), hoursText(t.paidHours, hours)));
    rows.append(row(statusLabel(str::SummaryNonBillable), hoursText(t.nonBillableHours, hours)));
    appendBlankRows(rows, 2);
    appendAmountRows(rows, t.amount, t.unpaidAmount, t.billedAmount, t.paidAmount);
    return rows;
}

SummaryRows quickSummaryRows(RecordStore& db, const SummaryPeriod& period,
                             const QList<quint32>& recordIds, bool precise, HoursFormat hours) {
    StatusTotals t;
    Breakdown<HoursTotal> projects;
    const StoreSnapshot oneRead(db);
    TimeEntries entries(db);
    for (const quint32 id : recordIds) {
        const auto entry = entries.find(id);
        if (!entry)
            continue;
        projects[entry->project].add(entry->duration);
        t.add(*entry, precise);
    }

    SummaryRows rows;
    appendPeriodRows(rows, period, recordIds.size());
    appendBlankRows(rows, 2);
    const double total = double(t.totalHours().hundredths);
    const double billable = double(t.billableHours.hundredths);
    rows.append(row(resourceString(str::HoursLabel), hoursText(t.totalHours(), hours)));
    rows.append(row(statusLabel(str::SummaryBillable), hoursText(t.billableHours, hours),
                    shareText(billable, total, "%.01f%%")));
    rows.append(row(statusLabel(str::SummaryBilled), hoursText(t.billedHours, hours),
                    shareText(double(t.billedHours.hundredths), billable, "%.01f%%")));
    rows.append(row(statusLabel(str::SummaryPaid), hoursText(t.paidHours, hours),
                    shareText(double(t.paidHours.hundredths), billable, "%.01f%%")));
    rows.append(row(statusLabel(str::SummaryNonBillable), hoursText(t.nonBillableHours, hours),
                    shareText(double(t.nonBillableHours.hundredths), total, "%.01f%%")));
    appendBlankRows(rows, 2);
    appendAmountRows(rows, t.amount, t.unpaidAmount, t.billedAmount, t.paidAmount);
    appendBlankRows(rows, 2);
    for (const auto& project : projects.groups())
        rows.append(row(project.name, hoursText(project.total, hours),
                        shareText(double(project.total.hundredths), total, "%.1f%%")));
    return rows;
}

SummaryRows expenseQuickSummaryRows(RecordStore& db, const SummaryPeriod& period,
                                    const QList<quint32>& recordIds) {
    // The billable amounts by type and status; the breakdowns count every
    // expense listed, and their shares are of all of them.
    MoneyTotals mileage, general, amount, paid, unpaid, billed, listed;
    Breakdown<MoneyTotals> clients;
    Breakdown<MoneyTotals> categories;
    const StoreSnapshot oneRead(db);
    Expenses expenses(db);
    for (const quint32 id : recordIds) {
        const auto expense = expenses.find(id);
        if (!expense)
            continue;
        const QString& currency = expense->currency;
        const double value = expense->totalAmount();
        clients[expense->client].add(currency, value);
        categories[expense->category].add(currency, value);
        listed.add(currency, value);
        if (expense->status == EntryStatus::NonBillable)
            continue;
        (expense->isMileage() ? mileage : general).add(currency, value);
        amount.add(currency, value);
        if (expense->status == EntryStatus::Paid) {
            paid.add(currency, value);
        } else {
            unpaid.add(currency, value);
            if (expense->status == EntryStatus::Billed)
                billed.add(currency, value);
        }
    }

    SummaryRows rows;
    appendPeriodRows(rows, period, recordIds.size());
    appendBlankRows(rows, 2);
    appendMoneyRows(rows, amount.shownCurrencies(),
                    {{resourceString(str::MileageLabel), &mileage},
                     {resourceString(str::GeneralLabel), &general}});
    appendBlankRows(rows, 2);
    appendAmountRows(rows, amount, unpaid, billed, paid);
    appendBlankRows(rows, 2);
    appendBreakdownRows(rows, clients, listed);
    appendBlankRows(rows, 2);
    appendBreakdownRows(rows, categories, listed);
    return rows;
}

}  // namespace tempolatch
