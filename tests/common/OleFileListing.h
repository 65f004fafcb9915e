#pragma once

#include <QFile>
#include <QProcess>
#include <QStringList>

namespace tempolatch::test {

// What olefile (Debian's python3-olefile), a reader independent of ours,
// sees in a compound file: one line per element, "path storage" or
// "path stream <hex bytes>", sorted. A stream longer than `shownBytes`
// (when not negative) shows "<size>:<sha1 hex>" instead of its bytes.
struct OleFileListing {
    bool available = false;  // false: python3 or olefile is missing
    bool ok = false;
    QStringList lines;
    QString error;
};

inline OleFileListing oleFileListing(const QString& path, int shownBytes = -1) {
    OleFileListing listing;
    const QString python = QStringLiteral("/usr/bin/python3");
    if (!QFile::exists(python) ||
        QProcess::execute(python, {QStringLiteral("-c"), QStringLiteral("import olefile")}) != 0)
        return listing;
    listing.available = true;
    static const char script[] = R"(
import sys, hashlib, olefile
sys.stdout.reconfigure(encoding='utf-8')
ole = olefile.OleFileIO(sys.argv[1])
shown = int(sys.argv[2])
if ole.parsing_issues:
    print('issues', ole.parsing_issues)
for entry in ole.listdir(streams=True, storages=True):
    path = '/'.join(entry)
    if ole.get_type(entry) == olefile.STGTY_STREAM:
        data = ole.openstream(entry).read()
        text = data.hex() if shown < 0 or len(data) <= shown else '%d:%s' % (len(data), hashlib.sha1(data).hexdigest())
        print(path, 'stream', text)
    else:
        print(path, 'storage')
)";
    QProcess process;
    process.start(python, {QStringLiteral("-c"), QString::fromLatin1(script), path,
                           QString::number(shownBytes)});
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
