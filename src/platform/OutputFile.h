#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <memory>

class QFile;
class QFileDevice;

namespace tempolatch::platform {

class ReplacingFile;

// The one way the program writes a file: exports, reports, list and note
// files, backups, archives and timers.dat all go through here, so that a full
// disk or a failing device is never taken for success.
//
// - A regular file (or a new one) is written beside the target and takes its
//   name in commit(), only after every byte has been written, flushed and
//   synced; on any failure the earlier file stays as it was.
// - "-" (standard output), a pipe or a character device is written through
//   as a stream: no temporary file, nothing renamed; commit() tells whether
//   every byte went out. A seekable output for such a target (a compound
//   file) is spooled in the temporary folder and streamed out in commit().
// - Any other target (a folder, a socket, a block device) is refused, and so
//   are the files of the profile in use, which an export must never replace.
//
// Writes are gathered here and handed to the system in large blocks; a
// failure is kept, so later writes and commit() fail too, whether or not the
// writer looked at what write() returned.
class OutputFile : public QIODevice {
public:
    enum Option {
        NoOption = 0,
        Seekable = 1,     // the writer seeks back (a compound file's header)
        ProfileFile = 2,  // one of the profile's own files (timers.dat)
    };
    Q_DECLARE_FLAGS(Options, Option)

    explicit OutputFile(const QString& path, Options options = NoOption);
    ~OutputFile() override;  // abandons what was not committed
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // WriteOnly is all there is. False, with errorString(), when the target
    // is refused or cannot be created.
    bool open(OpenMode mode = WriteOnly) override;
    // Puts the file in place (or ends the stream): false, with errorString()
    // and any earlier file kept, when anything written did not reach it.
    bool commit();
    // Drops what was written; an earlier file stays.
    void abandon();

    bool isStream() const { return m_stream != nullptr; }
    bool failed() const { return m_failed; }
    QString path() const { return m_path; }

    // Why `path` must not be written, for a message; empty when it may.
    static QString refusal(const QString& path, Options options = NoOption);
    // The profile file `path` names (store, settings, their journals, the
    // timers), or false.
    static bool isProfileFile(const QString& path);

    // Tests only: the disk is full after `bytes` more bytes reach any file
    // or stream (a write that does not fit writes what fits and fails).
    // Negative: no limit, as it is outside tests.
    static void setDiskSpaceForTesting(qint64 bytes);

    bool isSequential() const override;
    bool seek(qint64 pos) override;

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char* data, qint64 size) override;

private:
    bool fail(const QString& why);
    bool flushBuffer();
    bool deliver(QIODevice& to, const char* data, qint64 size);
    bool syncToDisk(QFileDevice& file);
    bool streamSpool();
    QIODevice* target() const;

    QString m_path;
    Options m_options;
    std::unique_ptr<ReplacingFile> m_file;  // a regular file, renamed into place
    std::unique_ptr<QFile> m_stream;        // standard output, a pipe or a device
    std::unique_ptr<QIODevice> m_spool;     // a seekable output bound for a stream
    QByteArray m_buffer;
    bool m_failed = false;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(OutputFile::Options)

}  // namespace tempolatch::platform
