#include "platform/CompoundFile.h"

#include <gsf/gsf-infile-msole.h>
#include <gsf/gsf-infile.h>
#include <gsf/gsf-input-stdio.h>
#include <gsf/gsf-outfile-msole.h>
#include <gsf/gsf-outfile.h>
#include <gsf/gsf-output-memory.h>
#include <gsf/gsf-utils.h>

#include <QFile>
#include <QHash>
#include <QSaveFile>
#include <QSet>
#include <QtEndian>
#include <algorithm>
#include <limits>

#include "platform/CompoundDirectory.h"

namespace tempolatch::platform {

namespace {

constexpr qint64 kMaxStreamSize = std::numeric_limits<quint32>::max();

// The library reports damage it works around (a dropped element, a short
// chain) only as a log message. Inside our calls such a message makes the
// call fail instead of reaching the terminal.
thread_local int t_callDepth = 0;
thread_local bool t_complained = false;

void libraryLog(const gchar* domain, GLogLevelFlags level, const gchar* message, gpointer) {
    if (t_callDepth > 0) {
        t_complained = true;
        return;
    }
    g_log_default_handler(domain, level, message, nullptr);
}

void initLibrary() {
    static const bool done = [] {
        gsf_init();
        const auto levels = GLogLevelFlags(G_LOG_LEVEL_WARNING | G_LOG_LEVEL_CRITICAL);
        for (const char* domain : {"libgsf", "libgsf:msole", static_cast<const char*>(nullptr)})
            g_log_set_handler(domain, levels, libraryLog, nullptr);
        return true;
    }();
    Q_UNUSED(done);
}

class LibraryCall {
public:
    LibraryCall() {
        if (t_callDepth++ == 0)
            t_complained = false;
    }
    ~LibraryCall() { --t_callDepth; }
    LibraryCall(const LibraryCall&) = delete;
    LibraryCall& operator=(const LibraryCall&) = delete;
    bool complained() const { return t_complained; }
};

bool isValidName(const QString& name) {
    if (name.isEmpty() || name.size() > 31)
        return false;
    for (QChar c : name) {
        if (c.unicode() < 0x20 || c == u'/' || c == u'\\' || c == u':' || c == u'!')
            return false;
    }
    return QString::fromUtf8(name.toUtf8()) == name;  // no lone surrogates
}

template <typename T>
T* ref(T* object) {
    return object ? static_cast<T*>(g_object_ref(object)) : nullptr;
}

void unref(gpointer object) {
    if (object)
        g_object_unref(object);
}

}  // namespace

class CompoundFilePrivate {
public:
    ~CompoundFilePrivate() {
        discard();
        unref(infile);
    }

    void setFailed(const QString& why) {
        if (finished)
            return;
        if (!failed)
            error = why;
        failed = true;
    }

    GsfOutput* createChild(GsfOutfile* parent, const QString& name, bool storage);
    void releaseWriter();
    void discard();

    // An opened file.
    GsfInfile* infile = nullptr;
    CompoundDirectory directory;

    // A new file: built in memory by the library, written out on commit.
    struct Folder {
        QList<CompoundEntry> children;
        QSet<QString> keys;
    };
    std::unique_ptr<QSaveFile> save;
    GsfOutput* sink = nullptr;
    GsfOutfile* outfile = nullptr;
    QHash<const void*, Folder> folders;
    QSet<CompoundStream::Private*> unflushed;
    bool finished = false;
    bool failed = false;
    QString error;
};

struct CompoundStream::Private {
    ~Private() {
        if (output)
            flush();
        unref(input);
        unref(output);
    }
    bool flush();

    std::shared_ptr<CompoundFilePrivate> file;
    GsfInput* input = nullptr;
    GsfOutput* output = nullptr;
    QByteArray buffer;
    bool closed = false;
};

struct CompoundStorage::Private {
    ~Private() {
        unref(infile);
        unref(outfile);
    }
    GsfInput* openChild(const QString& name, quint8 type, quint32& index) const;

