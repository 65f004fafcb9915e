#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

namespace tempolatch {

class EntryFilter;
class RecordStore;
class TimeEntry;

// Shows each entry a chart counts to the function it is given.
using EntryWalk = std::function<void(const std::function<void(const TimeEntry&)>&)>;
// The entries criteria choose (the command line's), in date order.
EntryWalk chosenEntries(RecordStore& db, const EntryFilter& criteria);
// The entries a list shows, by record id.
EntryWalk listedEntries(RecordStore& db, const QList<quint32>& recordIds);

// The numbers a chart is drawn from: one value per series and category, in
// whole hundredths (hundredths of an hour, or cents), so that what the
// chart shows adds up exactly to the entries it counts.
struct ChartTable {
    enum Kind { HoursPerDay, AmountPerClient };

    Kind kind = HoursPerDay;
    QStringList categories;           // days, or clients
    QStringList series;               // clients, or currencies
    QList<QList<qint64>> hundredths;  // [series][category]
    QList<QDate> days;                // the days of the categories (hours per day)

    bool isEmpty() const { return series.isEmpty(); }
    qint64 total(int series) const;
};

// The most series a chart shows; the rest go together under the last.
inline constexpr int ChartMostClients = 8;
// The most days a chart of hours per day spans.
inline constexpr int ChartMostDays = 366;

// Hours of the chosen entries per day, stacked by client: a category for
// every day from `first` to `last` (none of them invalid), a series for
// each client with the most hours first, and beyond ChartMostClients the
// rest as "Other clients".
ChartTable hoursPerDay(const EntryWalk& entries, QDate first, QDate last);
// The first and last days of the entries; both invalid when there are none.
std::pair<QDate, QDate> entryDays(const EntryWalk& entries);

// Amounts of the chosen entries that are billed in some way, per client
// (categories, most in the first currency first) and currency (series);
// amounts of different currencies are never added. Each amount counts as
// it is shown, in cents.
ChartTable amountPerClient(const EntryWalk& entries, bool precise);

}  // namespace tempolatch
