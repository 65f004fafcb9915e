#include "platform/ReplacingFile.h"

#include <QFile>
#include <QRandomGenerator>
#include <QSaveFile>

#include "platform/NativePath.h"

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#endif

namespace tempolatch::platform {

ReplacingFile::ReplacingFile(const QString& path) : m_path(path) {}

ReplacingFile::~ReplacingFile() {
    removeTemporary();
}

bool ReplacingFile::fail(const QString& why) {
    m_error = why;
    removeTemporary();
    return false;
}

#ifdef Q_OS_UNIX

namespace {

// The native name of the file `path` stands for: a link's target, or the
// path itself when it names nothing yet (or a link to nothing).
QByteArray replacedName(const QString& path) {
    const QByteArray name = nativePath(path);
    char resolved[PATH_MAX];
    return ::realpath(name.constData(), resolved) ? QByteArray(resolved) : name;
}

}  // namespace

bool ReplacingFile::open() {
    const QByteArray target = replacedName(m_path);
    struct stat info;
    const bool exists = ::stat(target.constData(), &info) == 0;
    if (exists && ::access(target.constData(), W_OK) != 0)
        return fail(qt_error_string(errno));
    int handle = -1;
    while (handle < 0) {
        m_temporary = target + '.' +
                      QByteArray::number(QRandomGenerator::global()->generate() & 0xFFFFFF, 16);
        handle = ::open(m_temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (handle < 0 && errno != EEXIST) {
            const int error = errno;
            m_temporary.clear();
            return fail(qt_error_string(error));
        }
    }
    if (exists)
        (void)::fchmod(handle, info.st_mode & 07777);
    auto file = std::make_unique<QFile>();
    if (!file->open(handle, QIODevice::WriteOnly | QIODevice::Unbuffered,
                    QFileDevice::AutoCloseHandle)) {
        ::close(handle);
        return fail(file->errorString());
    }
    m_device = std::move(file);
    return true;
}

bool ReplacingFile::commit() {
    if (!m_device || m_temporary.isEmpty())
        return fail(QStringLiteral("The file was not opened."));
    m_device->close();
    if (m_device->error() != QFileDevice::NoError)
        return fail(m_device->errorString());
    const QByteArray target = replacedName(m_path);
    if (::rename(m_temporary.constData(), target.constData()) != 0)
        return fail(qt_error_string(errno));
    m_temporary.clear();
    return true;
}

void ReplacingFile::removeTemporary() {
    if (m_device)
        m_device->close();
    if (!m_temporary.isEmpty())
        ::unlink(m_temporary.constData());
    m_temporary.clear();
}

#else

// Elsewhere names are Unicode already; the save file does the same work.
bool ReplacingFile::open() {
    auto file = std::make_unique<QSaveFile>(m_path);
    if (!file->open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        m_error = file->errorString();
        return false;
    }
    m_device = std::move(file);
    return true;
}

bool ReplacingFile::commit() {
    auto* file = static_cast<QSaveFile*>(m_device.get());
    if (!file || !file->commit()) {
        m_error = file ? file->errorString() : QStringLiteral("The file was not opened.");
        m_device.reset();
        return false;
    }
    m_device.reset();
    return true;
}

void ReplacingFile::removeTemporary() {
    m_device.reset();  // a save file dropped uncommitted removes its own
}

#endif

}  // namespace tempolatch::platform
