#pragma once

#include <QByteArray>
#include <QFileDevice>
#include <QString>
#include <memory>

namespace tempolatch::platform {

// A new file written beside `path` under a name of its own, which takes
// the name `path` in commit(), whole. Dropped uncommitted, it is removed
// and whatever was at `path` stays. A link at `path` is followed: the file
// it names is replaced and the link kept; so are the permissions of the
// file replaced. Names go to the system as it spells them (NativePath), so
// that a file name in an older 8-bit encoding is written under that name.
class ReplacingFile {
public:
    explicit ReplacingFile(const QString& path);
    ~ReplacingFile();
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    // False with errorString() when the new file cannot be made.
    bool open();
    // The new file, open for writing, after open().
    QFileDevice& device() { return *m_device; }
    // Closes the new file and gives it the name; false with errorString(),
    // the new file removed and the earlier one kept, when it cannot.
    bool commit();
    QString errorString() const { return m_error; }

private:
    bool fail(const QString& why);
    void removeTemporary();

    QString m_path;
    QByteArray m_temporary;  // the native name of the new file, until it is renamed
    std::unique_ptr<QFileDevice> m_device;
    QString m_error;
};

}  // namespace tempolatch::platform