    std::shared_ptr<CompoundFilePrivate> file;
    GsfInfile* infile = nullptr;
    quint32 entry = 0;
    GsfOutfile* outfile = nullptr;
};

GsfOutput* CompoundFilePrivate::createChild(GsfOutfile* parent, const QString& name, bool storage) {
    if (finished)
        return nullptr;
    Folder& folder = folders[parent];
    const QString key = compoundNameKey(name);
    if (!isValidName(name) || folder.keys.contains(key)) {
        setFailed(QStringLiteral("invalid or repeated element name \"%1\"").arg(name));
        return nullptr;
    }
    LibraryCall call;
    GsfOutput* child = gsf_outfile_new_child(parent, name.toUtf8().constData(), storage);
    if (!child || call.complained()) {
        unref(child);
        setFailed(QStringLiteral("cannot create \"%1\"").arg(name));
        return nullptr;
    }
    folder.keys.insert(key);
    folder.children.append({name, storage});
    return child;
}

void CompoundFilePrivate::releaseWriter() {
    unref(outfile);
    unref(sink);
    outfile = nullptr;
    sink = nullptr;
    save.reset();  // uncommitted, the temporary file goes and the target stays as it was
}

void CompoundFilePrivate::discard() {
    if (!outfile || finished)
        return;
    finished = true;
    unflushed.clear();
    // Closing the root is what lets the library drop its elements, which
    // refer to each other until then; it only writes to memory.
    LibraryCall call;
    gsf_output_close(GSF_OUTPUT(outfile));
    releaseWriter();
}

bool CompoundStream::Private::flush() {
    if (closed)
        return false;
    closed = true;
    file->unflushed.remove(this);
    if (file->finished)
        return false;
    bool ok = true;
    {
        // The whole stream in one write: the library writes a stream that
        // outgrows its small blocks straight into the file, which only
        // works for one such stream at a time.
        LibraryCall call;
        if (!buffer.isEmpty())
            ok = gsf_output_write(output, size_t(buffer.size()),
                                  reinterpret_cast<const guint8*>(buffer.constData()));
        ok = gsf_output_close(output) && ok && !call.complained();
    }
    buffer = QByteArray();
    if (!ok)
        file->setFailed(QStringLiteral("cannot write the stream \"%1\"")
                            .arg(QString::fromUtf8(gsf_output_name(output))));
    return ok;
}

// --- CompoundStream -------------------------------------------------------

CompoundStream::CompoundStream() = default;
CompoundStream::CompoundStream(std::unique_ptr<Private> d) : d(std::move(d)) {}
CompoundStream::CompoundStream(CompoundStream&&) noexcept = default;
CompoundStream& CompoundStream::operator=(CompoundStream&&) noexcept = default;
CompoundStream::~CompoundStream() = default;

bool CompoundStream::isValid() const {
    return d && (d->input || (d->output && !d->closed));
}

qint64 CompoundStream::size() const {
    if (!d)
        return 0;
    return d->input ? gsf_input_size(d->input) : d->buffer.size();
}

qint64 CompoundStream::remaining() const {
    return d && d->input ? gsf_input_remaining(d->input) : 0;
}

bool CompoundStream::readRaw(void* data, qint64 count) {
    if (!d || !d->input || count < 0 || count > gsf_input_remaining(d->input))
        return false;
    if (count == 0)
        return true;
    LibraryCall call;
    return gsf_input_read(d->input, size_t(count), static_cast<guint8*>(data)) &&
           !call.complained();
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
    QByteArray units;
    if (!readBytes(qint64(count) * 2, units)) {
        gsf_input_seek(d->input, -4, G_SEEK_CUR);  // leave the count unread
        return false;
    }
    text.resize(count);
    qFromLittleEndian<quint16>(units.constData(), count, text.data());
    return true;
}

bool CompoundStream::writeRaw(const void* data, qint64 count) {
    if (!d || !d->output)
        return false;
    if (d->closed || d->file->finished || count > kMaxStreamSize - d->buffer.size()) {
        d->file->setFailed(QStringLiteral("cannot write to a closed or full stream"));
        return false;
    }
    d->buffer.append(static_cast<const char*>(data), count);
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
    if (d && d->output)
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
    return d && (d->infile || d->outfile);
}

std::optional<QList<CompoundEntry>> CompoundStorage::children() const {
    if (!isValid())
        return std::nullopt;
    QList<CompoundEntry> list;
    if (d->infile) {
        const CompoundDirectory& dir = d->file->directory;
        for (quint32 index : dir.children(d->entry)) {
            const CompoundDirectory::Entry& e = dir.entry(index);
            list.append({e.name, e.type == CompoundDirectory::Storage});
        }
    } else {
        list = d->file->folders.value(d->outfile).children;
        std::sort(list.begin(), list.end(), [](const CompoundEntry& a, const CompoundEntry& b) {
            return compareCompoundNames(a.name, b.name) < 0;
        });
    }
    return list;
}

CompoundStorage CompoundStorage::createStorage(const QString& name) {
    if (!d || !d->outfile)
        return {};
    GsfOutput* child = d->file->createChild(d->outfile, name, true);
    if (!child)
        return {};
    auto p = std::make_unique<Private>();
    p->file = d->file;
    p->outfile = GSF_OUTFILE(child);
    return CompoundStorage(std::move(p));
}

CompoundStream CompoundStorage::createStream(const QString& name) {
    if (!d || !d->outfile)
        return {};
    GsfOutput* child = d->file->createChild(d->outfile, name, false);
    if (!child)
        return {};
    auto p = std::make_unique<CompoundStream::Private>();
    p->file = d->file;
    p->output = child;
    d->file->unflushed.insert(p.get());
    return CompoundStream(std::move(p));
}

// The library's element for an element of this storage, found as the format
// finds names (regardless of case) and opened by the name it is stored under.
GsfInput* CompoundStorage::Private::openChild(const QString& name, quint8 type,
                                              quint32& index) const {
    if (!infile)
        return nullptr;
    const CompoundDirectory& dir = file->directory;
    index = dir.findChild(entry, name);
    if (index == CompoundDirectory::NoEntry || dir.entry(index).type != type)
        return nullptr;
    LibraryCall call;
    GsfInput* child = gsf_infile_child_by_name(infile, dir.entry(index).name.toUtf8().constData());
    const bool isStorage =
        child && GSF_IS_INFILE(child) && gsf_infile_num_children(GSF_INFILE(child)) >= 0;
    if (!child || isStorage != (type == CompoundDirectory::Storage) || call.complained()) {
        unref(child);
        return nullptr;
    }
    return child;
}

CompoundStorage CompoundStorage::openStorage(const QString& name) const {
    quint32 index = 0;
    GsfInput* child = d ? d->openChild(name, CompoundDirectory::Storage, index) : nullptr;
    if (!child)
        return {};
    auto p = std::make_unique<Private>();
    p->file = d->file;
    p->infile = GSF_INFILE(child);
    p->entry = index;
    return CompoundStorage(std::move(p));
}

CompoundStream CompoundStorage::openStream(const QString& name) const {
    quint32 index = 0;
    GsfInput* child = d ? d->openChild(name, CompoundDirectory::Stream, index) : nullptr;
    if (!child)
        return {};
    auto p = std::make_unique<CompoundStream::Private>();
    p->file = d->file;
    p->input = child;
    return CompoundStream(std::move(p));
}

// --- CompoundFile ---------------------------------------------------------

CompoundFile::CompoundFile(std::shared_ptr<CompoundFilePrivate> d) : d(std::move(d)) {}

CompoundFile::~CompoundFile() {
    d->discard();
}

std::unique_ptr<CompoundFile> CompoundFile::create(const QString& path, QString* error) {
    initLibrary();
    auto f = std::make_shared<CompoundFilePrivate>();
    f->save = std::make_unique<QSaveFile>(path);
    if (!f->save->open(QIODevice::WriteOnly)) {
        if (error)
            *error = f->save->errorString();
        return nullptr;
    }
    f->sink = gsf_output_memory_new();
    f->outfile = gsf_outfile_msole_new(f->sink);
    if (!f->outfile) {
        if (error)
            *error = QStringLiteral("cannot start a compound file");
        f->releaseWriter();
        return nullptr;
    }
    return std::unique_ptr<CompoundFile>(new CompoundFile(std::move(f)));
}

std::unique_ptr<CompoundFile> CompoundFile::open(const QString& path, QString* error) {
    initLibrary();
    const auto failed = [error](const QString& why) {
        if (error)
            *error = why;
        return nullptr;
    };
    auto f = std::make_shared<CompoundFilePrivate>();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return failed(file.errorString());
    QString why;
    if (!f->directory.read(file, &why))
        return failed(why);
    if (f->directory.depth() > CompoundDirectory::kMaxDepth)
        return failed(QStringLiteral("the directory is nested too deeply"));
    file.close();

    LibraryCall call;
    GError* gerror = nullptr;
    if (GsfInput* input = gsf_input_stdio_new(QFile::encodeName(path).constData(), &gerror)) {
        f->infile = gsf_infile_msole_new(input, &gerror);
        g_object_unref(input);
    }
    if (gerror) {
        why = QString::fromUtf8(gerror->message);
        g_error_free(gerror);
    }
    if (!f->infile || call.complained())
        return failed(why.isEmpty() ? QStringLiteral("damaged compound file") : why);
    return std::unique_ptr<CompoundFile>(new CompoundFile(std::move(f)));
}

bool CompoundFile::isWritable() const {
    return d->outfile && !d->finished;
}

CompoundStorage CompoundFile::root() {
    auto p = std::make_unique<CompoundStorage::Private>();
    p->file = d;
    if (d->infile)
        p->infile = ref(d->infile);
    else if (isWritable())
        p->outfile = ref(d->outfile);
    else
        return {};
    return CompoundStorage(std::move(p));
}

bool CompoundFile::commit() {
    CompoundFilePrivate& f = *d;
    if (!isWritable())
        return false;
    for (CompoundStream::Private* stream : f.unflushed.values())
        stream->flush();

    QByteArray bytes;
    {
        LibraryCall call;
        const bool closed = gsf_output_close(GSF_OUTPUT(f.outfile));
        if (!closed || gsf_output_error(f.sink) || call.complained())
            f.setFailed(QStringLiteral("cannot finish the compound file"));
        else
            bytes = QByteArray(reinterpret_cast<const char*>(
                                   gsf_output_memory_get_bytes(GSF_OUTPUT_MEMORY(f.sink))),
                               gsf_output_size(f.sink));
    }
    QString why;
    if (!f.failed && !CompoundDirectory::balanceTrees(bytes, &why))
        f.setFailed(why);
    if (!f.failed && (f.save->write(bytes) != bytes.size() || !f.save->commit()))
        f.setFailed(f.save->errorString());
    f.finished = true;
    f.releaseWriter();
    return !f.failed;
}

QString CompoundFile::errorString() const {
    return d->error;
}

}  // namespace tempolatch::platform
