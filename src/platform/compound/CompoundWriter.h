#pragma once

#include <QByteArray>
#include <QList>
#include <QSet>
#include <QString>
#include <unordered_map>
#include <vector>

#include "platform/OutputFile.h"
#include "platform/compound/CompoundFile.h"

namespace tempolatch::platform {

// Writes a compound file (version 3, 512-byte sectors) front to back into an
// OutputFile: stream bytes go to the file as each stream ends, and only the
// directory, the allocation tables and the header wait for commit(). Small
// streams share the mini stream, packed in 64-byte blocks. What is kept per
// element is a few numbers and its name (a backup of a million records has a
// million streams); the directory is made from them at commit, a part at a
// time. Every step costs time linear in its bytes; children added in
// directory order (as "Record%d" streams are) are never sorted.
class CompoundWriter {
public:
    static constexpr quint32 Root = 0;
    static constexpr quint32 NoEntry = 0xFFFFFFFFu;

    explicit CompoundWriter(const QString& path);

    bool open(QString* error);

    // A new element of the storage `parent`; NoEntry (and why) when the name
    // is invalid or already taken there regardless of case.
    quint32 add(quint32 parent, const QString& name, bool storage, QString* error);
    // The elements of a storage in directory order.
    QList<CompoundEntry> children(quint32 storage) const;

    // Writes the whole sectors at the front of `pending`, the next bytes of a
    // stream already past the mini stream's limit, and leaves the rest in it.
    bool spill(quint32 stream, QByteArray& pending);
    // Writes the rest of a stream and ends it.
    bool finish(quint32 stream, const QByteArray& pending);

    // Writes the directory, the tables and the header and puts the file in
    // place; nothing is written past a failure.
    bool commit();
    QString errorString() const { return m_error; }

private:
    struct Node {
        quint64 size = 0;
        quint32 start;
        quint32 last;
        quint32 nameAt = 0;  // in m_names
        quint8 nameLength = 0;
        bool storage = false;
        bool finished = false;
    };
    // The children of a storage. While they come in directory order, the
    // last one's name is all it takes to refuse a repeated name; the first
    // one out of order brings in the set of their keys and a sort at commit.
    struct Children {
        std::vector<quint32> entries;
        bool inOrder = true;
        QSet<QString> keys;
    };
    // Left, right and child links and colours of the directory's trees.
    struct Links;

    bool fail(const QString& why);
    bool appendSectors(const char* data, quint64 count, quint32& start, quint32& last);
    bool appendPadded(QByteArray bytes, quint32& start, quint32& last);
    bool appendToMiniStream(const QByteArray& bytes);
    bool appendTable(const std::vector<quint32>& table, quint32& start, quint32& last);
    bool appendDirectory(quint32& start, quint32& last);
    Links links() const;
    QString nameOf(quint32 index) const;
    QByteArray header(quint32 fatSectors, quint32 directoryStart, quint32 miniFatStart,
                      quint32 miniFatSectors, quint32 difatStart, quint32 difatSectors) const;
    std::vector<quint32> sortedChildren(quint32 storage) const;

    OutputFile m_file;
    std::vector<Node> m_nodes;
    std::unordered_map<quint32, Children> m_children;
    std::vector<char16_t> m_names;
    std::vector<quint32> m_fat;
    std::vector<quint32> m_miniFat;
    QByteArray m_miniTail;  // the mini stream's bytes not yet in a whole sector
    quint32 m_miniStart;
    quint32 m_miniLast;
    bool m_failed = false;
    QString m_error;
};

}  // namespace tempolatch::platform
