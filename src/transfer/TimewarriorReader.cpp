#include "transfer/TimewarriorReader.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace tempolatch {

namespace {

int lineAtByte(const QByteArray& bytes, qsizetype offset) {
    return int(bytes.left(offset).count('\n')) + 1;
}

// The line each element of the top-level array starts on; the export
// writes one interval a line, but any layout is read.
QList<int> elementLines(const QByteArray& bytes) {
    QList<int> lines;
    int line = 1;
    int depth = 0;
    bool inString = false;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char c = bytes.at(i);
        if (c == '\n')
            ++line;
        if (inString) {
            if (c == '\\')
                ++i;
            else if (c == '"')
                inString = false;
            continue;
        }
        if (c == '"')
            inString = true;
        else if (c == '{' || c == '[') {
            if (depth == 1)
                lines.append(line);
            ++depth;
        } else if (c == '}' || c == ']')
            --depth;
    }
    return lines;
}

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
    const auto text = importText(bytes, read);
    if (!text)
        return read;
    const QByteArray utf8 = text->toUtf8();
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(utf8, &error);
    if (error.error != QJsonParseError::NoError) {
        read.problem(lineAtByte(utf8, error.offset),
                     QStringLiteral("Not the JSON of timew export: %1.").arg(error.errorString()));
        return read;
    }
    if (!document.isArray()) {
        read.problem(1, QStringLiteral("Not the JSON of timew export: an array is expected."));
        return read;
    }
    const QJsonArray intervals = document.array();
    const QList<int> lines = elementLines(utf8);
    for (qsizetype i = 0; i < intervals.size(); ++i)
        readInterval(intervals.at(i), i < lines.size() ? lines.at(i) : 0, status, read);
    return read;
}

}  // namespace tempolatch
