#include "transfer/KimaiReader.h"

#include <QJsonObject>
#include <QRegularExpression>
#include <cmath>

#include "transfer/CsvRecords.h"
#include "transfer/JsonArrayExport.h"

namespace tempolatch {

namespace {

const QString& kind() {
    static const QString text = QStringLiteral("timesheet export of Kimai");
    return text;
}

// What a record of either export says.
struct KimaiRecord {
    int line = 0;
    QString client, project, task, note, currency;
    QDateTime start{};
    qint32 hundredths = 0;
    std::optional<bool> billable{};
    bool exported = false;
    std::optional<qint64> priceCents{};
};

void addRecord(const KimaiRecord& record, EntryStatus defaultStatus, ImportRead& read) {
    ImportedRow row{record.line, TimeEntry(), record.note};
    TimeEntry& entry = row.entry;
    entry.client = record.client;
    entry.project = record.project;
    entry.task = record.task;
    const auto start = entryStart(record.start);
    if (!start)
        return read.problem(record.line, QStringLiteral("The start is out of the range of dates."));
    entry.date = *start;
    entry.duration = record.hundredths;
    entry.status = !record.billable   ? defaultStatus
                   : *record.billable ? EntryStatus::Billable
                                      : EntryStatus::NonBillable;
    if (record.exported)
        entry.status = EntryStatus::Billed;
    entry.currency = record.currency;
    if (record.priceCents && *record.priceCents > 0)
        setRateForAmount(entry, *record.priceCents);
    read.rows.append(row);
}

// "1.5" and "0.67" (decimal hours), "1:30" and "1:30:00"; nullopt otherwise.
std::optional<qint32> durationHundredths(const QString& text) {
    static const QRegularExpression hm(QStringLiteral("^(\\d{1,6}):([0-5]\\d)(?::([0-5]\\d))?$"));
    static const QRegularExpression decimal(QStringLiteral("^\\d{1,9}(\\.\\d+)?$"));
    if (const auto match = hm.match(text); match.hasMatch())
        return hundredthsOfSeconds(match.captured(1).toLongLong() * 3600 +
                                   match.captured(2).toInt() * 60 + match.captured(3).toInt());
    if (!decimal.match(text).hasMatch())
        return std::nullopt;
    const auto hours = hundredthsOfAmount(text);
    return hours ? std::optional<qint32>(qint32(*hours)) : std::nullopt;
}

QTime timeOfDay(const QString& text) {
    const QTime time = QTime::fromString(text, QStringLiteral("H:mm"));
    return time.isValid() ? time : QTime::fromString(text, QStringLiteral("H:mm:ss"));
}

class KimaiCsvRows {
public:
    KimaiCsvRows(const CsvColumns& columns, EntryStatus defaultStatus)
        : m_defaultStatus(defaultStatus),
          m_date(columns.indexOf(QStringLiteral("Date"))),
          m_from(columns.indexOfAny({QStringLiteral("From"), QStringLiteral("Begin")})),
          m_to(columns.indexOfAny({QStringLiteral("To"), QStringLiteral("End")})),
          m_duration(columns.indexOf(QStringLiteral("Duration"))),
          m_customer(columns.indexOf(QStringLiteral("Customer"))),
          m_project(columns.indexOf(QStringLiteral("Project"))),
          m_activity(columns.indexOf(QStringLiteral("Activity"))),
          m_description(columns.indexOf(QStringLiteral("Description"))),
          m_billable(columns.indexOf(QStringLiteral("Billable"))),
          m_exported(columns.indexOf(QStringLiteral("Exported"))),
          m_price(columns.indexOfAny({QStringLiteral("Price"), QStringLiteral("Rate")})),
          m_currency(columns.indexOf(QStringLiteral("Currency"))) {}

