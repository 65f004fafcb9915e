#include "app/cli/CliCriteria.h"

#include <QCommandLineParser>
#include <QDate>
#include <QRegularExpression>

#include "notes/NoteStream.h"
#include "records/EntryFilter.h"
#include "records/ExpenseFilter.h"

namespace tempolatch {

namespace {

template <typename Filter>
struct TextOption {
    const char* name;
    QString Filter::*field;
};

constexpr TextOption<EntryFilter> kTextOptions[] = {
    {"client", &EntryFilter::client},  {"project", &EntryFilter::project},
    {"phase", &EntryFilter::phase},    {"task", &EntryFilter::task},
    {"bill-to", &EntryFilter::billTo}, {"currency", &EntryFilter::currency},
};

// Phase and task are the entries' own; category is the expenses'.
constexpr TextOption<ExpenseFilter> kExpenseTextOptions[] = {
    {"client", &ExpenseFilter::client},     {"project", &ExpenseFilter::project},
    {"category", &ExpenseFilter::category}, {"bill-to", &ExpenseFilter::billTo},
    {"currency", &ExpenseFilter::currency},
};

// The status words, in the order of the flags readStatus takes.
constexpr const char* kStatusWords[] = {"nonbillable", "billable", "billed", "paid"};

// A day given as YYYY-MM-DD at the given time of day. Exactly that: the ISO
// parser would also take a time after the day, or spaces around it, and a
// script that passes them meant something else than a whole day.
std::optional<platform::SystemTime> dayAt(const QString& text, int hour, int minute, int second) {
    static const QRegularExpression day(QStringLiteral("^\\d{4}-\\d{2}-\\d{2}$"));
    const QDate date = day.match(text).hasMatch()
                           ? QDate::fromString(text, QStringLiteral("yyyy-MM-dd"))
                           : QDate();
    if (!date.isValid() || date.year() < 1601 || date.year() > 9999)
        return std::nullopt;
    platform::SystemTime st;
    st.year = quint16(date.year());
    st.month = quint16(date.month());
    st.day = quint16(date.day());
    st.dayOfWeek = quint16(date.dayOfWeek() % 7);
    st.hour = quint16(hour);
    st.minute = quint16(minute);
    st.second = quint16(second);
    return st;
}

// Entry and expense filters keep their statuses alike.
template <typename Filter>
bool readStatus(const QString& list, Filter& filter, QString& error) {
    bool* flags[] = {&filter.nonBillable, &filter.billable, &filter.billed, &filter.paid};
    for (bool* flag : flags)
        *flag = false;
    for (const QString& part : list.split(QLatin1Char(','))) {
        const QString word = part.trimmed().toLower();
        const auto* found = std::find_if(std::begin(kStatusWords), std::end(kStatusWords),
                                         [&](const char* s) { return word == QLatin1String(s); });
        if (found == std::end(kStatusWords)) {
            error = QStringLiteral("unknown status \"%1\" (nonbillable, billable, billed, paid)")
                        .arg(part.trimmed());
            return false;
        }
        *flags[found - std::begin(kStatusWords)] = true;
    }
    return true;
}

QList<QCommandLineOption> rangeOptions(const QString& record) {
    return {
        {QStringLiteral("from"),
         QStringLiteral("First day (YYYY-MM-DD); default: the first %1.").arg(record),
         QStringLiteral("D")},
        {QStringLiteral("to"),
         QStringLiteral("Last day, included (YYYY-MM-DD); default: the last %1.").arg(record),
         QStringLiteral("D")},
    };
}

template <typename Filter, std::size_t N>
QList<QCommandLineOption> textAndStatusOptions(const TextOption<Filter> (&texts)[N],
                                               const QString& record, const QString& records) {
    QList<QCommandLineOption> options = rangeOptions(record);
    for (const auto& text : texts)
        options.append({QString::fromLatin1(text.name),
                        QStringLiteral("Only %1 whose %2 is exactly TEXT.")
                            .arg(records, QString::fromLatin1(text.name).replace(QLatin1Char('-'),
                                                                                 QLatin1Char(' '))),
                        QStringLiteral("TEXT")});
    options.append({QStringLiteral("status"),
                    QStringLiteral("Only %1 of these statuses: a comma list of nonbillable, "
                                   "billable, billed, paid.")
                        .arg(records),
                    QStringLiteral("LIST")});
    return options;
}

// The range, texts and statuses the options give, over a reset filter.
template <typename Filter, std::size_t N>
bool textsAndStatusFromOptions(const QCommandLineParser& parser,
                               const TextOption<Filter> (&texts)[N], Filter& filter,
                               QString& error) {
    filter.reset();
    if (!dateRangeFromOptions(parser, filter.startDate, filter.endDate, error))
        return false;
    for (const auto& text : texts) {
        const QString name = QString::fromLatin1(text.name);
        if (parser.isSet(name))
            filter.*text.field = parser.value(name);
    }
    if (parser.isSet(QStringLiteral("status")))
        return readStatus(parser.value(QStringLiteral("status")), filter, error);
    return true;
}

// The search box's words, as the window's search narrows its list.
QCommandLineOption searchOption(const QString& records, const QString& texts) {
    return {QStringLiteral("search"),
            QStringLiteral("Only %1 whose %2 hold every one of WORDS, in any case (as the "
                           "window's search box; \"quoted words\" as one).")
                .arg(records, texts),
            QStringLiteral("WORDS")};
}

template <typename Filter>
void searchFromOptions(const QCommandLineParser& parser, Filter& filter,
                       SearchWords::NoteReader noteReader) {
    if (parser.isSet(QStringLiteral("search")))
        filter.search = SearchWords(parser.value(QStringLiteral("search")), noteReader);
}

}  // namespace

QList<QCommandLineOption> criteriaOptions() {
    QList<QCommandLineOption> options =
        textAndStatusOptions(kTextOptions, QStringLiteral("entry"), QStringLiteral("entries"));
    options.append(searchOption(
        QStringLiteral("entries"),
        QStringLiteral("client, project, phase, task, bill to, custom fields or note")));
    return options;
}

QList<QCommandLineOption> expenseCriteriaOptions() {
    QList<QCommandLineOption> options = textAndStatusOptions(
        kExpenseTextOptions, QStringLiteral("expense"), QStringLiteral("expenses"));
    options.append(searchOption(QStringLiteral("expenses"),
                                QStringLiteral("description, client, project or note")));
    options.append({QStringLiteral("receipt"),
                    QStringLiteral("Only expenses with a receipt (yes) or without one (no)."),
                    QStringLiteral("yes|no")});
    return options;
}

bool dateRangeFromOptions(const QCommandLineParser& parser, EntryFilter& filter, QString& error) {
    return dateRangeFromOptions(parser, filter.startDate, filter.endDate, error);
}

bool dateRangeFromOptions(const QCommandLineParser& parser, platform::SystemTime& start,
                          platform::SystemTime& end, QString& error) {
    std::optional<platform::SystemTime> from;
    std::optional<platform::SystemTime> to;
    if (parser.isSet(QStringLiteral("from"))) {
        from = dayAt(parser.value(QStringLiteral("from")), 0, 0, 0);
        if (!from) {
            error = QStringLiteral("--from needs a date as YYYY-MM-DD");
            return false;
        }
    }
    if (parser.isSet(QStringLiteral("to"))) {
        to = dayAt(parser.value(QStringLiteral("to")), 23, 59, 59);
        if (!to) {
            error = QStringLiteral("--to needs a date as YYYY-MM-DD");
            return false;
        }
    }
    if (from && to && to->date() < from->date()) {
        error = QStringLiteral("--to is before --from");
        return false;
    }
    // A range open on one side reaches the first or the last possible day.
    if (from || to) {
        start = from ? *from : *dayAt(QStringLiteral("1601-01-01"), 0, 0, 0);
        end = to ? *to : *dayAt(QStringLiteral("9999-12-31"), 23, 59, 59);
    }
    return true;
}

bool criteriaFromOptions(const QCommandLineParser& parser, EntryFilter& filter, QString& error) {
    if (!textsAndStatusFromOptions(parser, kTextOptions, filter, error))
        return false;
    searchFromOptions(parser, filter, noteToPlainText);
    return true;
}

bool expenseCriteriaFromOptions(const QCommandLineParser& parser, ExpenseFilter& filter,
                                QString& error) {
    if (!textsAndStatusFromOptions(parser, kExpenseTextOptions, filter, error))
        return false;
    searchFromOptions(parser, filter, nullptr);
    if (!parser.isSet(QStringLiteral("receipt")))
        return true;
    const QString receipt = parser.value(QStringLiteral("receipt")).trimmed().toLower();
    if (receipt == QLatin1String("yes"))
        filter.receipt = ExpenseFilter::WithReceipt;
    else if (receipt == QLatin1String("no"))
        filter.receipt = ExpenseFilter::WithoutReceipt;
    else {
        error = QStringLiteral("--receipt needs yes or no");
        return false;
    }
    return true;
}

}  // namespace tempolatch
