#include "transfer/TogglCsvReader.h"

#include <QRegularExpression>

#include "transfer/CsvRecords.h"

namespace tempolatch {

namespace {

const QStringList& requiredColumns() {
    static const QStringList names{QStringLiteral("Client"), QStringLiteral("Project"),
                                   QStringLiteral("Start date"), QStringLiteral("Start time"),
                                   QStringLiteral("Duration")};
    return names;
}

// "1:30:00" and "125:00:00" (hours beyond a day): seconds, or -1.
qint64 durationSeconds(const QString& text) {
    static const QRegularExpression hms(QStringLiteral("^(\\d{1,6}):([0-5]\\d):([0-5]\\d)$"));
    const auto match = hms.match(text);
    if (!match.hasMatch())
        return -1;
    return match.captured(1).toLongLong() * 3600 + match.captured(2).toInt() * 60 +
           match.captured(3).toInt();
}

class TogglRows {
public:
    TogglRows(const CsvColumns& columns, EntryStatus defaultStatus)
        : m_defaultStatus(defaultStatus),
          m_client(columns.indexOf(QStringLiteral("Client"))),
          m_project(columns.indexOf(QStringLiteral("Project"))),
          m_task(columns.indexOf(QStringLiteral("Task"))),
          m_description(columns.indexOf(QStringLiteral("Description"))),
          m_billable(columns.indexOf(QStringLiteral("Billable"))),
          m_startDate(columns.indexOf(QStringLiteral("Start date"))),
          m_startTime(columns.indexOf(QStringLiteral("Start time"))),
          m_duration(columns.indexOf(QStringLiteral("Duration"))),
          m_amount(columns.indexStartingWith(QStringLiteral("Amount ("))) {
        if (m_amount >= 0) {
            static const QRegularExpression code(QStringLiteral("^Amount \\((.*)\\)$"));
            m_currency = code.match(columns.nameAt(m_amount)).captured(1).trimmed();
        }
    }

    void read(const CsvRecord& record, ImportRead& read) const {
        ImportedRow row{record.line, TimeEntry(), csvField(record, m_description)};
        TimeEntry& entry = row.entry;
        entry.client = csvField(record, m_client);
        entry.project = csvField(record, m_project);
        entry.task = csvField(record, m_task);
        const QString date = csvField(record, m_startDate);
        const QString time = csvField(record, m_startTime);
        const QDateTime start(QDate::fromString(date, Qt::ISODate),
                              QTime::fromString(time, Qt::ISODate));
        const auto startTime = entryStart(start);
        if (!startTime)
            return read.problem(record.line,
                                QStringLiteral("The start \"%1 %2\" is not a date and time "
                                               "(YYYY-MM-DD HH:MM:SS).")
                                    .arg(date, time));
        entry.date = *startTime;
        const QString duration = csvField(record, m_duration);
        const qint64 seconds = durationSeconds(duration);
        if (seconds < 0)
            return read.problem(
                record.line, QStringLiteral("The duration \"%1\" is not H:MM:SS.").arg(duration));
        entry.duration = hundredthsOfSeconds(seconds);
        if (!readBillable(record, entry, read))
            return;
        if (!readAmount(record, entry, read))
            return;
        read.rows.append(row);
    }

private:
    bool readBillable(const CsvRecord& record, TimeEntry& entry, ImportRead& read) const {
        const QString billable = csvField(record, m_billable);
        const auto yes = yesOrNo(billable);
        if (billable.isEmpty())
            entry.status = m_defaultStatus;
        else if (yes)
            entry.status = *yes ? EntryStatus::Billable : EntryStatus::NonBillable;
        else {
            read.problem(record.line,
                         QStringLiteral("Billable is \"%1\", neither Yes nor No.").arg(billable));
            return false;
        }
        return true;
    }
    bool readAmount(const CsvRecord& record, TimeEntry& entry, ImportRead& read) const {
        const QString text = csvField(record, m_amount);
        if (text.isEmpty())
            return true;
        const auto cents = hundredthsOfAmount(text);
        if (!cents) {
            read.problem(
                record.line,
                QStringLiteral("The amount \"%1\" is not a number such as 150.00.").arg(text));
            return false;
        }
        entry.currency = m_currency;
        setRateForAmount(entry, *cents);
        return true;
    }

    EntryStatus m_defaultStatus;
    int m_client, m_project, m_task, m_description, m_billable, m_startDate, m_startTime,
        m_duration, m_amount;
    QString m_currency;
};

}  // namespace

ImportRead readTogglCsv(const QByteArray& bytes, EntryStatus defaultStatus) {
    ImportRead read;
    const auto file = readCsvExport(bytes, requiredColumns(),
                                    QStringLiteral("detailed report of Toggl Track"), read);
    if (!file)
        return read;
    const TogglRows rows(file->columns, defaultStatus);
    for (const CsvRecord& record : file->rows)
        rows.read(record, read);
    return read;
}

}  // namespace tempolatch
