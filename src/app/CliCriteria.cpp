#include "app/CliCriteria.h"

#include <QCommandLineParser>
#include <QDate>

#include "views/EntryFilter.h"

namespace tempolatch {

namespace {

struct TextOption {
    const char* name;
    QString EntryFilter::*field;
};

constexpr TextOption kTextOptions[] = {
    {"client", &EntryFilter::client},  {"project", &EntryFilter::project},
    {"phase", &EntryFilter::phase},    {"task", &EntryFilter::task},
    {"bill-to", &EntryFilter::billTo}, {"currency", &EntryFilter::currency},
};

struct StatusWord {
    const char* word;
    bool EntryFilter::*flag;
};

constexpr StatusWord kStatusWords[] = {
    {"nonbillable", &EntryFilter::nonBillable},
    {"billable", &EntryFilter::billable},
    {"billed", &EntryFilter::billed},
    {"paid", &EntryFilter::paid},
};

// A day given as YYYY-MM-DD at the given time of day.
std::optional<platform::SystemTime> dayAt(const QString& text, int hour, int minute, int second) {
    const QDate date = QDate::fromString(text, Qt::ISODate);
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

bool readStatus(const QString& list, EntryFilter& filter, QString& error) {
    for (const auto& word : kStatusWords)
        filter.*word.flag = false;
    for (const QString& part : list.split(QLatin1Char(','))) {
        const QString word = part.trimmed().toLower();
        const auto* found =
            std::find_if(std::begin(kStatusWords), std::end(kStatusWords),
                         [&](const StatusWord& s) { return word == QLatin1String(s.word); });
        if (found == std::end(kStatusWords)) {
            error = QStringLiteral("unknown status \"%1\" (nonbillable, billable, billed, paid)")
                        .arg(part.trimmed());
            return false;
        }
        filter.*found->flag = true;
    }
    return true;
}

}  // namespace

QList<QCommandLineOption> dateRangeOptions() {
    return {
        {QStringLiteral("from"),
         QStringLiteral("First day (YYYY-MM-DD); default: the first entry."), QStringLiteral("D")},
        {QStringLiteral("to"),
         QStringLiteral("Last day, included (YYYY-MM-DD); default: the last entry."),
         QStringLiteral("D")},
    };
}

QList<QCommandLineOption> criteriaOptions() {
    QList<QCommandLineOption> options = dateRangeOptions();
    for (const auto& text : kTextOptions)
        options.append(
            {QString::fromLatin1(text.name),
             QStringLiteral("Only entries whose %1 is exactly TEXT.")
                 .arg(QString::fromLatin1(text.name).replace(QLatin1Char('-'), QLatin1Char(' '))),
             QStringLiteral("TEXT")});
    options.append({QStringLiteral("status"),
                    QStringLiteral("Only entries of these statuses: a comma list of nonbillable, "
                                   "billable, billed, paid."),
                    QStringLiteral("LIST")});
    return options;
}

bool dateRangeFromOptions(const QCommandLineParser& parser, EntryFilter& filter, QString& error) {
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
        filter.startDate = from ? *from : *dayAt(QStringLiteral("1601-01-01"), 0, 0, 0);
        filter.endDate = to ? *to : *dayAt(QStringLiteral("9999-12-31"), 23, 59, 59);
    }
    return true;
}

bool criteriaFromOptions(const QCommandLineParser& parser, EntryFilter& filter, QString& error) {
    filter.reset();
    if (!dateRangeFromOptions(parser, filter, error))
        return false;
    for (const auto& text : kTextOptions) {
        const QString name = QString::fromLatin1(text.name);
        if (parser.isSet(name))
            filter.*text.field = parser.value(name);
    }
    if (parser.isSet(QStringLiteral("status")))
        return readStatus(parser.value(QStringLiteral("status")), filter, error);
    return true;
}

}  // namespace tempolatch
