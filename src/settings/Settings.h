#pragma once

#include <QString>
#include <array>

#include "platform/FileTime.h"

namespace tempolatch {

namespace platform {
class Registry;
}

// Bits of the style flags word (DefNewStyles).
enum StyleFlag : quint32 {
    NewEntriesBillable = 0x1,
    TapPreviews = 0x2,
    WeekStartsMonday = 0x8,
    BoldListFont = 0x10,
    PreciseCalculation = 0x20,
    ShowWeekNumbers = 0x40,
    DurationGranularity = 0x80,
    SoftKeyMenus = 0x100,
    OwnerBlockOnInvoices = 0x200,
};

// Who sends the invoices: the block at the top of an invoice report. The
// desktop has no device owner record, so the Options sheet keeps it.
struct OwnerInfo {
    QString name;
    QString company;
    QString address;
    QString line1;
    QString line2;

    bool isEmpty() const {
        return name.isEmpty() && company.isEmpty() && address.isEmpty() && line1.isEmpty() &&
               line2.isEmpty();
    }
    bool operator==(const OwnerInfo&) const = default;
};

// How reports and summaries write hours: "1.17h", or "1:10" for those
// who read "1.17" as 1 hour 17 minutes.
enum class HoursFormat : quint16 { Decimal = 0, HoursMinutes = 1 };

// A tax an invoice adds to its net amount: "VAT" at 2000 (20 %).
struct TaxLine {
    QString name;      // no name: no tax
    quint32 rate = 0;  // hundredths of a percent

    bool isSet() const { return !name.isEmpty(); }
    bool operator==(const TaxLine&) const = default;
};

// What an invoice carries beyond its layout (Options, Invoice page). The
// sequence's next number is kept apart (InvoiceNumbers.h): it moves on with
// every invoice written, not with the settings.
struct InvoiceOptions {
    QString numberPrefix;     // before the sequence's number: "INV-2026-"
    quint32 paymentDays = 0;  // the due date is this many days after the issue; 0: none
    std::array<TaxLine, 2> taxes;
    QString note;  // a line below the totals: a reverse charge, how to pay

    bool operator==(const InvoiceOptions&) const = default;
};

// The user's options for the whole program, kept under Software\Tempolatch.
// One object for the run, owned where the run starts and handed down in the
// Context; loaded when the main window is created, saved when it is
// destroyed and after the Options sheet.
class Settings {
public:
    static constexpr quint32 CurrentVersion = 300;
    static constexpr int MinTimeChoices[] = {6, 10, 15, 20, 30, 40, 45, 50};
    static constexpr int TimeIntervalMinutes[] = {10, 15, 20, 30, 6};
    static constexpr int LeastIdleMinutes = 5;
    static constexpr int MostIdleMinutes = 120;
    static constexpr int MostLongTimerHours = 24;

    // Never fails visibly: what cannot be read keeps its default.
    void load(platform::Registry& registry);
    // All values or none: false, with the stored settings as they were, when
    // the key can be neither opened nor created or a write fails.
    bool save(platform::Registry& registry) const;

    bool hasFlag(StyleFlag flag) const { return flags & flag; }
    void setFlag(StyleFlag flag, bool on) {
        flags = on ? (flags | flag) : (flags & ~quint32(flag));
    }

    // Minutes of one step of the editor's duration choices.
    int timeIntervalMinutes() const;

    quint32 version = 250;  // tlVersion as loaded
    quint32 view = 2;       // PeriodType of the entry view
    quint32 expView = 3;
    quint32 listStyle = 0;
    quint32 expListStyle = 0;
    quint16 fontSize = 1;  // FSize: 0, 1, 2 give 7, 8, 9 points
    // The desktop's ClearType value, read with the settings, never written.
    bool clearType = false;
    quint32 flags = 0;  // DefNewStyles
    bool askClose = false;
    QString custom1, custom2, custom3;
    QString expenseCustom1, expenseCustom2;
    QString defaultCurrency = QStringLiteral("USD");
    quint16 encoding = 0;
    quint16 breakSub = 0;
    // Text in CSV files that a spreadsheet would take for a formula (it
    // starts with = + - @, a tab or a carriage return) is written after an
    // apostrophe. On unless the user needs the raw values.
    bool csvFormulaGuard = true;
    quint16 minTime = 15;
    // Minutes without keyboard or mouse after which, on the user's return,
    // running timers ask what to do with the time away; 0: never.
    quint16 idleMinutes = 0;
    // Hours after which a running timer is told on the desktop; 0: never.
    quint16 longTimerHours = 0;
    quint16 timeInterval = 3;
    std::array<quint32, 6> viewCust = {0, 3, 0, 0, 0, 0};
    quint16 sort = 0;
    quint16 expSort = 0;
    quint16 hourSymbol = 1;
    std::array<QString, 5> defaultReports;
    OwnerInfo owner;
    // An image shown above the owner block, embedded in every page that
    // has the block; empty: none.
    QString ownerLogo;
    HoursFormat hoursFormat = HoursFormat::Decimal;
    // The main window's timer strip: 0 above the list, 1 at its foot by the
    // status line.
    quint16 timerStripPlace = 0;
    InvoiceOptions invoice;
    platform::SystemTime periodStart;
    platform::SystemTime periodEnd;
    QString dbPath;
    quint32 treeOptions = 0;

    // Not stored: set when the repair of older data failed, so that the old
    // version is kept and the repair runs again at the next start.
    bool dataUpgradePending = false;

    Settings();

private:
    void loadFlags(platform::Registry& registry, bool newKey);
    void loadNumbers(platform::Registry& registry);
    void loadTexts(platform::Registry& registry);
    void loadViewCust(platform::Registry& registry);
    void loadPeriods(platform::Registry& registry);
};

// True when the desktop's ClearType value (Software\Microsoft\Shell) is 1.
bool clearTypeOn(const platform::Registry& registry);

}  // namespace tempolatch
