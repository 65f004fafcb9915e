#include "platform/NativePath.h"

#include <QFile>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace tempolatch::platform {

#ifdef Q_OS_UNIX

namespace {

constexpr char16_t kEscapeBase = 0xDC00;

// The length of the valid UTF-8 sequence at `at`, or 0.
qsizetype utf8Length(const QByteArray& bytes, qsizetype at) {
    const auto byte = [&](qsizetype i) { return quint8(bytes.at(i)); };
    const quint8 lead = byte(at);
    if (lead < 0x80)
        return 1;
    qsizetype length = 0;
    quint32 minimum = 0;
    quint32 code = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2, minimum = 0x80, code = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, minimum = 0x800, code = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, minimum = 0x10000, code = lead & 0x07;
    } else {
        return 0;
    }
    if (at + length > bytes.size())
        return 0;
    for (qsizetype i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80)
            return 0;
        code = (code << 6) | (byte(at + i) & 0x3F);
    }
    // Overlong forms, surrogates and code points past Unicode do not
    // decode: they stay bytes.
    if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return 0;
    return length;
}

bool isEscapedByte(QChar c) {
    return c.unicode() >= kEscapeBase + 0x80 && c.unicode() <= kEscapeBase + 0xFF;
}

}  // namespace

QString pathFromNative(const QByteArray& bytes) {
    QString path;
    path.reserve(bytes.size());
    qsizetype run = 0;  // where the current run of valid text began
    qsizetype at = 0;
    while (at < bytes.size()) {
        const qsizetype length = utf8Length(bytes, at);
        if (length > 0) {
            at += length;
            continue;
        }
        path += QString::fromUtf8(bytes.constData() + run, at - run);
        path += QChar(char16_t(kEscapeBase + quint8(bytes.at(at))));
        run = ++at;
    }
    return path + QString::fromUtf8(bytes.constData() + run, at - run);
}

QByteArray nativePath(const QString& path) {
    QByteArray bytes;
    bytes.reserve(path.size());
    qsizetype run = 0;
    for (qsizetype i = 0; i < path.size(); ++i) {
        if (!isEscapedByte(path.at(i)))
            continue;
        // An escaped byte stands alone; a real pair never ends in one.
        if (i > 0 && path.at(i - 1).isHighSurrogate())
            continue;
        bytes += QStringView(path).mid(run, i - run).toUtf8();
        bytes += char(path.at(i).unicode() - kEscapeBase);
        run = i + 1;
    }
    return bytes + QStringView(path).mid(run).toUtf8();
}

#else

// Elsewhere the system's names are Unicode already.
QString pathFromNative(const QByteArray& bytes) {
    return QString::fromLocal8Bit(bytes);
}

QByteArray nativePath(const QString& path) {
    return QFile::encodeName(path);
}

#endif

bool openNative(QFile& file, const QString& path, QIODevice::OpenMode mode, QString* error) {
#ifdef Q_OS_UNIX
    const int flags = (mode & QIODevice::WriteOnly) ? O_WRONLY : O_RDONLY;
    const int handle = ::open(nativePath(path).constData(), flags | O_CLOEXEC);
    struct stat info;
    int failure = handle < 0 ? errno : 0;
    if (handle >= 0 && ::fstat(handle, &info) == 0 && S_ISDIR(info.st_mode))
        failure = EISDIR;
    if (failure == 0 && file.open(handle, mode, QFileDevice::AutoCloseHandle))
        return true;
    if (handle >= 0 && !file.isOpen())
        ::close(handle);
    if (error)
        *error = failure != 0 ? qt_error_string(failure) : file.errorString();
    return false;
#else
    file.setFileName(path);
    if (file.open(mode))
        return true;
    if (error)
        *error = file.errorString();
    return false;
#endif
}

}  // namespace tempolatch::platform
