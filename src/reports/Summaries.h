#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

#include "platform/FileTime.h"
#include "records/HoursTotal.h"
#include "records/MoneyTotals.h"
#include "settings/Settings.h"

namespace tempolatch {

class RecordStore;

class ExpenseEntry;
class TimeEntry;

// The summary windows' lists, computed without a window: each row is three
// cells (label, value, share); a row of empty cells separates sections.
using SummaryRows = QList<QStringList>;

// Hours and amounts by status, as summaries and reports add them up: Non
// Billable hours apart (they have no amount); every other status counts as
// billable, Billed and Paid separately, with the amounts of Billable and
// Billed ones unpaid. Amounts by currency, each as shown.
struct StatusTotals {
    HoursTotal nonBillableHours;
    HoursTotal billableHours;
    HoursTotal billedHours;
    HoursTotal paidHours;
    MoneyTotals amount;  // paid and unpaid
    MoneyTotals paidAmount;
    MoneyTotals unpaidAmount;
    MoneyTotals billedAmount;

    void add(const TimeEntry& entry, bool precise);
    HoursTotal totalHours() const { return billableHours + nonBillableHours; }
};

// Client Summary: the entries of one client, and of one project and task
// of it when those are given (empty: any).
struct ClientSummaryChoice {
    QString client;
    QString project;
    QString task;
};

struct ClientSummary {
    std::optional<platform::FileTime> firstEntry;  // none when nothing matches
    std::optional<platform::FileTime> lastEntry;
    StatusTotals totals;
};

bool clientSummaryMatches(const TimeEntry& entry, const ClientSummaryChoice& choice);
// Finds the first matching entry from the front and the last from the back,
// then walks only the dates between them.
ClientSummary computeClientSummary(RecordStore& entries, const ClientSummaryChoice& choice,
                                   bool precise);
SummaryRows clientSummaryRows(const ClientSummaryChoice& choice, const ClientSummary& summary,
                              HoursFormat hours = HoursFormat::Decimal);

// What the Quick Summaries show the totals of: the period of the list (its
// PeriodType 1-4 and first and last instants) and the record ids it lists.
struct SummaryPeriod {
    int periodType = 2;
    platform::SystemTime start;
    platform::SystemTime end;
};

SummaryRows quickSummaryRows(RecordStore& entries, const SummaryPeriod& period,
                             const QList<quint32>& recordIds, bool precise,
                             HoursFormat hours = HoursFormat::Decimal);
SummaryRows expenseQuickSummaryRows(RecordStore& expenses, const SummaryPeriod& period,
                                    const QList<quint32>& recordIds);

// "50.0%"-style shares: `part` of `base` with the given printf format; "0%"
// on a zero base.
QString shareText(double part, double base, const char* format);

}  // namespace tempolatch