    void read(const CsvRecord& csv, ImportRead& read) const {
        KimaiRecord record{csv.line,
                           csvField(csv, m_customer),
                           csvField(csv, m_project),
                           csvField(csv, m_activity),
                           csvField(csv, m_description),
                           csvField(csv, m_currency)};
        const QString date = csvField(csv, m_date);
        const QString from = csvField(csv, m_from);
        record.start = QDateTime(QDate::fromString(date, Qt::ISODate), timeOfDay(from));
        if (!record.start.isValid())
            return read.problem(csv.line, QStringLiteral("The start \"%1 %2\" is not a date and "
                                                         "time (YYYY-MM-DD HH:MM).")
                                              .arg(date, from));
        if (!readDuration(csv, record, read) || !readFlags(csv, record, read) ||
            !readPrice(csv, record, read))
            return;
        addRecord(record, m_defaultStatus, read);
    }

private:
    bool readDuration(const CsvRecord& csv, KimaiRecord& record, ImportRead& read) const {
        const QString to = csvField(csv, m_to);
        if (m_to >= 0 && to.isEmpty()) {
            read.problem(csv.line, QStringLiteral("The record is still running (no To): stop it "
                                                  "in Kimai and export again."));
            return false;
        }
        const QString duration = csvField(csv, m_duration);
        if (!duration.isEmpty()) {
            const auto hundredths = durationHundredths(duration);
            if (!hundredths)
                read.problem(csv.line, QStringLiteral("The duration \"%1\" is not hours such as "
                                                      "1.50 or 1:30.")
                                           .arg(duration));
            record.hundredths = hundredths.value_or(0);
            return hundredths.has_value();
        }
        const QTime end = timeOfDay(to);
        if (!end.isValid()) {
            read.problem(csv.line, QStringLiteral("The end \"%1\" is not a time (HH:MM).").arg(to));
            return false;
        }
        // A record past midnight ends the next day; the seconds between
        // are real ones, an hour more or less on the nights the clocks change.
        const QDate day = record.start.date();
        const QDateTime until(end < record.start.time() ? day.addDays(1) : day, end);
        record.hundredths = hundredthsOfSeconds(std::max<qint64>(0, record.start.secsTo(until)));
        return true;
    }
    bool readFlags(const CsvRecord& csv, KimaiRecord& record, ImportRead& read) const {
        for (const int column : {m_billable, m_exported}) {
            const QString text = csvField(csv, column);
            if (!text.isEmpty() && !yesOrNo(text)) {
                read.problem(csv.line, QStringLiteral("%1 is \"%2\", neither 1 nor 0.")
                                           .arg(column == m_billable ? QStringLiteral("Billable")
                                                                     : QStringLiteral("Exported"),
                                                text));
                return false;
            }
        }
        record.billable = yesOrNo(csvField(csv, m_billable));
        record.exported = yesOrNo(csvField(csv, m_exported)).value_or(false);
        return true;
    }
    bool readPrice(const CsvRecord& csv, KimaiRecord& record, ImportRead& read) const {
        const QString text = csvField(csv, m_price);
        if (text.isEmpty())
            return true;
        record.priceCents = hundredthsOfAmount(text);
        if (!record.priceCents)
            read.problem(
                csv.line,
                QStringLiteral("The price \"%1\" is not a number such as 150.00.").arg(text));
        return record.priceCents.has_value();
    }

