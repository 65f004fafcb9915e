#pragma once

#include <QString>
#include <QStringList>

#include "store/RecordValues.h"

namespace tempolatch {

class ExpenseEntry;
class Settings;
class TimeEntry;

// The lines of our CSV files, each a pure function of one record and the
// settings, ending in CR LF. Every value stands in double quotes, fields are
// separated by commas, and a double quote inside a value is doubled, so that
// spreadsheet programs and CSV readers get back exactly what was written.
// Control characters other than tab and line breaks are left out.

// `value` in double quotes, its own double quotes doubled.
QString csvQuoted(const QString& value);
// Appends "," (unless `first`) and the quoted value.
void appendCsvField(QString& line, const QString& value, bool first = false);

// A text the user typed, as a CSV field carries it: with `guardFormulas`
// (the csvFormulaGuard setting), one that starts with = + - @, a tab or a
// carriage return gets an apostrophe in front, so that a spreadsheet shows
// it instead of running it as a formula; a plain number ("-1.50") stays as
// it is. Control characters are left out first.
QString csvText(const QString& value, bool guardFormulas);

// What a line break inside a note becomes (the BreakSub option): 0 one
// space, 1 two spaces, 2 "~`", 3 "|". Unknown values count as 0.
QString lineBreakReplacement(quint16 breakSub);

// Time entries: 20 columns, the three custom ones headed by the user's labels.
QString timeEntryCsvHeader(const Settings& settings);
QString timeEntryCsvRow(const TimeEntry& entry, const Settings& settings);

// Expenses of one type: general ones carry Category, mileage ones Start Odo,
// Distance and the Rate per distance unit. Notes keep their line breaks
// inside their quoted field.
QString expenseCsvHeader(ExpenseType type, const Settings& settings);
QString expenseCsvRow(const ExpenseEntry& expense, bool guardFormulas = true);

// A row of a summary list: its cells in quotes, the hours' suffix h of the
// second cell ("12.50h") turned into a space. No header goes with them. The
// cells are texts (names, labels, figures): each is guarded as csvText says.
QString summaryCsvRow(const QStringList& cells, bool guardFormulas = true);

}  // namespace tempolatch
