#include "platform/OutputFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <algorithm>
#include <cerrno>
#include <cstdio>

#include "platform/NativePath.h"
#include "platform/Profile.h"
#include "platform/ReplacingFile.h"
#include "platform/WorkProgress.h"

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace tempolatch::platform {

namespace {

// Large enough that a row at a time costs no system call per row.
constexpr qsizetype kBlock = 64 * 1024;

qint64 g_diskSpace = -1;

const QString kCancelled = QStringLiteral("cancelled");

enum class TargetKind { Missing, Regular, Stream, Folder, Other };

TargetKind targetKind(const QString& path) {
#ifdef Q_OS_UNIX
    struct stat info;
    if (::stat(nativePath(path).constData(), &info) != 0)
        return TargetKind::Missing;
    if (S_ISREG(info.st_mode))
        return TargetKind::Regular;
    if (S_ISFIFO(info.st_mode) || S_ISCHR(info.st_mode))
        return TargetKind::Stream;
    return S_ISDIR(info.st_mode) ? TargetKind::Folder : TargetKind::Other;
#else
    const QFileInfo info(path);
    if (!info.exists())
        return TargetKind::Missing;
    if (info.isDir())
        return TargetKind::Folder;
    return info.isFile() ? TargetKind::Regular : TargetKind::Other;
#endif
}

// The places a path may stand for: as written, and with its folder and any
// link of its own resolved, so that a link or another spelling of the
// profile folder still leads to the profile's files.
QStringList placesOf(const QString& path) {
    const QFileInfo info(path);
    QStringList places{QDir::cleanPath(info.absoluteFilePath())};
    const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    if (!folder.isEmpty())
        places.append(folder + QLatin1Char('/') + info.fileName());
    const QString resolved = info.canonicalFilePath();
    if (!resolved.isEmpty())
        places.append(resolved);
    return places;
}

QString shown(const QString& path) {
    return QDir::toNativeSeparators(path);
}

}  // namespace

OutputFile::OutputFile(const QString& path, Options options) : m_path(path), m_options(options) {}

OutputFile::~OutputFile() {
    abandon();
}

void OutputFile::setDiskSpaceForTesting(qint64 bytes) {
    g_diskSpace = bytes;
}

bool OutputFile::isProfileFile(const QString& path) {
    const QStringList places = placesOf(path);
    for (const QString& file : Profile::ownFiles()) {
        for (const QString& place : placesOf(file)) {
            if (places.contains(place))
                return true;
        }
    }
    return false;
}

QString OutputFile::refusal(const QString& path, Options options) {
    if (path.isEmpty())
        return QStringLiteral("No file name was given.");
    if (path == QLatin1String("-"))
        return {};
    if (!(options & ProfileFile) && isProfileFile(path))
        return QStringLiteral("%1 holds the data of the profile in use; choose another file.")
            .arg(shown(path));
    switch (targetKind(path)) {
        case TargetKind::Folder:
            return QStringLiteral("%1 is a folder; choose a file.").arg(shown(path));
        case TargetKind::Other:
            return QStringLiteral("%1 is neither a file, a pipe nor a device that can be written.")
                .arg(shown(path));
        default:
            return {};
    }
}

bool OutputFile::open(OpenMode mode) {
    if (isOpen() || (mode & ReadOnly) || !(mode & WriteOnly)) {
        setErrorString(QStringLiteral("An output file is opened once, for writing only."));
        return false;
    }
    m_failed = false;
    m_buffer.clear();
    const QString refused = refusal(m_path, m_options);
    if (!refused.isEmpty()) {
        setErrorString(refused);
        return false;
    }
    const bool standardOutput = m_path == QLatin1String("-");
    if (standardOutput || targetKind(m_path) == TargetKind::Stream) {
        auto stream = std::make_unique<QFile>();
        QString why;
        if (standardOutput) {
            std::fflush(stdout);  // whatever went through stdio comes first
            if (!stream->open(fileno(stdout), WriteOnly | Unbuffered, QFile::DontCloseHandle))
                why = stream->errorString();
        } else {
            openNative(*stream, m_path, WriteOnly | Unbuffered, &why);
        }
        if (!stream->isOpen()) {
            setErrorString(why);
            return false;
        }
        if (m_options & Seekable) {
            auto spool = std::make_unique<QTemporaryFile>();
            if (!spool->open()) {
                setErrorString(spool->errorString());
                return false;
            }
            m_spool = std::move(spool);
        }
        m_stream = std::move(stream);
    } else {
        auto file = std::make_unique<ReplacingFile>(m_path);
        // Buffered here, unbuffered there: a write that fails is seen at
        // once, never in a flush nobody checks.
        if (!file->open()) {
            setErrorString(file->errorString());
            return false;
        }
        m_file = std::move(file);
    }
    return QIODevice::open(WriteOnly | Unbuffered);
}

QIODevice* OutputFile::target() const {
    if (m_spool)
        return m_spool.get();
    if (m_stream)
        return m_stream.get();
    return m_file ? &m_file->device() : nullptr;
}

bool OutputFile::fail(const QString& why) {
    if (!m_failed)
        setErrorString(why);
    m_failed = true;
    return false;
}

bool OutputFile::deliver(QIODevice& to, const char* data, qint64 size) {
    qint64 fits = size;
    if (g_diskSpace >= 0) {
        fits = std::min(size, g_diskSpace);
        g_diskSpace -= fits;
    }
    if (fits > 0 && to.write(data, fits) != fits)
        return fail(to.errorString());
    if (fits < size)
        return fail(qt_error_string(ENOSPC));
    return true;
}

bool OutputFile::flushBuffer() {
    if (m_failed)
        return false;
    if (m_buffer.isEmpty())
        return true;
    const bool ok = deliver(*target(), m_buffer.constData(), m_buffer.size());
    m_buffer.clear();
    return ok;
}

qint64 OutputFile::writeData(const char* data, qint64 size) {
    if (m_failed || !target())
        return -1;
    // A cancelled export stops at its next write and leaves no file.
    if (WorkProgress::cancelledHere()) {
        fail(kCancelled);
        return -1;
    }
    // A large block (a whole XML document) goes out as it is, not copied.
    if (m_buffer.isEmpty() && size >= kBlock)
        return deliver(*target(), data, size) ? size : -1;
    m_buffer.append(data, size);
    if (m_buffer.size() >= kBlock && !flushBuffer())
        return -1;
    return size;
}

qint64 OutputFile::readData(char*, qint64) {
    return -1;
}

bool OutputFile::isSequential() const {
    return m_stream && !m_spool;
}

bool OutputFile::seek(qint64 pos) {
    if (!isOpen() || isSequential() || !flushBuffer())
        return false;
    if (!target()->seek(pos))
        return fail(target()->errorString());
    return QIODevice::seek(pos);
}

bool OutputFile::syncToDisk(QFileDevice& file) {
#ifdef Q_OS_UNIX
    // Some file systems only tell of a full disk when the data is synced.
    // Those that cannot sync at all say EINVAL or ENOTSUP: nothing lost.
    const int handle = file.handle();
    if (handle >= 0 && ::fsync(handle) != 0 && errno != EINVAL && errno != ENOTSUP &&
        errno != EROFS)
        return fail(qt_error_string(errno));
#else
    Q_UNUSED(file);
#endif
    return true;
}

bool OutputFile::streamSpool() {
    if (!m_spool->seek(0))
        return fail(m_spool->errorString());
    QByteArray block(kBlock, Qt::Uninitialized);
    for (;;) {
        const qint64 got = m_spool->read(block.data(), block.size());
        if (got < 0)
            return fail(m_spool->errorString());
        if (got == 0)
            return true;
        if (!deliver(*m_stream, block.constData(), got))
            return false;
    }
}

bool OutputFile::commit() {
    if (!isOpen())
        return false;
    bool ok = (!WorkProgress::cancelledHere() || fail(kCancelled)) && flushBuffer();
    if (m_file) {
        ok = ok && syncToDisk(m_file->device());
        // Dropped uncommitted (below), the new file is removed.
        if (ok && !m_file->commit())
            ok = fail(m_file->errorString());
    } else {
        if (ok && m_spool)
            ok = streamSpool();
        if (ok && !m_stream->flush())
            ok = fail(m_stream->errorString());
    }
    m_file.reset();
    m_stream.reset();
    m_spool.reset();
    m_buffer.clear();
    QIODevice::close();
    return ok;
}

void OutputFile::abandon() {
    // A save file dropped uncommitted removes its temporary file; what went
    // out to a stream is gone already.
    m_file.reset();
    m_stream.reset();
    m_spool.reset();
    m_buffer.clear();
    if (isOpen())
        QIODevice::close();
}

}  // namespace tempolatch::platform
