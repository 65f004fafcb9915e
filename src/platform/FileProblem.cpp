#include "platform/FileProblem.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <initializer_list>

#include "platform/NativePath.h"

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace tempolatch::platform {

namespace {

// Whether the system said one of `codes`: Qt words its errors as the
// system does, so the text tells the code.
bool says(const QString& systemError, std::initializer_list<int> codes) {
    for (int code : codes) {
        if (!systemError.isEmpty() && systemError.contains(qt_error_string(code)))
            return true;
    }
    return false;
}

QString folderOf(const QString& path) {
    return QFileInfo(path).absolutePath();
}

#ifdef Q_OS_UNIX
// stat() of the native name: 0, or the system's error code.
int statOf(const QString& path, struct stat& info) {
    return ::stat(nativePath(path).constData(), &info) == 0 ? 0 : errno;
}

// Why `path` may not be written: 0 when it may, or is not there yet.
int writeAccessError(const QString& path) {
    if (::access(nativePath(path).constData(), W_OK) == 0 || errno == ENOENT)
        return 0;
    return errno;
}

bool isFolder(const QString& path) {
    struct stat info;
    return statOf(path, info) == 0 && S_ISDIR(info.st_mode);
}
#else
bool isFolder(const QString& path) {
    return QFileInfo(path).isDir();
}
#endif

}  // namespace

bool isDiskFull(const QString& systemError) {
    return says(systemError, {ENOSPC, EDQUOT, EFBIG});
}

QString readProblem(const QString& path) {
#ifdef Q_OS_UNIX
    struct stat info;
    const int error = statOf(path, info);
    if (error == ENOENT || error == ENOTDIR)
        return QStringLiteral("it does not exist");
    if (error != 0)
        return qt_error_string(error);
    if (S_ISDIR(info.st_mode))
        return QStringLiteral("it is a folder");
#else
    const QFileInfo info(path);
    if (!info.exists())
        return QStringLiteral("it does not exist");
    if (info.isDir())
        return QStringLiteral("it is a folder");
#endif
    QFile file;
    QString why;
    if (!openNative(file, path, QIODevice::ReadOnly, &why))
        return why == qt_error_string(EACCES) ? QStringLiteral("permission to read it is denied")
                                              : why;
    return {};
}

QString writeProblem(const QString& path, const QString& systemError) {
    const QString folder = folderOf(path);
    if (!isFolder(folder))
        return QStringLiteral("the folder %1 does not exist").arg(QDir::toNativeSeparators(folder));
    if (isDiskFull(systemError))
        return QStringLiteral("the disk is full");
#ifdef Q_OS_UNIX
    const int folderError = writeAccessError(folder);
    const int fileError = writeAccessError(path);
    if (says(systemError, {EROFS}) || folderError == EROFS)
        return QStringLiteral("the disk is read-only");
    if (fileError != 0)
        return QStringLiteral("the file is read-only");
    if (folderError != 0 || says(systemError, {EACCES, EPERM}))
        return QStringLiteral("the folder is read-only");
#else
    if (says(systemError, {EROFS}))
        return QStringLiteral("the disk is read-only");
    if (says(systemError, {EACCES, EPERM}))
        return QStringLiteral("permission to write it is denied");
#endif
    return systemError;
}

QString writeFailureMessage(const QString& usual, const QString& path, const QString& systemError) {
    const QString problem = writeProblem(path, systemError);
    if (problem.isEmpty() || isDiskFull(systemError))
        return usual;
    return QStringLiteral("Cannot write %1: %2.").arg(QDir::toNativeSeparators(path), problem);
}

}  // namespace tempolatch::platform
