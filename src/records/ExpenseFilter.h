#pragma once

#include <QString>

#include "platform/FileTime.h"
#include "records/EntryCriteria.h"
#include "records/ExpenseCriteria.h"
#include "records/SearchWords.h"
#include "store/RecordValues.h"

namespace tempolatch {

namespace platform {
class Registry;
}
class ExpenseEntry;

// Which expenses the expense window shows: an optional date range, exact
// texts, statuses, the expense type and whether a receipt exists. One
// instance is the expense window's filter; it starts every run showing
// everything (what is stored is never read back).
class ExpenseFilter {
public:
    // Receipt criterion.
    enum Receipt { WithoutReceipt = 0, WithReceipt = 1, AnyReceipt = 2 };
    static constexpr int AnyType = -1;
    // Arrange-by indices: (Default Order), Client, Project, Category, -
    // (none: the window has no 40112), Bill To, Custom 1, Custom 2.
    static constexpr int MaxArrangeBy = 7;

    // What the expense criteria sheet opens with: the days from the first
    // of the period (00:00:00) to its last (23:59:59), the mode's statuses,
    // the expense type (AnyType: any), every other criterion "(All)".
    static ExpenseFilter preset(CriteriaMode mode, const platform::SystemTime& periodStart,
                                const platform::SystemTime& periodEnd, qint32 type = AnyType);

    // The expenses these criteria choose, as the walks take them: the range
    // (every date when there is none) and this filter's match.
    ExpenseCriteria chosen() const;

    void reset() { *this = ExpenseFilter(); }
    // Every criterion of the filter sheet reset; the search stays, as its
    // box shows it.
    void showAll() {
        ExpenseFilter fresh;
        fresh.search = search;
        *this = fresh;
    }
    // Only Billable and Billed expenses pass; every other criterion of the
    // sheet is reset.
    void showUnpaidOnly();

    bool matches(const ExpenseEntry& expense) const;
    // What the filter holds back, for the line above the list; empty when
    // every expense passes.
    QString description() const;

    // The status flags, as the time entry filter keeps them (fExpFlags).
    quint32 flags() const;
    void setFlags(quint32 flags);
    bool hasDateRange() const { return startDate.month != 0; }

    // Stores the criteria under Software\Tempolatch, first deleting every
    // value of an earlier store; the date range and the custom fields are
    // not stored.
    void store(platform::Registry& registry) const;

    // The text an arrange-by index sorts on; empty for 0 and 4.
    static QString sortKey(const ExpenseEntry& expense, int arrangeBy);

    bool operator==(const ExpenseFilter&) const = default;

    platform::SystemTime startDate;
    platform::SystemTime endDate;
    QString client;
    QString project;
    QString category;
    QString billTo;
    QString currency;
    QString custom1;
    QString custom2;
    bool paid = true;
    bool nonBillable = true;
    bool billable = true;
    bool billed = true;
    qint32 receipt = AnyReceipt;
    qint32 type = AnyType;
    // Words the description, client, project or note must hold; not kept.
    SearchWords search;
};

}  // namespace tempolatch
