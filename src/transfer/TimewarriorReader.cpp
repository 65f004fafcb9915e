#include "transfer/TimewarriorReader.h"

#include <QJsonObject>

#include "transfer/JsonArrayExport.h"

namespace tempolatch {

namespace {

std::optional<QDateTime> utcInstant(const QJsonValue& value) {
    const QDateTime dt =
        QDateTime::fromString(value.toString(), QStringLiteral("yyyyMMdd'T'HHmmss'Z'"));
    if (!dt.isValid())
        return std::nullopt;
    return QDateTime(dt.date(), dt.time(), Qt::UTC);
}

void readInterval(const QJsonValue& value, int line, EntryStatus status, ImportRead& read) {
    const QJsonObject interval = value.toObject();
    if (!value.isObject())
        return read.problem(line, QStringLiteral("Not an interval: an object is expected."));
    const auto start = utcInstant(interval.value(QLatin1String("start")));
    if (!start)
        return read.problem(line, QStringLiteral("The start \"%1\" is not a time such as "
                                                 "20260302T080000Z.")
                                      .arg(interval.value(QLatin1String("start")).toString()));
    if (!interval.contains(QLatin1String("end")))
        return read.problem(line, QStringLiteral("The interval is still open: stop it "
                                                 "(timew stop) and export again."));
    const auto end = utcInstant(interval.value(QLatin1String("end")));
    if (!end || *end < *start)
        return read.problem(line, QStringLiteral("The end \"%1\" is not a time after the start.")
                                      .arg(interval.value(QLatin1String("end")).toString()));
    ImportedRow row{line, TimeEntry(), interval.value(QLatin1String("annotation")).toString()};
    const QJsonArray tags = interval.value(QLatin1String("tags")).toArray();
    row.entry.client = tags.at(0).toString().trimmed();
    row.entry.project = tags.at(1).toString().trimmed();
    row.entry.task = tags.at(2).toString().trimmed();
    row.entry.status = status;
    const auto date = entryStart(start->toLocalTime());
    if (!date)
        return read.problem(line, QStringLiteral("The start is out of the range of dates."));
    row.entry.date = *date;
    row.entry.duration = hundredthsOfSeconds(start->secsTo(*end));
    read.rows.append(row);
}

}  // namespace

ImportRead readTimewarriorJson(const QByteArray& bytes, EntryStatus status) {
    ImportRead read;
    const auto file = readJsonArrayExport(bytes, QStringLiteral("timew export"), read);
    if (!file)
        return read;
    for (qsizetype i = 0; i < file->records.size(); ++i)
        readInterval(file->records.at(i), file->lineOf(i), status, read);
    return read;
}

}  // namespace tempolatch
