#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <vector>

class QIODevice;

namespace tempolatch::platform {

// Directory order of a compound file: shorter names first, then the names
// compared unit by unit in upper case. Returns <0, 0 or >0; 0 means the
// format treats the two names as the same element.
int compareCompoundNames(const QString& a, const QString& b);
// The name in upper case, unit by unit, as the format compares it.
QString compoundNameKey(const QString& name);

// The directory of a compound file, read and checked on our own before the
// library sees the file. The library builds its tree recursively, one stack
// frame per link, and crashes on long sibling chains; a directory whose links
// loop, cross, point outside it, or run deeper than kMaxDepth is refused
// here instead. Only the directory is read, never the whole file.
class CompoundDirectory {
public:
    static constexpr quint32 NoEntry = 0xFFFFFFFFu;
    static constexpr int kMaxEntries = 1 << 21;
    // Links from the root down to the deepest element; balanced trees of a
    // million elements need about 25 per level of nesting.
    static constexpr int kMaxDepth = 1024;

    enum Type : quint8 { Storage = 1, Stream = 2, Root = 5 };

    struct Entry {
        QString name;
        quint8 type = 0;
        quint32 left = NoEntry;
        quint32 right = NoEntry;
        quint32 child = NoEntry;
        qint64 offset = 0;  // of the entry in the file
    };

    // Reads and checks the directory; false (and why) on anything damaged.
    bool read(QIODevice& device, QString* error = nullptr);

    const Entry& entry(quint32 index) const { return m_entries[index]; }
    // The elements of a storage (or of the root, 0) in directory order.
    QList<quint32> children(quint32 storage) const { return m_children.value(storage); }
    // The element of that name, compared as the format compares; NoEntry when none.
    quint32 findChild(quint32 storage, const QString& name) const;
    // The longest chain of links from the root, the root counting as one.
    int depth() const { return m_depth; }

    // Rewrites the sibling links of every storage of a file held in memory as
    // a balanced red-black tree in directory order. The library writes each
    // storage as one long chain, which recursive readers (the library among
    // them) descend one frame per element.
    static bool balanceTrees(QByteArray& file, QString* error = nullptr);

private:
    bool walk(QString* error);

    std::vector<Entry> m_entries;
    QHash<quint32, QList<quint32>> m_children;
    int m_depth = 0;
};

}  // namespace tempolatch::platform
