#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>

class QFile;

namespace tempolatch::platform {

// File names as the system spells them. On Unix a name is bytes in no
// particular encoding: a file named on the command line in an older 8-bit
// encoding must be found and written under exactly that name. A byte that
// does not decode as UTF-8 is kept in the text as U+DC00 + byte, a lone
// surrogate that no real text holds, and nativePath() gives it back.
QString pathFromNative(const QByteArray& bytes);
QByteArray nativePath(const QString& path);

// Opens `path` by its native name, for reading or (an existing pipe or
// device) for writing; a folder is refused. False with the system's reason
// in `error`.
bool openNative(QFile& file, const QString& path, QIODevice::OpenMode mode, QString* error);

}  // namespace tempolatch::platform
