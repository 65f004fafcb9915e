#pragma once

#include <QString>

namespace tempolatch {

// Status of a time entry or expense.
enum class EntryStatus : quint16 { NonBillable = 0, Billable = 1, Billed = 2, Paid = 3 };

// Rate types of entries and rate records.
enum class RateType : quint16 { Normal = 0, Overtime = 1, Weekend = 2, Fixed = 3, Discount = 4 };

enum class ExpenseType : quint16 { General = 0, Mileage = 1 };

// Display names ("Non Billable", "Normal Rate", "General Expense"); empty for
// values that name nothing.
QString statusName(EntryStatus status);
QString rateTypeName(RateType type);
QString expenseTypeName(ExpenseType type);

// Durations, breaks and rates in hundredths as lists and files show them:
// "%.2f" of the value in units.
QString hundredthsText(qint64 hundredths);
// Amounts in currency units: "%.02f".
QString amountText(double amount);

// Whole minutes of a duration or break in hundredths of an hour. The
// hundredths 17, 33, 67 and 83 stand for 10, 20, 40 and 50 minutes.
int wholeMinutes(qint32 hundredths);

// The hours a duration stands for: the ten-minute fractions exactly when
// `precise` is set, else the plain hundredths.
double hoursOf(qint32 hundredths, bool precise);

// Durations and breaks are kept in 16 bits.
inline constexpr qint32 MaxStoredHundredths = 0xFFFF;

}  // namespace tempolatch
