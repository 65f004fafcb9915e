#include "reports/CsvRows.h"

#include <QRegularExpression>

#include "platform/Locale.h"
#include "platform/StringTable.h"
#include "reports/ExportValues.h"
#include "settings/Settings.h"
#include "store/ExpenseEntry.h"
#include "store/TimeEntry.h"

namespace tempolatch {

namespace {

const QString kLineEnd = QStringLiteral("\r\n");

QString timeOf(platform::FileTime time) {
    const auto st = platform::toSystemTime(time);
    return st ? platform::Locale::timeWithoutSeconds(*st) : QString();
}

// Tab and line breaks belong in text; other control characters only
// confuse the programs that read the file.
bool isDropped(QChar c) {
    const char16_t u = c.unicode();
    const bool control = u < 0x20 || (u >= 0x7F && u <= 0x9F);
    return control && u != u'\t' && u != u'\r' && u != u'\n';
}

// A figure as the program writes it ("-1.50", "12.50 ", "100.0%"), which a
// spreadsheet reads as the number it is.
bool isPlainNumber(const QString& value) {
    static const QRegularExpression number(QStringLiteral("^[-+]?\\d[\\d.,' ]*[h%]? *$"));
    return number.match(value).hasMatch();
}

// The header's opening columns (a resource string ending in an opened
// quote), the labels of the custom fields and the closing columns.
QString header(int resource, std::initializer_list<const QString*> labels, const char* tail,
               bool guardFormulas) {
    QString line = resourceString(resource);
    for (const QString* label : labels) {
        QString doubled = csvText(*label, guardFormulas);
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
    for (const QChar c : value) {
        if (isDropped(c))
            continue;
        if (c == u'"')
            line += u'"';
        line += c;
    }
    line += u'"';
}

QString csvText(const QString& value, bool guardFormulas) {
    QString text = value;
    text.removeIf(isDropped);
    static const QString formulaStarts = QStringLiteral("=+-@\t\r");
    if (guardFormulas && !text.isEmpty() && formulaStarts.contains(text.front()) &&
        !isPlainNumber(text))
        text.prepend(u'\'');
    return text;
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
                  "Note\",\"End Time\",\"Paid Date\",\"Break Time\"\r\n", settings.csvFormulaGuard);
}

QString timeEntryCsvRow(const TimeEntry& entry, const Settings& settings) {
    const bool billable = entry.status != EntryStatus::NonBillable;
    const bool hasStart = entry.hasStartTime();
    QString note = entryNoteText(entry);
    note.replace(kLineEnd, lineBreakReplacement(settings.breakSub));

    const auto text = [&](const QString& value) {
        return csvText(value, settings.csvFormulaGuard);
    };
    QString line;
    line.reserve(160 + note.size());
    appendCsvField(line, shortDateText(entry.date), true);
    appendCsvField(line, text(entry.client));
    appendCsvField(line, text(entry.project));
    appendCsvField(line, text(entry.phase));
    appendCsvField(line, text(entry.task));
    appendCsvField(line, hasStart ? timeOf(entry.date) : QString());
    appendCsvField(line, hundredthsText(entry.duration));
    appendCsvField(line, QString::number(int(entry.status)));
    appendCsvField(line, text(entry.currency));
    appendCsvField(line, entry.rate != 0 ? hundredthsText(entry.rate) : QString());
    appendCsvField(line, billable ? QString::number(int(entry.rateType)) : QString());
    appendCsvField(line, billable ? amountText(entry.amount(settings.hasFlag(PreciseCalculation)))
                                  : QString());
    appendCsvField(line, text(entry.billTo));
    appendCsvField(line, text(entry.custom1));
    appendCsvField(line, text(entry.custom2));
    appendCsvField(line, text(entry.custom3));
    appendCsvField(line, text(note));
    appendCsvField(line, hasStart ? timeOf(endTimeWithoutBreak(entry)) : QString());
    appendCsvField(line, shortDateText(entry.paidDate));
    appendCsvField(line, hundredthsText(entry.breakTime));
    return line + kLineEnd;
}

QString expenseCsvHeader(ExpenseType type, const Settings& settings) {
    return header(type == ExpenseType::Mileage ? str::MileageCsvHeader : str::GeneralCsvHeader,
                  {&settings.expenseCustom1, &settings.expenseCustom2}, "Note\"\r\n",
                  settings.csvFormulaGuard);
}

QString expenseCsvRow(const ExpenseEntry& expense, bool guardFormulas) {
    const auto text = [&](const QString& value) { return csvText(value, guardFormulas); };
    QString line;
    line.reserve(160 + expense.note.size());
    appendCsvField(line, QString::number(int(expense.type)), true);
    appendCsvField(line, shortDateText(expense.date));
    appendCsvField(line, text(expense.description));
    appendCsvField(line, text(expense.client));
    appendCsvField(line, text(expense.project));
    if (expense.isMileage()) {
        appendCsvField(line, QString::number(expense.startOdometer));
        appendCsvField(line, QString::number(expense.distance));
        appendCsvField(line, hundredthsText(expense.amount));
    } else {
        appendCsvField(line, text(expense.category));
    }
    appendCsvField(line, expense.receipt ? QStringLiteral("Y") : QStringLiteral("N"));
    appendCsvField(line, text(expense.currency));
    appendCsvField(line, amountText(expense.totalAmount()));
    appendCsvField(line, QString::number(int(expense.status)));
    appendCsvField(line, shortDateText(expense.paidDate));
    appendCsvField(line, text(expense.billTo));
    appendCsvField(line, text(expense.custom1));
    appendCsvField(line, text(expense.custom2));
    appendCsvField(line, text(expense.note));
    return line + kLineEnd;
}

QString summaryCsvRow(const QStringList& cells, bool guardFormulas) {
    QString line;
    for (int i = 0; i < 3; ++i) {
        QString cell = cells.value(i);
        // Only the suffix of an hours figure ("12.50h"): a period name such
        // as "Month" in the same column stays as it is.
        if (i == 1 && cell.endsWith(u'h') && cell.size() > 1 && cell.at(cell.size() - 2).isDigit())
            cell.back() = u' ';
        appendCsvField(line, csvText(cell, guardFormulas), i == 0);
    }
    return line + kLineEnd;
}

}  // namespace tempolatch
