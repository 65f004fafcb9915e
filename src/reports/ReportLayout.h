#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <array>
#include <optional>

#include "platform/FileTime.h"

namespace tempolatch {

// The definition of one report: its kind, title, date selection, grouping,
// the fields shown and their order, the totals shown, and an invoice's
// number and date. A fixed 272-byte little-endian record, kept as it is in
// saved reports; the accessors read and write its bytes.
class ReportLayout {
public:
    static constexpr int Size = 272;
    // Resource strings: the total row's caption of each total field.
    static constexpr int TotalCaptions = 3070;
    // Time reports show the first 18 codes of the field order, general
    // expense reports the first 14 and mileage expense reports the first 16.
    static constexpr int TimeFieldCount = 18;
    static constexpr int GeneralFieldCount = 14;
    static constexpr int MileageFieldCount = 16;
    // Expense fields are numbered 0-16 (ExpenseField).
    static constexpr int ExpenseFields = 17;

    enum Type : quint16 {
        GroupBy = 0,
        Tabular = 1,
        Invoice = 2,
        GeneralExpense = 3,
        MileageExpense = 4
    };
    enum DateSelection : quint16 { NoDates = 0, Range = 1, StartDateOnly = 2 };
    // Fields of time reports, by number (captions: strings 5001 + number).
    enum Field {
        EntryDate = 0,
        Client,
        Project,
        Phase,
        Task,
        Duration,
        Currency,
        Status,
        Rate,
        StartTime,
        BillTo,
        Custom1,
        Custom2,
        Custom3,
        RateType,
        Amount,
        Note,
        EndTime
    };
    // Fields of expense reports, by number.
    enum ExpenseField {
        ExpenseDate = 0,
        Description,
        ExpenseClient,
        ExpenseProject,
        StartOdometer,
        Distance,
        Category,
        ExpenseCurrency,
        ExpenseRate,
        ExpenseStatus,
        Receipt,
        ExpenseBillTo,
        ExpenseCustom1,
        ExpenseCustom2,
        ExpenseNote,
        ExpenseAmount,
        EndOdometer
    };
    // The show flags, by their offsets in the record.
    enum Flag : int {
        GroupTitle = 140,
        GroupTotalHours = 141,
        TotalBillableHours = 144,
        TotalBilledHours = 145,
        TotalUnpaidAmount = 146,
        TotalBilledAmount = 147,
        TotalPaidAmount = 148,
        TotalNonBillableHours = 149,
        ReportDate = 152,
    };
    static constexpr std::array<Flag, 6> TotalFlags = {TotalBillableHours, TotalBilledHours,
                                                       TotalUnpaidAmount,  TotalBilledAmount,
                                                       TotalPaidAmount,    TotalNonBillableHours};
    // The group-by choices of the layout dialog, as the property ids stored.
    static constexpr std::array<quint32, 15> GroupByChoices = {
        0x03E90040, 0x03EA001F, 0x03EB001F, 0x03EC001F, 0x03ED001F,
        0x03EE0012, 0x03EF001F, 0x03F1000B, 0x03F2000B, 0x03F50040,
        0x03F6001F, 0x03F7001F, 0x03F8001F, 0x03F9001F, 0x03FA0012};
    static inline const QString DefaultFieldOrder =
        QStringLiteral("01234a95bcde678fghijklmnopqrst");
    // What a short field order is completed with.
    static inline const QString FieldOrderTail = QStringLiteral("hijklmnopqrst");

    ReportLayout();  // all zero

    static bool isExpenseType(int type) { return type == GeneralExpense || type == MileageExpense; }

    // The built-in layout of a report kind (Group By, Tabular, Invoice,
    // General Expense, Mileage Expense).
    static ReportLayout builtInDefault(int kind);
    // A stored layout of 272 bytes, 224 bytes (without the invoice fields)
    // or 220 bytes (the older form, with hide flags); nullopt for any other
    // size. The version always reads as 300.
    static std::optional<ReportLayout> fromStored(const QByteArray& bytes);
    QByteArray toBytes() const;

    quint16 version() const { return u16(0); }
    void setVersion(quint16 v) { setU16(0, v); }
    QString title() const { return text(4, 64); }
    void setTitle(const QString& title) { setText(4, 64, title); }
    quint16 reportType() const { return u16(132); }
    void setReportType(quint16 type) { setU16(132, type); }
    quint16 dateSelection() const { return u16(134); }
    void setDateSelection(quint16 selection) { setU16(134, selection); }
    quint32 groupBy() const { return u32(136); }
    void setGroupBy(quint32 property) { setU32(136, property); }
    bool shows(Flag flag) const { return m_bytes[size_t(flag)] != 0; }
    void setShows(Flag flag, bool on) { m_bytes[size_t(flag)] = on ? 1 : 0; }
    QString fieldOrder() const { return text(156, 31); }
    void setFieldOrder(const QString& order) { setText(156, 31, order); }
    quint32 fieldMask() const { return u32(220); }
    void setFieldMask(quint32 mask) { setU32(220, mask); }
    QString invoiceNumber() const { return text(224, 16); }
    void setInvoiceNumber(const QString& number) { setText(224, 16, number); }
    platform::SystemTime invoiceDate() const;
    void setInvoiceDate(const platform::SystemTime& date);

    // Completes an order too short for its report type: a time report's
    // gets the tail of codes, an expense report's the codes of its type's
    // fields that it lacks.
    void completeFieldOrder();
    // How many codes of the field order count for the layout's report type.
    int fieldCount() const;
    // The field codes that count, in order, without those that name no field
    // of the report type.
    QList<int> orderedFields() const;
    // The group-by choice (0-14) of the stored property; -1 when none.
    int groupByIndex() const;
    // The fields shown, in order: the codes that count whose bit is set.
    QList<int> columns() const;
    QList<int> timeColumns() const { return columns(); }

    static int fieldOfCode(QChar code);  // -1 for no field code
    static QChar codeOfField(int field);

    bool operator==(const ReportLayout&) const = default;

private:
    quint16 u16(int offset) const;
    quint32 u32(int offset) const;
    void setU16(int offset, quint16 value);
    void setU32(int offset, quint32 value);
    // A NUL-terminated UTF-16 text of at most `units` units with its NUL.
    QString text(int offset, int units) const;
    void setText(int offset, int units, const QString& text);

    std::array<quint8, Size> m_bytes{};
};

}  // namespace tempolatch
