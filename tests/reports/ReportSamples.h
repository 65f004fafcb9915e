#pragma once

#include "common/TestDates.h"
#include "notes/NoteStream.h"
#include "records/EntryFilter.h"
#include "records/InvoiceItems.h"
#include "store/Expenses.h"
#include "store/RecordStore.h"
#include "store/TimeEntries.h"

namespace tempolatch::test {

inline QByteArray noteOf(const QString& text) {
    const auto note = NoteStream::read(NoteStream::writeText(text, NoteStreamFormat::UnicodeText),
                                       NoteStreamFormat::UnicodeText);
    return note ? note->bytes() : QByteArray();
}

// The small store the export and report files are compared on: texts
// that need escaping, accents, Chinese and Japanese, every status and
// rate type, with and without start times, breaks and notes.
inline QList<TimeEntry> reportSampleEntries() {
    QList<TimeEntry> entries;
    const auto add = [&](platform::FileTime date, EntryStatus status, RateType type,
                         const QString& client, const QString& task, qint32 duration,
                         qint32 breakTime, qint32 rate) -> TimeEntry& {
        TimeEntry e;
        e.date = date;
        e.status = status;
        e.rateType = type;
        e.client = client;
        e.project = QStringLiteral("Website");
        e.task = task;
        e.duration = duration;
        e.breakTime = breakTime;
        e.rate = rate;
        e.currency = QStringLiteral("USD");
        e.modified = date;
        entries.append(e);
        return entries.last();
    };
    TimeEntry& first = add(at(2026, 12, 1, 13, 30, 1), EntryStatus::Billable, RateType::Normal,
                           QStringLiteral("a<b"), QStringLiteral("R&D"), 150, 25, 6000);
    first.project = QStringLiteral("Web & \"Co\"");
    first.billTo = QStringLiteral("Jane O'Roe");
    first.custom1 = QStringLiteral("PO 17");
    first.note = noteOf(QStringLiteral("Line one\r\nsays ]]> here"));
    TimeEntry& second =
        add(at(2026, 12, 2, 9, 0), EntryStatus::NonBillable, RateType::Normal,
            QStringLiteral("Caf\u00e9 M\u00fcller"), QStringLiteral("Design"), 200, 0, 0);
    second.currency = QStringLiteral("EUR");
    second.phase = QStringLiteral("Draft");
    add(at(2026, 12, 3, 22, 30, 1), EntryStatus::Billed, RateType::Fixed, QStringLiteral("a<b"),
        QStringLiteral("Support"), 200, 50, 12500);
    TimeEntry& cjk = add(at(2026, 12, 4, 10, 0, 1), EntryStatus::Paid, RateType::Overtime,
                         QStringLiteral("\u53f0\u5317\u5546\u884c"),
                         QStringLiteral("\u30c6\u30b9\u30c8 \u20ac"), 117, 0, 8000);
    cjk.paidDate = at(2026, 12, 20);
    cjk.note = noteOf(QStringLiteral("\u65e5\u672c \u00e9"));
    TimeEntry& control = add(at(2026, 12, 5, 8, 15, 1), EntryStatus::Billable, RateType::Discount,
                             QStringLiteral("Ctl\u0001x"), QStringLiteral("Review"), 33, 17, 5050);
    control.custom3 = QStringLiteral("tab\there");
    return entries;
}

inline bool fillReportSample(RecordStore& store) {
    TimeEntries entries(store);
    for (TimeEntry e : reportSampleEntries())
        if (entries.add(e) != WriteResult::Written)
            return false;
    return true;
}

// Expenses of March 2026 for the expense reports, of both types, with texts
// that need escaping, accents and Chinese, receipts or not; and one of each
// type in April, after the ranges the tests choose.
inline QList<ExpenseEntry> expenseSampleEntries() {
    QList<ExpenseEntry> out;
    const auto add = [&](ExpenseType type, platform::FileTime date, const QString& description,
                         const QString& client, EntryStatus status, qint32 amount,
                         bool receipt) -> ExpenseEntry& {
        ExpenseEntry e;
        e.type = type;
        e.date = date;
        e.modified = date;
        e.description = description;
        e.client = client;
        e.status = status;
        e.amount = amount;
        e.receipt = receipt;
        e.currency = QStringLiteral("USD");
        out.append(e);
        return out.last();
    };
    ExpenseEntry& visit = add(ExpenseType::Mileage, at(2026, 3, 3), QStringLiteral("Site visit"),
                              QStringLiteral("Acme & Sons"), EntryStatus::Billed, 35, true);
    visit.project = QStringLiteral("Web <new>");
    visit.billTo = QStringLiteral("Jane O'Roe");
    visit.startOdometer = 1000;
    visit.distance = 25;
    visit.custom1 = QStringLiteral("c1");
    visit.note = QStringLiteral("there\r\nand back");
    ExpenseEntry& lunch =
        add(ExpenseType::General, at(2026, 3, 4), QStringLiteral("Lunch, team"),
            QStringLiteral("Caf\u00e9 M\u00fcller"), EntryStatus::Billable, 4250, true);
    lunch.category = QStringLiteral("Meals");
    lunch.currency = QStringLiteral("EUR");
    lunch.billTo = QStringLiteral("Accounts \"Payable\"");
    lunch.custom2 = QStringLiteral("x2");
    ExpenseEntry& back = add(ExpenseType::Mileage, at(2026, 3, 5), QStringLiteral("Return"),
                             QStringLiteral("Acme & Sons"), EntryStatus::Paid, 35, false);
    back.startOdometer = 1025;
    back.distance = 120;  // 0.35 x 120 = 42.00
    back.paidDate = at(2026, 3, 20);
    ExpenseEntry& hotel =
        add(ExpenseType::General, at(2026, 3, 6), QStringLiteral("Hotel \u53f0\u5317"),
            QStringLiteral("Acme & Sons"), EntryStatus::NonBillable, 12000, false);
    hotel.category = QStringLiteral("Lodging");
    hotel.note = QStringLiteral("two nights");
    add(ExpenseType::General, at(2026, 4, 2), QStringLiteral("Later"),
        QStringLiteral("Acme & Sons"), EntryStatus::Billable, 100, false);
    ExpenseEntry& later = add(ExpenseType::Mileage, at(2026, 4, 2), QStringLiteral("Later trip"),
                              QStringLiteral("Acme & Sons"), EntryStatus::Billable, 40, false);
    later.distance = 10;
    return out;
}

inline bool fillExpenseSample(RecordStore& store) {
    Expenses expenses(store);
    for (ExpenseEntry e : expenseSampleEntries())
        if (expenses.add(e) != WriteResult::Written)
            return false;
    return true;
}

// November 2026 of a client billed in EUR and JPY: Billable, Non Billable
// and Billed entries and expenses of both types, and around them what an
// invoice of Globex's November must leave out (another client's, December's).
// The items are the Billable ones of Globex's November, in date order.
inline std::optional<InvoiceItems> fillInvoiceSample(RecordStore& store) {
    InvoiceItems items;
    TimeEntries entries(store);
    bool ok = true;
    const auto addEntry = [&](int day, const char* client, const char* currency, qint32 duration,
                              qint32 rate, EntryStatus status) {
        TimeEntry e;
        e.date = at(2026, 11, day, 9, 0, 1);
        e.modified = e.date;
        e.client = QString::fromLatin1(client);
        e.billTo = QStringLiteral("Hank Scorpio");
        e.task = QStringLiteral("Audit");
        e.currency = QString::fromLatin1(currency);
        e.duration = duration;
        e.rate = rate;
        e.status = status;
        ok = ok && entries.add(e) == WriteResult::Written;
        if (status == EntryStatus::Billable && e.client == QLatin1String("Globex"))
            items.entries.append(e.recordId);
    };
    for (const int day : {2, 3, 4})
        addEntry(day, "Globex", "EUR", 50, 7525, EntryStatus::Billable);  // 37.625 each
    addEntry(5, "Globex", "EUR", 200, 7525, EntryStatus::NonBillable);
    addEntry(6, "Globex", "JPY", 100, 214600, EntryStatus::Billed);
    addEntry(7, "Initech", "EUR", 100, 9000, EntryStatus::Billable);

    Expenses expenses(store);
    const auto addExpense = [&](int month, int day, const char* client, const char* currency,
                                ExpenseType type, qint32 amount, EntryStatus status) {
        const bool mileage = type == ExpenseType::Mileage;
        ExpenseEntry e;
        e.date = at(2026, month, day, 12, 0);
        e.modified = e.date;
        e.client = QString::fromLatin1(client);
        e.billTo = QStringLiteral("Hank Scorpio");
        e.description = mileage ? QStringLiteral("Site visit") : QStringLiteral("Train & taxi");
        e.category = mileage ? QString() : QStringLiteral("Travel");
        e.currency = QString::fromLatin1(currency);
        e.type = type;
        e.amount = amount;
        e.distance = mileage ? 123 : 0;
        e.status = status;
        ok = ok && expenses.add(e) == WriteResult::Written;
        if (status == EntryStatus::Billable && month == 11 && e.client == QLatin1String("Globex"))
            items.expenses.append(e.recordId);
    };
    addExpense(11, 3, "Globex", "EUR", ExpenseType::General, 4005, EntryStatus::Billable);
    addExpense(11, 4, "Globex", "EUR", ExpenseType::General, 1000, EntryStatus::Billed);
    addExpense(11, 5, "Globex", "EUR", ExpenseType::General, 1000, EntryStatus::NonBillable);
    addExpense(11, 6, "Initech", "EUR", ExpenseType::General, 9900, EntryStatus::Billable);
    addExpense(11, 9, "Globex", "JPY", ExpenseType::Mileage, 3333, EntryStatus::Billable);
    addExpense(11, 30, "Globex", "EUR", ExpenseType::General, 1, EntryStatus::Billable);
    addExpense(12, 1, "Globex", "EUR", ExpenseType::General, 555, EntryStatus::Billable);
    return ok ? std::optional(items) : std::nullopt;
}

// Globex's November, as the criteria sheet gives it.
inline EntryFilter invoiceSampleCriteria() {
    EntryFilter november;
    november.startDate = day(2026, 11, 1);
    november.endDate = localTime(2026, 11, 30, 23, 59, 59);
    november.client = QStringLiteral("Globex");
    return november;
}

}  // namespace tempolatch::test
