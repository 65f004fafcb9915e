#pragma once

#include "records/MoneyTotals.h"
#include "store/Databases.h"
#include "views/ColumnLayout.h"
#include "views/EntryList.h"
#include "views/EntryRow.h"
#include "views/PeriodRecords.h"

namespace tempolatch {

class ExpenseEntry;
class ExpenseFilter;
class RecordStore;
class Settings;

// Rows of expenses for the Default and Simple lists of the expense window.
class ExpenseRows {
public:
    // Columns of the Simple list.
    enum Column {
        DateColumn,
        DescriptionColumn,
        ClientColumn,
        ProjectColumn,
        CategoryColumn,
        StartOdometerColumn,
        EndOdometerColumn,
        DistanceColumn,
        CurrencyColumn,
        RateColumn,
        AmountColumn,
        ReceiptColumn,
        BillToColumn,
        Custom1Column,
        Custom2Column,
    };

    // The fifteen columns of the expense list, kept as ExpColOrder and
    // "ExpColumn%d".
    static const ColumnLayout& columns();

    // What the list of `context` shows of the expense; the Default row has
    // three lines, with the day's layout when the expense window shows a day.
    static EntryRow build(const ExpenseEntry& expense, const RowContext& context);

    // The icon under the status icon: mileage or general.
    static QString kindIcon(const ExpenseEntry& expense);
    // The amount as shown (rate x distance for mileage), in cents.
    static QString amountText(const ExpenseEntry& expense);

private:
    static void fillDefault(EntryRow& row, const ExpenseEntry& expense, bool dayView);
    static void fillSimple(EntryRow& row, const ExpenseEntry& expense);
};

// The expenses a period view of the expense window loads: the expenses
// database walked by date, filtered and arranged as the window says.
class ExpenseRecords : public PeriodRecords {
public:
    ExpenseRecords(const ExpenseFilter& filter, const Settings& settings, RecordStore& store)
        : m_store(store), m_filter(filter), m_settings(settings) {}

    bool walk(platform::FileTime from, platform::FileTime to,
              const RecordAccess::Visit& visit) override;
    void addRecord(const platform::PropertyList& props, quint32 recordId, bool select,
                   const RowContext& context, EntryList& list) override;
    int arrangeBy() const override;
    void beginLoad() override;

    // The expenses of the last load that passed the filter, and their
    // amounts by currency, for the status line.
    int count() const { return m_count; }
    QString totalsText() const;

private:
    RecordStore& m_store;
    const ExpenseFilter& m_filter;
    const Settings& m_settings;
    int m_count = 0;
    MoneyTotals m_amounts;  // of the billable expenses
};

}  // namespace tempolatch
