#pragma once

#include <QFile>
#include <QProcess>
#include <QStringList>

namespace tempolatch::test {

// What olefile (Debian's python3-olefile), a reader independent of ours,
// sees in a compound file: one line per element, "path storage" or
// "path stream <hex bytes>", sorted.
struct OleFileListing {
    bool available = false;  // false: python3 or olefile is missing
    bool ok = false;
    QStringList lines;
    QString error;
};

inline OleFileListing oleFileListing(const QString& path) {
    OleFileListing listing;
    const QString python = QStringLiteral("/usr/bin/python3");
    if (!QFile::exists(python) ||
        QProcess::execute(python, {QStringLiteral("-c"), QStringLiteral("import olefile")}) != 0)
        return listing;
    listing.available = true;
    static const char script[] = R"(
import sys, olefile
sys.stdout.reconfigure(encoding='utf-8')
ole = olefile.OleFileIO(sys.argv[1])
if ole.parsing_issues:
    print('issues', ole.parsing_issues)
for entry in ole.listdir(streams=True, storages=True):
    path = '/'.join(entry)
    if ole.get_type(entry) == olefile.STGTY_STREAM:
        print(path, 'stream', ole.openstream(entry).read().hex())
    else:
        print(path, 'storage')
)";
    QProcess process;
    process.start(python, {QStringLiteral("-c"), QString::fromLatin1(script), path});
    if (!process.waitForFinished(120000)) {
        listing.error = QStringLiteral("olefile did not finish");
        return listing;
    }
    listing.error = QString::fromUtf8(process.readAllStandardError());
    listing.ok = process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    listing.lines =
        QString::fromUtf8(process.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    listing.lines.sort();
    return listing;
}

}  // namespace tempolatch::test