    EntryStatus m_defaultStatus;
    int m_date, m_from, m_to, m_duration, m_customer, m_project, m_activity, m_description,
        m_billable, m_exported, m_price, m_currency;
};

ImportRead readKimaiCsv(const QByteArray& bytes, EntryStatus defaultStatus) {
    ImportRead read;
    const QStringList required{QStringLiteral("Date"), QStringLiteral("From|Begin"),
                               QStringLiteral("Customer"), QStringLiteral("Project")};
    const auto file = readCsvExport(bytes, required, kind(), read);
    if (!file)
        return read;
    if (file->columns.indexOf(QStringLiteral("Duration")) < 0 &&
        file->columns.indexOfAny({QStringLiteral("To"), QStringLiteral("End")}) < 0) {
        read.problem(
            1, QStringLiteral("Not a %1: the header has neither Duration nor To.").arg(kind()));
        return read;
    }
    const KimaiCsvRows rows(file->columns, defaultStatus);
    for (const CsvRecord& record : file->rows)
        rows.read(record, read);
    return read;
}

QString nameOf(const QJsonValue& value) {
    return value.toObject().value(QLatin1String("name")).toString().trimmed();
}

void readJsonRecord(const QJsonValue& value, int line, EntryStatus defaultStatus,
                    ImportRead& read) {
    const QJsonObject sheet = value.toObject();
    const QJsonValue project = sheet.value(QLatin1String("project"));
    if (!value.isObject() || !project.isObject())
        return read.problem(line, QStringLiteral("The record names its project by number only: "
                                                 "fetch the timesheets with full=true."));
    const QJsonObject customer = project.toObject().value(QLatin1String("customer")).toObject();
    KimaiRecord record{line,
                       nameOf(customer),
                       nameOf(project),
                       nameOf(sheet.value(QLatin1String("activity"))),
                       sheet.value(QLatin1String("description")).toString(),
                       customer.value(QLatin1String("currency")).toString()};
    const QString beginText = sheet.value(QLatin1String("begin")).toString();
    const QDateTime begin = QDateTime::fromString(beginText, Qt::ISODate);
    if (!begin.isValid())
        return read.problem(line, QStringLiteral("The begin \"%1\" is not a time such as "
                                                 "2026-03-02T09:00:00+0100.")
                                      .arg(beginText));
    const QJsonValue endValue = sheet.value(QLatin1String("end"));
    const QDateTime end = QDateTime::fromString(endValue.toString(), Qt::ISODate);
    if (endValue.isNull() || endValue.isUndefined())
        return read.problem(line, QStringLiteral("The record is still running (no end): stop "
                                                 "it in Kimai and fetch it again."));
    if (!end.isValid() || end < begin)
        return read.problem(line, QStringLiteral("The end \"%1\" is not a time after the begin.")
                                      .arg(endValue.toString()));
    const QJsonValue duration = sheet.value(QLatin1String("duration"));
    record.start = begin.toLocalTime();
    record.hundredths = hundredthsOfSeconds(
        duration.isDouble() ? std::max<qint64>(0, qint64(duration.toDouble())) : begin.secsTo(end));
    if (const QJsonValue billable = sheet.value(QLatin1String("billable")); billable.isBool())
        record.billable = billable.toBool();
    record.exported = sheet.value(QLatin1String("exported")).toBool();
    const double price = sheet.value(QLatin1String("rate")).toDouble();
    if (std::isfinite(price) && price > 0)
        record.priceCents = std::llround(price * 100);
    addRecord(record, defaultStatus, read);
}

ImportRead readKimaiJson(const QByteArray& bytes, EntryStatus defaultStatus) {
    ImportRead read;
    const auto file = readJsonArrayExport(bytes, kind(), read);
    if (!file)
        return read;
    for (qsizetype i = 0; i < file->records.size(); ++i)
        readJsonRecord(file->records.at(i), file->lineOf(i), defaultStatus, read);
    return read;
}

// JSON starts with a bracket or a brace after any byte order mark and
// blanks, in any of the encodings read.
bool looksLikeJson(const QByteArray& bytes) {
    for (const char c : bytes) {
        if (c == '[' || c == '{')
            return true;
        if (!QByteArrayView("\xef\xbb\xbf\xff\xfe \t\r\n", 9).contains(c) && c != '\0')
            return false;
    }
    return false;
}

}  // namespace

ImportRead readKimaiExport(const QByteArray& bytes, EntryStatus defaultStatus) {
    return looksLikeJson(bytes) ? readKimaiJson(bytes, defaultStatus)
                                : readKimaiCsv(bytes, defaultStatus);
}

}  // namespace tempolatch
