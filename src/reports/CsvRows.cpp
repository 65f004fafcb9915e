#include "reports/CsvRows.h"

#include "platform/Locale.h"
#include "platform/StringTable.h"
#include "reports/ExportValues.h"
#include "settings/Settings.h"
#include "store/ExpenseEntry.h"
#include "store/TimeEntry.h"

namespace tempolatch {

namespace {

const QString kLineEnd = QStringLiteral("\r\n");

QString shortDateOf(platform::FileTime time) {
    if (time.isNull())
        return {};
    const auto st = platform::toSystemTime(time);
    return st ? platform::Locale::shortDate(*st) : QString();
}

QString timeOf(platform::FileTime time) {
    const auto st = platform::toSystemTime(time);
    return st ? platform::Locale::timeWithoutSeconds(*st) : QString();
}

// The header's opening columns (a resource string ending in an opened
// quote), the labels of the custom fields and the closing columns.
QString header(int resource, std::initializer_list<const QString*> labels, const char* tail) {
    QString line = resourceString(resource);
    for (const QString* label : labels) {
        QString doubled = *label;
        line += doubled.replace(u'"', QStringLiteral("\"\"")) + QStringLiteral("\",\"");
    }
    return line + QLatin1String(tail);
}

}  // namespace

QString csvQuoted(const QString& value) {
    QString out;
    appendCsvField(out, value, true);
    return out;
}

void appendCsvField(QString& line, const QString& value, bool first) {
    if (!first)
        line += u',';
    line += u'"';
    if (value.contains(u'"')) {
        for (const QChar c : value) {
            if (c == u'"')
                line += u'"';
            line += c;
        }
    } else {
        line += value;
    }
    line += u'"';
}

QString lineBreakReplacement(quint16 breakSub) {
    switch (breakSub) {
        case 1:
            return QStringLiteral("  ");
        case 2:
            return QStringLiteral("~`");
        case 3:
            return QStringLiteral("|");
        default:
            return QStringLiteral(" ");
    }
}

QString timeEntryCsvHeader(const Settings& settings) {
    return header(str::TimeEntryCsvHeader,
                  {&settings.custom1, &settings.custom2, &settings.custom3},
                  "Note\",\"End Time\",\"Paid Date\",\"Break Time\"\r\n");
}

QString timeEntryCsvRow(const TimeEntry& entry, const Settings& settings) {
    const bool billable = entry.status != EntryStatus::NonBillable;
    const bool hasStart = entry.hasStartTime();
    QString note = entryNoteText(entry);
    note.replace(kLineEnd, lineBreakReplacement(settings.breakSub));

    QString line;
    line.reserve(160 + note.size());
    appendCsvField(line, shortDateOf(entry.date), true);
    appendCsvField(line, entry.client);
    appendCsvField(line, entry.project);
    appendCsvField(line, entry.phase);
    appendCsvField(line, entry.task);
    appendCsvField(line, hasStart ? timeOf(entry.date) : QString());
    appendCsvField(line, hundredthsText(entry.duration));
    appendCsvField(line, QString::number(int(entry.status)));
    appendCsvField(line, entry.currency);
    appendCsvField(line, entry.rate != 0 ? hundredthsText(entry.rate) : QString());
    appendCsvField(line, billable ? QString::number(int(entry.rateType)) : QString());
    appendCsvField(line, billable ? amountText(entry.amount(settings.hasFlag(PreciseCalculation)))
                                  : QString());
    appendCsvField(line, entry.billTo);
    appendCsvField(line, entry.custom1);
    appendCsvField(line, entry.custom2);
    appendCsvField(line, entry.custom3);
    appendCsvField(line, note);
    appendCsvField(line, hasStart ? timeOf(endTimeWithoutBreak(entry)) : QString());
    appendCsvField(line, shortDateOf(entry.paidDate));
    appendCsvField(line, hundredthsText(entry.breakTime));
    return line + kLineEnd;
}

QString expenseCsvHeader(ExpenseType type, const Settings& settings) {
    return header(type == ExpenseType::Mileage ? str::MileageCsvHeader : str::GeneralCsvHeader,
                  {&settings.expenseCustom1, &settings.expenseCustom2}, "Note\"\r\n");
}

QString expenseCsvRow(const ExpenseEntry& expense) {
    QString line;
    line.reserve(160 + expense.note.size());
    appendCsvField(line, QString::number(int(expense.type)), true);
    appendCsvField(line, shortDateOf(expense.date));
    appendCsvField(line, expense.description);
    appendCsvField(line, expense.client);
    appendCsvField(line, expense.project);
    if (expense.isMileage()) {
        appendCsvField(line, QString::number(expense.startOdometer));
        appendCsvField(line, QString::number(expense.distance));
        appendCsvField(line, hundredthsText(expense.amount));
    } else {
        appendCsvField(line, expense.category);
    }
    appendCsvField(line, expense.receipt ? QStringLiteral("Y") : QStringLiteral("N"));
    appendCsvField(line, expense.currency);
    appendCsvField(line, amountText(expense.totalAmount()));
    appendCsvField(line, QString::number(int(expense.status)));
    appendCsvField(line, shortDateOf(expense.paidDate));
    appendCsvField(line, expense.billTo);
    appendCsvField(line, expense.custom1);
    appendCsvField(line, expense.custom2);
    appendCsvField(line, expense.note);
    return line + kLineEnd;
}

QString summaryCsvRow(const QStringList& cells) {
    QString line;
    for (int i = 0; i < 3; ++i) {
        QString cell = cells.value(i);
        // Only the suffix of an hours figure ("12.50h"): a period name such
        // as "Month" in the same column stays as it is.
        if (i == 1 && cell.endsWith(u'h') && cell.size() > 1 && cell.at(cell.size() - 2).isDigit())
            cell.back() = u' ';
        appendCsvField(line, cell, i == 0);
    }
    return line + kLineEnd;
}

}  // namespace tempolatch
