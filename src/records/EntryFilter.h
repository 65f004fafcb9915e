#pragma once

#include <QString>
#include <QStringList>

#include "platform/FileTime.h"
#include "records/SearchWords.h"
#include "store/Databases.h"
#include "store/RecordValues.h"

namespace tempolatch {

class RecordStore;

namespace platform {
class Registry;
}
class TimeEntry;

// Which time entries pass: an optional date range, exact texts, statuses
// and a rate type. One instance is the main window's view filter; bulk
// commands, exports and reports fill copies of their own.
class EntryFilter {
public:
    // Status bits of the stored flags value (fFlags).
    enum StatusFlag : quint32 {
        BillableFlag = 0x1,
        PaidFlag = 0x4,
        NonBillableFlag = 0x10,
        BilledFlag = 0x20,
    };
    static constexpr quint32 AllFlags = 0x35;
    static constexpr int MaxArrangeBy = 8;

    // Every entry passes.
    void reset() { *this = EntryFilter(); }
    // Every criterion of the filter sheet reset; the search stays, as its
    // box shows it.
    void showAll() {
        EntryFilter fresh;
        fresh.search = search;
        *this = fresh;
    }
    // Only Billable and Billed entries pass; every other criterion of the
    // sheet is reset.
    void showUnpaidOnly();

    bool matches(const TimeEntry& entry) const;
    // What the filter holds back, for a line above the list ("Acme, Website;
    // Billable, Billed only"); empty when every entry passes.
    QString description() const;

    quint32 flags() const;
    void setFlags(quint32 flags);
    // The flags value of four status choices, and whether a status passes
    // a flags value; the expense filter keeps its statuses the same way.
    static quint32 flagsOf(bool billable, bool paid, bool nonBillable, bool billed);
    static bool statusPasses(quint32 flags, EntryStatus status);
    // The criteria named, then the statuses a flags value lets pass unless
    // it lets all pass.
    static QString describe(const QStringList& criteria, quint32 flags);
    bool hasDateRange() const { return startDate.month != 0; }

    // The criteria kept under Software\Tempolatch; the date range and the
    // custom fields are not kept. Load changes only what it finds.
    void store(platform::Registry& registry) const;
    void load(const platform::Registry& registry);

    // Arrange-by order of two entries (index 0 to 8): the index's text field
    // in the user's locale, then the date-time, then the task.
    static int compare(const TimeEntry& a, const TimeEntry& b, int arrangeBy);
    // The same for two records of the entries database, read by record id.
    static int compare(RecordStore& db, quint32 recordA, quint32 recordB, int arrangeBy);
    // The text an arrange-by index sorts on; empty for index 0.
    static QString sortKey(const TimeEntry& entry, int arrangeBy);

    bool operator==(const EntryFilter&) const = default;

    platform::SystemTime startDate;
    platform::SystemTime endDate;
    QString client;
    QString project;
    QString phase;
    QString task;
    QString billTo;
    QString currency;
    bool paid = true;
    bool nonBillable = true;
    bool billable = true;
    bool billed = true;
    qint32 rateType = -1;  // -1: any
    QString custom1;
    QString custom2;
    QString custom3;
    // Words the entry's texts (client, project, phase, task, bill to, the
    // custom fields and the note) must hold; a search, not kept.
    SearchWords search;
};

}  // namespace tempolatch
