#include "platform/compound/CompoundFile.h"

#include <QHash>
#include <QtEndian>
#include <algorithm>
#include <cstring>

#include "platform/compound/CompoundDirectory.h"
#include "platform/compound/CompoundReader.h"
#include "platform/compound/CompoundWriter.h"

namespace tempolatch::platform {

namespace {

constexpr qint64 kMaxStreamSize = 0xFFFFFFFFll;
// A stream past this holds its bytes in the file rather than in memory.
constexpr qsizetype kSpillSize = 16 * 1024;

}  // namespace

class CompoundFilePrivate {
public:
    void setFailed(const QString& why) {
        if (finished)
            return;
        if (!failed)
            error = why;
        failed = true;
    }
    void discard() {
        finished = true;
        unflushed.clear();
        writer.reset();  // uncommitted, the temporary file goes and the target stays as it was
    }

    std::unique_ptr<CompoundReader> reader;
    std::unique_ptr<CompoundWriter> writer;
    // Open new streams by element, flushed in that order on commit.
    QHash<quint32, CompoundStream::Private*> unflushed;
    bool finished = false;
    bool failed = false;
    QString error;
};

struct CompoundStream::Private {
    ~Private() {
        if (!reading)
            flush();
    }
    bool flush();

    std::shared_ptr<CompoundFilePrivate> file;
    quint32 entry = 0;
    bool reading = false;
    // An opened stream, and a small one's bytes.
    CompoundReader::Chain chain;
    quint64 pos = 0;
    QByteArray whole;
    // A new stream: the bytes not yet in the file, after `spilled` that are.
    QByteArray buffer;
    qint64 spilled = 0;
    bool closed = false;
};

struct CompoundStorage::Private {
    std::shared_ptr<CompoundFilePrivate> file;
    quint32 entry = 0;
};

bool CompoundStream::Private::flush() {
    if (closed)
        return false;
    closed = true;
    file->unflushed.remove(entry);
    if (file->finished || file->failed)
        return false;
    const bool ok = file->writer->finish(entry, buffer);
    buffer = QByteArray();
    if (!ok)
        file->setFailed(file->writer->errorString());
    return ok;
}

// --- CompoundStream -------------------------------------------------------

CompoundStream::CompoundStream() = default;
CompoundStream::CompoundStream(std::unique_ptr<Private> d) : d(std::move(d)) {}
CompoundStream::CompoundStream(CompoundStream&&) noexcept = default;
CompoundStream& CompoundStream::operator=(CompoundStream&&) noexcept = default;
CompoundStream::~CompoundStream() = default;

bool CompoundStream::isValid() const {
    return d && (d->reading || !d->closed);
}

qint64 CompoundStream::size() const {
    if (!d)
        return 0;
    return d->reading ? qint64(d->chain.size) : d->spilled + d->buffer.size();
}

qint64 CompoundStream::remaining() const {
    return d && d->reading ? qint64(d->chain.size - d->pos) : 0;
}

bool CompoundStream::readRaw(void* data, qint64 count) {
    if (!d || !d->reading || count < 0 || count > remaining())
        return false;
    if (!d->whole.isEmpty())
        std::memcpy(data, d->whole.constData() + d->pos, size_t(count));
    else if (!d->file->reader->read(d->chain, d->pos, static_cast<char*>(data), count))
        return false;
    d->pos += quint64(count);
    return true;
}

template <typename T>
bool CompoundStream::readNumber(T& value) {
    uchar bytes[sizeof(T)];
    if (!readRaw(bytes, sizeof(T)))
        return false;
    value = qFromLittleEndian<T>(bytes);
    return true;
}

bool CompoundStream::readUInt8(quint8& value) {
    return readNumber(value);
}
bool CompoundStream::readUInt16(quint16& value) {
    return readNumber(value);
}
bool CompoundStream::readUInt32(quint32& value) {
    return readNumber(value);
}
bool CompoundStream::readUInt64(quint64& value) {
    return readNumber(value);
}
bool CompoundStream::readInt32(qint32& value) {
    return readNumber(value);
}
bool CompoundStream::readInt64(qint64& value) {
    return readNumber(value);
}

bool CompoundStream::readBytes(qint64 count, QByteArray& bytes) {
    if (count < 0 || count > remaining())
        return false;  // checked before anything is allocated
    QByteArray data(count, Qt::Uninitialized);
    if (!readRaw(data.data(), count))
        return false;
    bytes = std::move(data);
    return true;
}

bool CompoundStream::readString(QString& text) {
    quint32 count = 0;
    if (!readUInt32(count))
        return false;
    if (!d->whole.isEmpty() && qint64(count) * 2 <= remaining()) {
        text.resize(count);
        qFromLittleEndian<quint16>(d->whole.constData() + d->pos, count, text.data());
        d->pos += quint64(count) * 2;
        return true;
    }
    QByteArray units;
    if (!readBytes(qint64(count) * 2, units)) {
        d->pos -= 4;  // leave the count unread
        return false;
    }
    text.resize(count);
    qFromLittleEndian<quint16>(units.constData(), count, text.data());
    return true;
}

bool CompoundStream::writeRaw(const void* data, qint64 count) {
    if (!d || d->reading)
        return false;
    CompoundFilePrivate& file = *d->file;
    if (d->closed || file.finished || file.failed || count > kMaxStreamSize - size()) {
        file.setFailed(QStringLiteral("cannot write to a closed or full stream"));
        return false;
    }
    d->buffer.append(static_cast<const char*>(data), count);
    if (d->buffer.size() >= kSpillSize) {
        const qsizetype before = d->buffer.size();
        if (!file.writer->spill(d->entry, d->buffer)) {
            file.setFailed(file.writer->errorString());
            return false;
        }
        d->spilled += before - d->buffer.size();
    }
    return true;
}

template <typename T>
bool CompoundStream::writeNumber(T value) {
    uchar bytes[sizeof(T)];
    qToLittleEndian(value, bytes);
    return writeRaw(bytes, sizeof(T));
}

bool CompoundStream::writeUInt8(quint8 value) {
    return writeNumber(value);
}
bool CompoundStream::writeUInt16(quint16 value) {
    return writeNumber(value);
}
bool CompoundStream::writeUInt32(quint32 value) {
    return writeNumber(value);
}
bool CompoundStream::writeUInt64(quint64 value) {
    return writeNumber(value);
}

bool CompoundStream::writeBytes(const QByteArray& bytes) {
    return writeRaw(bytes.constData(), bytes.size());
}

bool CompoundStream::writeString(const QString& text) {
    QByteArray units(text.size() * 2, Qt::Uninitialized);
    qToLittleEndian<quint16>(text.utf16(), text.size(), units.data());
    return writeUInt32(quint32(text.size())) && writeBytes(units);
}

bool CompoundStream::close() {
    if (d && !d->reading)
        return d->flush();  // stays, closed: a later write fails the file
    d.reset();
    return true;
}

// --- CompoundStorage ------------------------------------------------------

CompoundStorage::CompoundStorage() = default;
CompoundStorage::CompoundStorage(std::unique_ptr<Private> d) : d(std::move(d)) {}
CompoundStorage::CompoundStorage(CompoundStorage&&) noexcept = default;
CompoundStorage& CompoundStorage::operator=(CompoundStorage&&) noexcept = default;
CompoundStorage::~CompoundStorage() = default;

bool CompoundStorage::isValid() const {
    return d != nullptr;
}

std::optional<QList<CompoundEntry>> CompoundStorage::children() const {
    if (!d)
        return std::nullopt;
    const CompoundFilePrivate& file = *d->file;
    if (file.reader) {
        const CompoundDirectory& dir = file.reader->directory();
        QList<CompoundEntry> list;
        for (quint32 index : dir.children(d->entry)) {
            list.append({dir.name(index), dir.entry(index).type == CompoundDirectory::Storage});
        }
        return list;
    }
    if (file.writer)
        return file.writer->children(d->entry);
    return QList<CompoundEntry>();  // a committed or dropped file's storage
}

CompoundStorage CompoundStorage::createStorage(const QString& name) {
    if (!d || !d->file->writer || d->file->finished)
        return {};
    QString why;
    const quint32 index = d->file->writer->add(d->entry, name, true, &why);
    if (index == CompoundWriter::NoEntry) {
        d->file->setFailed(why);
        return {};
    }
    auto p = std::make_unique<Private>();
    p->file = d->file;
    p->entry = index;
    return CompoundStorage(std::move(p));
}

CompoundStream CompoundStorage::createStream(const QString& name) {
    if (!d || !d->file->writer || d->file->finished)
        return {};
    QString why;
    const quint32 index = d->file->writer->add(d->entry, name, false, &why);
    if (index == CompoundWriter::NoEntry) {
        d->file->setFailed(why);
        return {};
    }
    auto p = std::make_unique<CompoundStream::Private>();
    p->file = d->file;
    p->entry = index;
    d->file->unflushed.insert(index, p.get());
    return CompoundStream(std::move(p));
}

CompoundStorage CompoundStorage::openStorage(const QString& name) const {
    if (!d || !d->file->reader)
        return {};
    const CompoundDirectory& dir = d->file->reader->directory();
    const quint32 index = dir.findChild(d->entry, name);
    if (index == CompoundDirectory::NoEntry || dir.entry(index).type != CompoundDirectory::Storage)
        return {};
    auto p = std::make_unique<Private>();
    p->file = d->file;
    p->entry = index;
    return CompoundStorage(std::move(p));
}

qsizetype CompoundStorage::childCount() const {
    if (!d || !d->file->reader)
        return 0;
    return d->file->reader->directory().children(d->entry).size();
}

CompoundStream CompoundStorage::openStreamAt(qsizetype index) const {
    if (!d || !d->file->reader)
        return {};
    const QList<quint32> kids = d->file->reader->directory().children(d->entry);
    if (index < 0 || index >= kids.size())
        return {};
    return openEntry(kids[index]);
}

CompoundStream CompoundStorage::openStream(const QString& name) const {
    if (!d || !d->file->reader)
        return {};
    return openEntry(d->file->reader->directory().findChild(d->entry, name));
}

CompoundStream CompoundStorage::openEntry(quint32 index) const {
    const CompoundDirectory& dir = d->file->reader->directory();
    if (index == CompoundDirectory::NoEntry || dir.entry(index).type != CompoundDirectory::Stream)
        return {};
    auto p = std::make_unique<CompoundStream::Private>();
    p->file = d->file;
    p->entry = index;
    p->reading = true;
    p->chain = d->file->reader->chain(index);
    // A small stream is read whole at once: its numbers and strings are
    // then taken from memory instead of each through the chain of blocks.
    if (p->chain.mini && p->chain.size > 0) {
        p->whole.resize(qsizetype(p->chain.size));
        if (!d->file->reader->read(p->chain, 0, p->whole.data(), p->whole.size()))
            p->whole.clear();
    }
    return CompoundStream(std::move(p));
}

// --- CompoundFile ---------------------------------------------------------

CompoundFile::CompoundFile(std::shared_ptr<CompoundFilePrivate> d) : d(std::move(d)) {}

CompoundFile::~CompoundFile() {
    d->discard();
}

std::unique_ptr<CompoundFile> CompoundFile::create(const QString& path, QString* error) {
    auto f = std::make_shared<CompoundFilePrivate>();
    f->writer = std::make_unique<CompoundWriter>(path);
    if (!f->writer->open(error))
        return nullptr;
    return std::unique_ptr<CompoundFile>(new CompoundFile(std::move(f)));
}

std::unique_ptr<CompoundFile> CompoundFile::open(const QString& path, QString* error) {
    auto f = std::make_shared<CompoundFilePrivate>();
    f->reader = std::make_unique<CompoundReader>();
    f->finished = true;
    if (!f->reader->open(path, error))
        return nullptr;
    return std::unique_ptr<CompoundFile>(new CompoundFile(std::move(f)));
}

bool CompoundFile::isWritable() const {
    return d->writer && !d->finished;
}

CompoundStorage CompoundFile::root() {
    if (!d->reader && !isWritable())
        return {};
    auto p = std::make_unique<CompoundStorage::Private>();
    p->file = d;
    return CompoundStorage(std::move(p));
}

bool CompoundFile::commit() {
    CompoundFilePrivate& f = *d;
    if (!isWritable())
        return false;
    QList<quint32> open = f.unflushed.keys();
    std::sort(open.begin(), open.end());  // the file's layout does not depend on hashing
    for (quint32 entry : open)
        f.unflushed.value(entry)->flush();
    if (!f.failed && !f.writer->commit())
        f.setFailed(f.writer->errorString());
    const bool ok = !f.failed;
    f.discard();
    return ok;
}

QString CompoundFile::errorString() const {
    return d->error;
}

}  // namespace tempolatch::platform
