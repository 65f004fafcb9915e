#pragma once

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QTest>

#include "common/SampleStore.h"

namespace tempolatch::test {

inline QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Compares `actual` with tests/data/reports/<name> byte for byte (or writes
// it there when the golden files are being regenerated).
inline bool matchesGolden(const QByteArray& actual, const QString& name) {
    QFile golden(testDataPath(QStringLiteral("reports/") + name));
    if (regeneratingGoldenFiles()) {
        if (!golden.open(QIODevice::WriteOnly))
            return false;
        golden.write(actual);
        return true;
    }
    if (!golden.open(QIODevice::ReadOnly)) {
        qWarning("missing golden file %s", qPrintable(golden.fileName()));
        return false;
    }
    const QByteArray expected = golden.readAll();
    if (expected != actual) {
        qWarning("%s differs; got:\n%s", qPrintable(name), actual.constData());
        return false;
    }
    return true;
}

// The rows of a CSV file as Python's csv module reads them: an outside
// reader, so that quotes, commas and line breaks are checked as spreadsheet
// programs will see them.
inline QList<QStringList> readCsvWithPython(const QString& path) {
    QProcess python;
    python.start(QStringLiteral("python3"),
                 {QStringLiteral("-c"),
                  QStringLiteral("import csv, json, sys\n"
                                 "with open(sys.argv[1], newline='', encoding='utf-8') as f:\n"
                                 "    json.dump(list(csv.reader(f, strict=True)), sys.stdout)\n"),
                  path});
    if (!python.waitForFinished(30000) || python.exitCode() != 0) {
        qWarning("python3 csv: %s", python.readAllStandardError().constData());
        return {};
    }
    QList<QStringList> rows;
    for (const auto& row : QJsonDocument::fromJson(python.readAllStandardOutput()).array()) {
        QStringList cells;
        for (const auto& cell : row.toArray())
            cells.append(cell.toString());
        rows.append(cells);
    }
    return rows;
}

}  // namespace tempolatch::test
