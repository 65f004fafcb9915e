#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <memory>
#include <optional>

namespace tempolatch::platform {

class CompoundFilePrivate;

struct CompoundEntry {
    QString name;
    bool isStorage = false;
    friend bool operator==(const CompoundEntry&, const CompoundEntry&) = default;
};

// A stream of a compound file. Numbers are little-endian; a string is an
// unsigned 32-bit count of UTF-16 units followed by the units, without a
// terminator. A read that does not fit in what is left of the stream fails
// and consumes nothing. A new stream's bytes go into the file when it is
// closed (at the latest when the file is committed); a failed write makes the
// commit fail.
class CompoundStream {
public:
    CompoundStream();
    CompoundStream(CompoundStream&&) noexcept;
    CompoundStream& operator=(CompoundStream&&) noexcept;
    ~CompoundStream();

    bool isValid() const;
    explicit operator bool() const { return isValid(); }

    qint64 size() const;
    qint64 remaining() const;

    bool readUInt8(quint8& value);
    bool readUInt16(quint16& value);
    bool readUInt32(quint32& value);
    bool readUInt64(quint64& value);
    bool readInt32(qint32& value);
    bool readInt64(qint64& value);
    bool readBytes(qint64 count, QByteArray& bytes);
    bool readString(QString& text);

    bool writeUInt8(quint8 value);
    bool writeUInt16(quint16 value);
    bool writeUInt32(quint32 value);
    bool writeUInt64(quint64 value);
    bool writeInt32(qint32 value) { return writeUInt32(quint32(value)); }
    bool writeInt64(qint64 value) { return writeUInt64(quint64(value)); }
    bool writeBytes(const QByteArray& bytes);
    bool writeString(const QString& text);

    // Ends the stream; for a new one, false when its bytes did not make it
    // into the file.
    bool close();

    struct Private;

private:
    friend class CompoundStorage;
    explicit CompoundStream(std::unique_ptr<Private> d);
    bool readRaw(void* data, qint64 count);
    bool writeRaw(const void* data, qint64 count);
    template <typename T>
    bool readNumber(T& value);
    template <typename T>
    bool writeNumber(T value);

    std::unique_ptr<Private> d;
};

// A storage: a folder of storages and streams. Names are at most 31 UTF-16
// units without '/', '\', ':', '!' or control characters, and unique in a
// storage regardless of case.
class CompoundStorage {
public:
    CompoundStorage();
    CompoundStorage(CompoundStorage&&) noexcept;
    CompoundStorage& operator=(CompoundStorage&&) noexcept;
    ~CompoundStorage();

    bool isValid() const;
    explicit operator bool() const { return isValid(); }

    // The elements in directory order (shorter names first, then by upper
    // case); nullopt for an invalid storage.
    std::optional<QList<CompoundEntry>> children() const;

    // New file only. An invalid result on failure, which also fails the commit.
    CompoundStorage createStorage(const QString& name);
    CompoundStream createStream(const QString& name);

    // Opened file only; names compare regardless of case, as in the format.
    CompoundStorage openStorage(const QString& name) const;
    CompoundStream openStream(const QString& name) const;
    // Opened file only: the number of elements and the stream at a place in
    // directory order (invalid for a storage), so that a storage of a million
    // streams is walked without a list of their names.
    qsizetype childCount() const;
    CompoundStream openStreamAt(qsizetype index) const;

    struct Private;

private:
    friend class CompoundFile;
    explicit CompoundStorage(std::unique_ptr<Private> d);
    CompoundStream openEntry(quint32 index) const;

    std::unique_ptr<Private> d;
};

// A compound file (structured storage), read or written on our own.
// Opening checks the whole directory first: a damaged file is refused
// instead of being half read. A new file appears at its path only when
// commit() succeeds, complete; dropping it uncommitted leaves nothing behind
// and any existing file at the path untouched.
class CompoundFile {
public:
    ~CompoundFile();

    static std::unique_ptr<CompoundFile> create(const QString& path, QString* error = nullptr);
    static std::unique_ptr<CompoundFile> open(const QString& path, QString* error = nullptr);

    bool isWritable() const;
    CompoundStorage root();

    // Writes the new file. False when anything failed on the way (a create,
    // a write) or the file cannot be written; nothing is left at the path then.
    bool commit();
    QString errorString() const;

private:
    explicit CompoundFile(std::shared_ptr<CompoundFilePrivate> d);

    std::shared_ptr<CompoundFilePrivate> d;
};

}  // namespace tempolatch::platform
