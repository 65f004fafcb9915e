#pragma once

#include "views/EntryList.h"
#include "views/EntryRow.h"
#include "views/PeriodRecords.h"
#include "views/PeriodTotals.h"

namespace tempolatch {

class EntryFilter;
class Settings;
class RecordStore;
class TimeEntry;

// Rows of time entries for the three lists.
class TimeEntryRows {
public:
    // What the list of `context` shows of the entry, with the Default list's
    // customisation and the tree options of `settings`.
    static EntryRow build(const TimeEntry& entry, const RowContext& context,
                          const Settings& settings);

    // The time texts of the lists: start time and end time in the locale's
    // short time format.
    static QString startTimeText(const TimeEntry& entry);
    static QString endTimeText(const TimeEntry& entry);

private:
    static void fillDefault(EntryRow& row, const TimeEntry& entry, const RowContext& context,
                            const Settings& settings);
    static void fillSimple(EntryRow& row, const TimeEntry& entry, const Settings& settings);
    static void fillTree(EntryRow& row, const TimeEntry& entry, const Settings& settings);
};

// The time entries a period view loads: the entries database, walked by
// date, filtered and arranged as the settings say.
class TimeEntryRecords : public PeriodRecords {
public:
    // The entries of the record store, whenever it is open.
    TimeEntryRecords(const EntryFilter& filter, const Settings& settings, RecordStore& store)
        : m_store(&store), m_filter(filter), m_settings(settings) {}

    bool walk(platform::FileTime from, platform::FileTime to,
              const RecordAccess::Visit& visit) override;
    void addRecord(const platform::PropertyList& props, quint32 recordId, bool select,
                   const RowContext& context, EntryList& list) override;
    int arrangeBy() const override;
    bool addsUp() const override { return true; }
    void beginLoad() override { m_totals = {}; }

    // The entries of the last load that passed the filter, added up.
    const PeriodTotals& totals() const { return m_totals; }
    // A shown entry was deleted and its row taken out without a reload.
    void entryRemoved(const TimeEntry& entry);

private:
    RecordStore* m_store = nullptr;
    const EntryFilter& m_filter;
    const Settings& m_settings;
    PeriodTotals m_totals;
};

}  // namespace tempolatch
