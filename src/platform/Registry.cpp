#include "platform/Registry.h"

#include <QtEndian>

#include "platform/Profile.h"
#include "platform/Sqlite.h"

namespace tempolatch::platform {

Registry::Registry(const QString& path, bool inProfileFolder)
    : m_path(path), m_inProfileFolder(inProfileFolder) {}

// Opened on first use, so that a registry nobody reads leaves no file.
SqliteConnection* Registry::db() const {
    if (m_opened)
        return m_db.get();
    m_opened = true;
    if (m_inProfileFolder)
        Profile::ensureFolder();
    m_db = SqliteConnection::open(m_path, SqliteConnection::Mode::ReadWriteCreate, nullptr);
    if (!m_db)
        return nullptr;
    const bool ok = m_db->exec("PRAGMA journal_mode=WAL") &&
                    m_db->exec(
                        "CREATE TABLE IF NOT EXISTS keys(path TEXT PRIMARY KEY COLLATE NOCASE);"
                        "CREATE TABLE IF NOT EXISTS reg_values(key TEXT NOT NULL COLLATE NOCASE, "
                        "name TEXT NOT NULL COLLATE NOCASE, type INTEGER NOT NULL, data BLOB NOT "
                        "NULL, PRIMARY KEY(key, name))");
    if (!ok)
        m_db.reset();
    return m_db.get();
}

Registry::~Registry() = default;

Registry& Registry::user() {
    static std::unique_ptr<Registry> instance;
    static int generation = -1;
    if (!instance || generation != Profile::generation()) {
        instance = std::make_unique<Registry>(Profile::registryPath(), true);
        generation = Profile::generation();
    }
    return *instance;
}

bool Registry::keyExists(const QString& key) const {
    if (!db())
        return false;
    auto q = db()->prepare("SELECT 1 FROM keys WHERE path = ?");
    q.bind(1, key);
    return q.step();
}

bool Registry::createKey(const QString& key) {
    if (!db())
        return false;
    auto q = db()->prepare("INSERT OR IGNORE INTO keys(path) VALUES(?)");
    q.bind(1, key);
    return q.exec();
}

std::optional<std::pair<Registry::Type, QByteArray>> Registry::readRaw(const QString& key,
                                                                       const QString& name) const {
    if (!db())
        return std::nullopt;
    auto q = db()->prepare("SELECT type, data FROM reg_values WHERE key = ? AND name = ?");
    q.bind(1, key).bind(2, name);
    if (!q.step())
        return std::nullopt;
    return std::make_pair(Type(q.int64(0)), q.blob(1));
}

std::optional<quint32> Registry::readNumber(const QString& key, const QString& name) const {
    const auto raw = readRaw(key, name);
    if (!raw || raw->first != Type::Number || raw->second.size() != 4)
        return std::nullopt;
    return qFromLittleEndian<quint32>(raw->second.constData());
}

std::optional<QString> Registry::readString(const QString& key, const QString& name,
                                            int maxBytes) const {
    const auto raw = readRaw(key, name);
    if (!raw || raw->first != Type::String || raw->second.size() > maxBytes ||
        raw->second.size() % 2 != 0)
        return std::nullopt;
    const QByteArray& data = raw->second;
    QString text;
    for (qsizetype i = 0; i + 1 < data.size(); i += 2) {
        const char16_t unit = qFromLittleEndian<quint16>(data.constData() + i);
        if (unit == 0)
            break;
        text.append(QChar(unit));
    }
    return text;
}

std::optional<QByteArray> Registry::readBytes(const QString& key, const QString& name,
                                              int expectedSize) const {
    const auto raw = readRaw(key, name);
    if (!raw || raw->first != Type::Bytes ||
        (expectedSize >= 0 && raw->second.size() != expectedSize))
        return std::nullopt;
    return raw->second;
}

bool Registry::write(const QString& key, const QString& name, Type type, const QByteArray& data) {
    if (!db() || !keyExists(key))
        return false;
    auto q =
        db()->prepare("INSERT OR REPLACE INTO reg_values(key, name, type, data) VALUES(?,?,?,?)");
    q.bind(1, key).bind(2, name).bind(3, qint64(type)).bind(4, data);
    return noted(q.exec());
}

bool Registry::noted(bool written) {
    if (!written && m_inBatch)
        m_batchFailed = true;
    return written;
}

bool Registry::writeNumber(const QString& key, const QString& name, quint32 value) {
    QByteArray data(4, '\0');
    qToLittleEndian(value, data.data());
    return write(key, name, Type::Number, data);
}

bool Registry::writeString(const QString& key, const QString& name, const QString& text,
                           int byteSize) {
    if (byteSize < 2)
        return false;
    QByteArray data(byteSize & ~1, '\0');
    const qsizetype units = std::min<qsizetype>(text.size(), data.size() / 2 - 1);
    for (qsizetype i = 0; i < units; ++i)
        qToLittleEndian<quint16>(text.at(i).unicode(), data.data() + 2 * i);
    return write(key, name, Type::String, data);
}

bool Registry::writeBytes(const QString& key, const QString& name, const QByteArray& bytes) {
    return write(key, name, Type::Bytes, bytes);
}

bool Registry::deleteValue(const QString& key, const QString& name) {
    if (!db())
        return false;
    auto q = db()->prepare("DELETE FROM reg_values WHERE key = ? AND name = ?");
    q.bind(1, key).bind(2, name);
    return noted(q.exec());
}

bool Registry::beginBatch() {
    m_inBatch = db() && db()->begin();
    m_batchFailed = false;
    return m_inBatch;
}

bool Registry::endBatch() {
    if (!m_inBatch)
        return false;
    m_inBatch = false;
    if (!m_batchFailed && db()->commit())
        return true;
    db()->rollback();
    return false;
}

}  // namespace tempolatch::platform
