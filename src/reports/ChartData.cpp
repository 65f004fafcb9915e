#include "reports/ChartData.h"

#include <QHash>
#include <QMap>
#include <algorithm>

#include "platform/Locale.h"
#include "records/EntryCriteria.h"
#include "records/EntryFilter.h"
#include "records/MoneyTotals.h"
#include "store/StoreTransaction.h"
#include "store/TimeEntries.h"
#include "store/TimeEntry.h"

namespace tempolatch {

namespace {

QDate dateOf(platform::FileTime time) {
    const auto st = platform::toSystemTime(time);
    return st ? QDate(st->year, st->month, st->day) : QDate();
}

QString clientName(const QString& client) {
    return client.isEmpty() ? QStringLiteral("(no client)") : client;
}

// Values by name and category index, gathered while walking.
using Sums = QHash<QString, QList<qint64>>;

// The names by their totals, largest first (ties by name); beyond the most
// shown, the rest are added up under `others`.
void keepLargest(ChartTable& table, const Sums& sums, int categories, const QString& others) {
    QList<std::pair<QString, qint64>> totals;
    for (auto it = sums.cbegin(); it != sums.cend(); ++it) {
        qint64 sum = 0;
        for (const qint64 value : it.value())
            sum += value;
        totals.append({it.key(), sum});
    }
    std::sort(totals.begin(), totals.end(), [](const auto& a, const auto& b) {
        if (a.second != b.second)
            return a.second > b.second;
        return platform::Locale::compare(a.first, b.first) < 0;
    });
    const bool folded = totals.size() > ChartMostClients;
    const qsizetype kept = folded ? ChartMostClients - 1 : totals.size();
    for (qsizetype i = 0; i < kept; ++i) {
        table.series.append(totals[i].first);
        table.hundredths.append(sums.value(totals[i].first));
    }
    if (!folded)
        return;
    QList<qint64> rest(categories, 0);
    for (qsizetype i = kept; i < totals.size(); ++i) {
        const QList<qint64>& values = sums[totals[i].first];
        for (int c = 0; c < categories; ++c)
            rest[c] += values[c];
    }
    table.series.append(others);
    table.hundredths.append(rest);
}

}  // namespace

qint64 ChartTable::total(int index) const {
    qint64 sum = 0;
    for (const qint64 value : hundredths.value(index))
        sum += value;
    return sum;
}

EntryWalk chosenEntries(RecordStore& db, const EntryFilter& criteria) {
    return [&db, criteria](const std::function<void(const TimeEntry&)>& visit) {
        forEachChosenEntry(db, criteria, [&](const TimeEntry& entry) {
            visit(entry);
            return true;
        });
    };
}

EntryWalk listedEntries(RecordStore& db, const QList<quint32>& recordIds) {
    return [&db, recordIds](const std::function<void(const TimeEntry&)>& visit) {
        const StoreSnapshot oneRead(db);
        TimeEntries entries(db);
        for (const quint32 id : recordIds)
            if (const auto entry = entries.find(id))
                visit(*entry);
    };
}

std::pair<QDate, QDate> entryDays(const EntryWalk& entries) {
    QDate first;
    QDate last;
    entries([&](const TimeEntry& entry) {
        const QDate day = dateOf(entry.date);
        if (!first.isValid() || day < first)
            first = day;
        if (!last.isValid() || day > last)
            last = day;
    });
    return {first, last};
}

ChartTable hoursPerDay(const EntryWalk& entries, QDate first, QDate last) {
    ChartTable table;
    table.kind = ChartTable::HoursPerDay;
    if (!first.isValid() || !last.isValid() || last < first)
        return table;
    const int days = int(first.daysTo(last)) + 1;
    // Under a bar there is room for little: the day of the month, with
    // its month when the days run over more than one.
    const bool oneMonth = first.year() == last.year() && first.month() == last.month();
    const QString format = oneMonth ? QStringLiteral("d") : QStringLiteral("d MMM");
    for (QDate day = first; day <= last; day = day.addDays(1)) {
        table.days.append(day);
        const platform::SystemTime st{
            quint16(day.year()), quint16(day.month()), 0, quint16(day.day()), 0, 0, 0, 0};
        table.categories.append(platform::Locale::formatDate(st, format));
    }
    Sums sums;
    entries([&](const TimeEntry& entry) {
        const qint64 at = first.daysTo(dateOf(entry.date));
        if (at < 0 || at >= days)
            return;
        QList<qint64>& values = sums[clientName(entry.client)];
        if (values.isEmpty())
            values.resize(days, 0);
        values[at] += entry.duration;
    });
    keepLargest(table, sums, days, QStringLiteral("Other clients"));
    return table;
}

ChartTable amountPerClient(const EntryWalk& entries, bool precise) {
    // Cents by client, then currency.
    QMap<QString, QMap<QString, qint64>> cents;
    QMap<QString, qint64> byCurrency;
    entries([&](const TimeEntry& entry) {
        if (entry.status == EntryStatus::NonBillable)
            return;
        const qint64 amount = centsOf(entry.amount(precise));
        cents[clientName(entry.client)][entry.currency] += amount;
        byCurrency[entry.currency] += amount;
    });
    ChartTable table;
    table.kind = ChartTable::AmountPerClient;
    if (cents.isEmpty())
        return table;
    // Currencies with the most first; clients with the most first (the sums
    // only order them: each bar is one currency).
    QStringList currencies = byCurrency.keys();
    std::stable_sort(currencies.begin(), currencies.end(), [&](const QString& a, const QString& b) {
        return byCurrency[a] > byCurrency[b];
    });
    // Clients are the series while they are sorted and folded, then turn.
    Sums byClient;
    for (auto it = cents.cbegin(); it != cents.cend(); ++it) {
        QList<qint64> values;
        for (const QString& currency : std::as_const(currencies))
            values.append(it->value(currency));
        byClient.insert(it.key(), values);
    }
    ChartTable clients;
    keepLargest(clients, byClient, int(currencies.size()), QStringLiteral("Other clients"));
    table.categories = clients.series;
    for (int c = 0; c < currencies.size(); ++c) {
        table.series.append(currencies[c].isEmpty() ? QStringLiteral("(no currency)")
                                                    : currencies[c]);
        QList<qint64> values;
        for (const QList<qint64>& client : std::as_const(clients.hundredths))
            values.append(client[c]);
        table.hundredths.append(values);
    }
    return table;
}

}  // namespace tempolatch
