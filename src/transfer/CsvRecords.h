#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

#include "transfer/ImportedRows.h"

namespace tempolatch {

// One record of a CSV file and the line it starts on (a quoted field may
// hold line breaks, so records and lines differ).
struct CsvRecord {
    int line = 0;
    QStringList fields;
};

// The records of CSV text as spreadsheets and trackers write it: fields
// separated by `separator`, in double quotes when they hold one, a quote
// or a line break (a quote inside doubled); CR LF or LF between records.
// Blank lines are skipped. A quote left open ends the reading with a
// problem at the line where the field began.
QList<CsvRecord> readCsvRecords(const QString& text, ImportRead& read,
                                QChar separator = QLatin1Char(','));

// The columns of a header record, by name; -1 for a name it lacks.
class CsvColumns {
public:
    // Names are compared trimmed.
    explicit CsvColumns(const QStringList& header);

    int indexOf(const QString& name) const;
    // The first of `names` the header has (a column a tracker renamed
    // between versions).
    int indexOfAny(const QStringList& names) const;
    // The first column whose name starts with `prefix` ("Amount (").
    int indexStartingWith(const QString& prefix) const;
    const QString& nameAt(int index) const { return m_header.at(index); }
    // The required names the header lacks; "From|Begin" requires either
    // and is missing as "From (or Begin)".
    QStringList missing(const QStringList& required) const;

private:
    QStringList m_header;
};

// The field `index` of a record, trimmed; empty when the record is short.
QString csvField(const CsvRecord& record, int index);

// A tracker's CSV export: its header and the records after it.
struct CsvExport {
    CsvColumns columns;
    QList<CsvRecord> rows;
};

// nullopt, with the problem, when the file is not text, is empty, or its
// header lacks one of the `required` columns (the message names `kind`).
std::optional<CsvExport> readCsvExport(const QByteArray& bytes, const QStringList& required,
                                       const QString& kind, ImportRead& read);

// "Yes" / "No" (and "true" / "false", "1" / "0") in any case; nullopt for
// anything else.
std::optional<bool> yesOrNo(const QString& text);

}  // namespace tempolatch
