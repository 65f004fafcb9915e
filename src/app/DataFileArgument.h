#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace tempolatch {

struct Context;

// The program's own files, known by their names, that the window opens
// when it is started with one (a double click in a file manager).
enum class DataFileKind { None, Backup, Archive, ClientFile };

DataFileKind dataFileKind(const QString& path);

// The file of a start such as "tempolatch ~/backups/monday.tld" as an
// absolute path, or empty when `args` is not one such file.
QString dataFileArgument(const QStringList& args);

// Asks whether to restore, load or import the file, and does it as the
// menu command of that kind would. True when the data may have changed.
bool openDataFile(Context& context, QWidget* parent, const QString& path);

}  // namespace tempolatch
