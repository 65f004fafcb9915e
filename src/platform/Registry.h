#pragma once

#include <QByteArray>
#include <QString>
#include <memory>
#include <optional>

namespace tempolatch::platform {

class SqliteConnection;

// The current user's registry: typed values under key paths such as
// "Software\Tempolatch". A value of the wrong type or size reads as missing,
// as a caller reading into a fixed buffer would see it. Every write is a
// transaction of its own (or part of the caller's batch), so the file is
// never left half-written.
class Registry {
public:
    enum class Type { Number = 4, String = 1, Bytes = 3 };

    static constexpr const char* AppKey = "Software\\Tempolatch";

    // inProfileFolder: the profile's folder is made when the registry is
    // first used.
    explicit Registry(const QString& path, bool inProfileFolder = false);
    ~Registry();

    // The registry of the current profile.
    static Registry& user();

    bool isOpen() const { return db() != nullptr; }

    bool keyExists(const QString& key) const;
    bool createKey(const QString& key);

    std::optional<quint32> readNumber(const QString& key, const QString& name) const;
    // Reads a string stored with at most maxBytes bytes (terminator included);
    // a larger value does not fit the reader's buffer and reads as missing.
    std::optional<QString> readString(const QString& key, const QString& name, int maxBytes) const;
    // expectedSize < 0 accepts any size.
    std::optional<QByteArray> readBytes(const QString& key, const QString& name,
                                        int expectedSize = -1) const;
    // Raw access, for diagnostics: the stored type and bytes.
    std::optional<std::pair<Type, QByteArray>> readRaw(const QString& key,
                                                       const QString& name) const;

    bool writeNumber(const QString& key, const QString& name, quint32 value);
    // Writes exactly byteSize bytes: the text cut to fit with its terminator,
    // padded with zeros.
    bool writeString(const QString& key, const QString& name, const QString& text, int byteSize);
    bool writeBytes(const QString& key, const QString& name, const QByteArray& bytes);
    bool deleteValue(const QString& key, const QString& name);

    // Groups many writes into one transaction (Settings::save): endBatch()
    // keeps them all, or, when any of them failed (a full disk), none, and
    // says so.
    bool beginBatch();
    bool endBatch();

private:
    bool write(const QString& key, const QString& name, Type type, const QByteArray& data);
    bool noted(bool written);

    SqliteConnection* db() const;

    QString m_path;
    bool m_inProfileFolder = false;
    mutable bool m_opened = false;
    mutable std::unique_ptr<SqliteConnection> m_db;
    bool m_inBatch = false;
    bool m_batchFailed = false;
};

}  // namespace tempolatch::platform
