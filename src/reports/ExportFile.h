#pragma once

#include <QByteArray>
#include <QString>
#include <QStringEncoder>
#include <memory>

#include "platform/Locale.h"

namespace tempolatch {

namespace platform {
class OutputFile;
}

// A file that an export or a report writes for the user, through the
// program's one output file: what is written goes to a temporary file beside
// the target, which takes the target's name only when close() has seen every
// byte reach the disk; a failed or abandoned export never leaves a
// half-written file behind, nor destroys the file it was to replace. A pipe,
// a device or "-" (standard output) is written through as a stream.
//
// Text is written in the 8-bit code page of the user's locale (its codeset;
// UTF-8 on most systems). Characters a legacy code page cannot hold become
// '?'.
class ExportFile {
public:
    // In the environment's codeset unless another is given.
    explicit ExportFile(const QByteArray& codeset = platform::Locale::systemCodeset());
    ~ExportFile();  // abandons what is not closed
    ExportFile(const ExportFile&) = delete;
    ExportFile& operator=(const ExportFile&) = delete;

    // Creates the file anew; an existing one is replaced on close(). The path
    // "-" is standard output. False, with errorString(), for a target that
    // is refused (a folder, the profile's own files) or cannot be created.
    bool open(const QString& path);
    bool isOpen() const;

    // False when the file is not open or the bytes did not all go out; after
    // a failure every later write and close() fail too.
    bool writeText(const QString& text);
    bool writeRaw(const QByteArray& bytes);

    // Puts the file in place. False, with nothing in place and any earlier
    // file kept, when a write or the rename failed.
    bool close();
    // Drops what was written; an earlier file stays.
    void abandon();

    // Bytes of the last write, and whether it succeeded.
    qint64 lastWritten() const { return m_lastWritten; }
    bool lastWriteOk() const { return m_lastWriteOk; }
    QString errorString() const { return m_error; }

private:
    QByteArray encoded(const QString& text);

    std::unique_ptr<platform::OutputFile> m_file;
    bool m_utf8 = true;
    QStringEncoder m_encoder;
    qint64 m_lastWritten = 0;
    bool m_lastWriteOk = true;
    bool m_failed = false;
    QString m_error;
};

}  // namespace tempolatch
