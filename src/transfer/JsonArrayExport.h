#pragma once

#include <QByteArray>
#include <QJsonArray>
#include <QList>
#include <QString>
#include <optional>

#include "transfer/ImportedRows.h"

namespace tempolatch {

// A tracker's JSON export that is one array of records, with the line of
// the file each record starts on.
struct JsonArrayExport {
    QJsonArray records;
    QList<int> lines;

    int lineOf(qsizetype index) const { return index < lines.size() ? lines.at(index) : 0; }
};

// nullopt, with the problem (naming `kind` and the line where the JSON
// breaks), when the file is not text, not JSON or not an array.
std::optional<JsonArrayExport> readJsonArrayExport(const QByteArray& bytes, const QString& kind,
                                                   ImportRead& read);

}  // namespace tempolatch
