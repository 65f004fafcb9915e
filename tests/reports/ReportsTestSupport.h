#pragma once

#include <QByteArray>
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

// The rows a Python script prints as JSON (a list of lists of texts) on
// reading the file at `path`, its argument.
inline QList<QStringList> rowsFromPython(const char* what, const QString& script,
                                         const QString& path) {
    QProcess python;
    python.start(QStringLiteral("python3"), {QStringLiteral("-c"), script, path});
    if (!python.waitForFinished(30000) || python.exitCode() != 0) {
        qWarning("python3 %s: %s", what, python.readAllStandardError().constData());
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

// The rows of a CSV file as Python's csv module reads them: an outside
// reader, so that quotes, commas and line breaks are checked as spreadsheet
// programs will see them.
inline QList<QStringList> readCsvWithPython(const QString& path) {
    return rowsFromPython(
        "csv",
        QStringLiteral("import csv, json, sys\n"
                       "with open(sys.argv[1], newline='', encoding='utf-8') as f:\n"
                       "    json.dump(list(csv.reader(f, strict=True)), sys.stdout)\n"),
        path);
}

// The rows of a report page's tables of class "Data" as Python's HTML
// parser reads them, header rows too: each row the texts of its cells.
inline QList<QStringList> readReportRowsWithPython(const QString& path) {
    return rowsFromPython(
        "html",
        QStringLiteral("import json, sys\n"
                       "from html.parser import HTMLParser\n"
                       "class Rows(HTMLParser):\n"
                       "    def __init__(self):\n"
                       "        super().__init__()\n"
                       "        self.rows, self.tables, self.cell = [], [], None\n"
                       "    def in_data(self):\n"
                       "        return bool(self.tables) and self.tables[-1] == 'Data'\n"
                       "    def handle_starttag(self, tag, attrs):\n"
                       "        if tag == 'table':\n"
                       "            self.tables.append(dict(attrs).get('class'))\n"
                       "        elif tag == 'tr' and self.in_data():\n"
                       "            self.rows.append([])\n"
                       "        elif tag in ('td', 'th') and self.in_data():\n"
                       "            self.cell = ''\n"
                       "    def handle_endtag(self, tag):\n"
                       "        if tag == 'table' and self.tables:\n"
                       "            self.tables.pop()\n"
                       "        elif tag in ('td', 'th') and self.cell is not None:\n"
                       "            self.rows[-1].append(self.cell)\n"
                       "            self.cell = None\n"
                       "    def handle_data(self, data):\n"
                       "        if self.cell is not None:\n"
                       "            self.cell += data\n"
                       "reader = Rows()\n"
                       "with open(sys.argv[1], encoding='utf-8') as f:\n"
                       "    reader.feed(f.read())\n"
                       "json.dump(reader.rows, sys.stdout)\n"),
        path);
}

struct ToolRun {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// Runs an outside program to its end.
inline ToolRun runTool(const QString& program, const QStringList& args,
                       const QByteArray& input = QByteArray()) {
    QProcess process;
    process.start(program, args);
    ToolRun run;
    if (!process.waitForStarted(10000))
        return run;
    process.write(input);
    process.closeWriteChannel();
    process.waitForFinished(60000);
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

// xmllint's verdict on a file: empty when it reads it without an error
// (warnings, such as the export's relative namespace name, do not count).
inline QByteArray xmllintErrors(const QString& path, bool html) {
    QStringList args{QStringLiteral("--noout")};
    if (html)
        args << QStringLiteral("--html");
    args << path;
    const ToolRun run = runTool(QStringLiteral("xmllint"), args);
    if (run.exitCode == 0)
        return QByteArray();
    return run.err.isEmpty() ? QByteArray("xmllint failed to run") : run.err;
}

// The value of an XPath expression over the file as xmllint reads it (in
// UTF-8, whatever the file's encoding).
inline QByteArray xmllintXPath(const QString& path, const QString& expression) {
    QByteArray out =
        runTool(QStringLiteral("xmllint"), {QStringLiteral("--xpath"), expression, path}).out;
    if (out.endsWith('\n'))
        out.chop(1);
    return out;
}

// Compares bytes with the golden file tests/data/<relative>, or writes it
// when golden files are being regenerated.
inline void compareWithGolden(const QByteArray& actual, const QString& relative) {
    const QString path = testDataPath(relative);
    if (regeneratingGoldenFiles()) {
        QFile file(path);
        QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
        file.write(actual);
        return;
    }
    const QByteArray expected = fileBytes(path);
    QVERIFY2(!expected.isEmpty(), qPrintable(QStringLiteral("missing golden file ") + path));
    if (actual != expected) {
        qsizetype i = 0;
        while (i < actual.size() && i < expected.size() && actual[i] == expected[i])
            ++i;
        QFAIL(
            qPrintable(QStringLiteral("%1 differs at byte %2: got \"%3\", expected \"%4\"")
                           .arg(relative)
                           .arg(i)
                           .arg(QString::fromUtf8(actual.mid(qMax<qsizetype>(0, i - 40), 80)),
                                QString::fromUtf8(expected.mid(qMax<qsizetype>(0, i - 40), 80)))));
    }
}

}  // namespace tempolatch::test
