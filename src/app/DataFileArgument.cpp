#include "app/DataFileArgument.h"

#include <QDir>
#include <QFileInfo>

#include "clients/ClientFileTransfers.h"
#include "platform/FileProblem.h"
#include "platform/Ui.h"
#include "settings/Context.h"
#include "transfer/ArchiveCommands.h"
#include "transfer/BackupCommands.h"

namespace tempolatch {

DataFileKind dataFileKind(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("tld"))
        return DataFileKind::Backup;
    if (suffix == QLatin1String("tla"))
        return DataFileKind::Archive;
    if (suffix == QLatin1String("tlc"))
        return DataFileKind::ClientFile;
    return DataFileKind::None;
}

QString dataFileArgument(const QStringList& args) {
    if (args.size() != 1 || args.first().startsWith(QLatin1Char('-')) ||
        dataFileKind(args.first()) == DataFileKind::None)
        return {};
    // The running window may have another working folder.
    return QFileInfo(args.first()).absoluteFilePath();
}

namespace {

QString offerText(DataFileKind kind, const QString& name) {
    switch (kind) {
        case DataFileKind::Backup:
            return QStringLiteral("Restore the data of the backup \"%1\"?").arg(name);
        case DataFileKind::Archive:
            return QStringLiteral("Load the entries of the archive \"%1\"?").arg(name);
        case DataFileKind::ClientFile:
            return QStringLiteral("Import the clients of \"%1\"?").arg(name);
        case DataFileKind::None:
            break;
    }
    return {};
}

}  // namespace

bool openDataFile(Context& context, QWidget* parent, const QString& path) {
    const DataFileKind kind = dataFileKind(path);
    if (kind == DataFileKind::None)
        return false;
    const QString name = QDir::toNativeSeparators(path);
    // By the name as the system spells it, which need not be UTF-8.
    if (const QString problem = platform::readProblem(path); !problem.isEmpty()) {
        context.ui.message(QStringLiteral("Cannot open \"%1\": %2.").arg(name, problem),
                           platform::MessageIcon::Stop, parent);
        return false;
    }
    if (!context.ui.question(offerText(kind, name), parent))
        return false;
    switch (kind) {
        case DataFileKind::Backup:
            return restoreBackupFrom(context, parent, path);
        case DataFileKind::Archive:
            return loadArchiveFrom(context, parent, path);
        case DataFileKind::ClientFile:
            return importClientStructureFrom(context, parent, path);
        case DataFileKind::None:
            break;
    }
    return false;
}

}  // namespace tempolatch
