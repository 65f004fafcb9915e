#include "transfer/HarvestCsvReader.h"

#include "transfer/CsvRecords.h"

namespace tempolatch {

namespace {

const QStringList& requiredColumns() {
    static const QStringList names{QStringLiteral("Date"), QStringLiteral("Client"),
                                   QStringLiteral("Project"), QStringLiteral("Hours")};
    return names;
}

class HarvestRows {
public:
    HarvestRows(const CsvColumns& columns, EntryStatus defaultStatus)
        : m_defaultStatus(defaultStatus),
          m_date(columns.indexOf(QStringLiteral("Date"))),
          m_client(columns.indexOf(QStringLiteral("Client"))),
          m_project(columns.indexOf(QStringLiteral("Project"))),
          m_task(columns.indexOf(QStringLiteral("Task"))),
          m_notes(columns.indexOf(QStringLiteral("Notes"))),
          m_hours(columns.indexOf(QStringLiteral("Hours"))),
          m_billable(columns.indexOf(QStringLiteral("Billable?"))),
          m_invoiced(columns.indexOf(QStringLiteral("Invoiced?"))),
          m_rate(columns.indexOf(QStringLiteral("Billable Rate"))),
          m_currency(columns.indexOf(QStringLiteral("Currency"))) {}

    void read(const CsvRecord& record, ImportRead& read) const {
        ImportedRow row{record.line, TimeEntry(), csvField(record, m_notes)};
        TimeEntry& entry = row.entry;
        entry.client = csvField(record, m_client);
        entry.project = csvField(record, m_project);
        entry.task = csvField(record, m_task);
        const QString dateText = csvField(record, m_date);
        const QDate date = QDate::fromString(dateText, Qt::ISODate);
        const auto day =
            date.isValid()
                ? platform::toFileTime(platform::SystemTime::fromDateTime(date.startOfDay()))
                : std::nullopt;
        if (!day)
            return read.problem(
                record.line,
                QStringLiteral("The date \"%1\" is not a date (YYYY-MM-DD).").arg(dateText));
        entry.date = *day;
        const QString hoursText = csvField(record, m_hours);
        const auto hours = hundredthsOfAmount(hoursText);
        if (!hours)
            return read.problem(
                record.line,
                QStringLiteral("The hours \"%1\" are not a number such as 1.5.").arg(hoursText));
        entry.duration = qint32(*hours);
        if (!readStatus(record, entry, read) || !readRate(record, entry, read))
            return;
        read.rows.append(row);
    }

private:
    bool readStatus(const CsvRecord& record, TimeEntry& entry, ImportRead& read) const {
        for (const int column : {m_billable, m_invoiced}) {
            const QString text = csvField(record, column);
            if (!text.isEmpty() && !yesOrNo(text)) {
                read.problem(record.line, QStringLiteral("%1 is \"%2\", neither Yes nor No.")
                                              .arg(m_names.value(column == m_invoiced), text));
                return false;
            }
        }
        const auto billable = yesOrNo(csvField(record, m_billable));
        entry.status = !billable   ? m_defaultStatus
                       : *billable ? EntryStatus::Billable
                                   : EntryStatus::NonBillable;
        if (yesOrNo(csvField(record, m_invoiced)).value_or(false))
            entry.status = EntryStatus::Billed;
        return true;
    }
    bool readRate(const CsvRecord& record, TimeEntry& entry, ImportRead& read) const {
        const QString text = csvField(record, m_rate);
        if (!text.isEmpty()) {
            const auto rate = hundredthsOfAmount(text);
            if (!rate) {
                read.problem(record.line,
                             QStringLiteral("The billable rate \"%1\" is not a number such as "
                                            "100.00.")
                                 .arg(text));
                return false;
            }
            entry.rate = qint32(*rate);
        }
        // "US Dollar - USD": the code after the name.
        entry.currency = csvField(record, m_currency).section(QStringLiteral(" - "), -1).trimmed();
        return true;
    }

    const QStringList m_names{QStringLiteral("Billable?"), QStringLiteral("Invoiced?")};
    EntryStatus m_defaultStatus;
    int m_date, m_client, m_project, m_task, m_notes, m_hours, m_billable, m_invoiced, m_rate,
        m_currency;
};

}  // namespace

ImportRead readHarvestCsv(const QByteArray& bytes, EntryStatus defaultStatus) {
    ImportRead read;
    const auto file =
        readCsvExport(bytes, requiredColumns(), QStringLiteral("time report of Harvest"), read);
    if (!file)
        return read;
    const HarvestRows rows(file->columns, defaultStatus);
    for (const CsvRecord& record : file->rows)
        rows.read(record, read);
    return read;
}

}  // namespace tempolatch
