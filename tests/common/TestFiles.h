#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

namespace tempolatch::test {

// The bytes of a file as they are on disk; "<missing>" when it cannot be
// read, which no file a test writes holds.
inline QByteArray fileContents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// Puts `bytes` at `path` as another program would, past the program's own
// writers; false when it cannot.
inline bool putFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

}  // namespace tempolatch::test
