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
// compareCompoundNames() for names already turned into keys.
int compareCompoundKeys(const QString& a, const QString& b);

// The directory of a compound file, read and checked before anything else is:
// a directory whose links loop, cross or point outside it is refused here,
// as is an allocation table that points outside the file. Besides the
// directory, only the allocation table is read.
class CompoundDirectory {
public:
    static constexpr quint32 NoEntry = 0xFFFFFFFFu;
    static constexpr int kMaxEntries = 1 << 21;

    // Sector numbers above MaxSector are markers.
    static constexpr quint32 MaxSector = 0xFFFFFFFAu;
    static constexpr quint32 DifatSector = 0xFFFFFFFCu;
    static constexpr quint32 FatSector = 0xFFFFFFFDu;
    static constexpr quint32 EndOfChain = 0xFFFFFFFEu;
    static constexpr quint32 FreeSector = 0xFFFFFFFFu;
    static constexpr int kHeaderSize = 512;
    static constexpr int kEntrySize = 128;
    static constexpr int kHeaderFatSlots = 109;
    static constexpr int kMiniSectorSize = 64;
    static constexpr quint32 kMiniCutoff = 4096;

    enum Type : quint8 { Storage = 1, Stream = 2, Root = 5 };

    // An element as the directory describes it; its name is kept apart, in
    // one block for all (a backup may hold a million elements).
    struct Entry {
        quint8 type = 0;
        quint8 nameLength = 0;  // UTF-16 units; 0 for a missing or broken name
        quint32 nameAt = 0;
        quint32 left = NoEntry;
        quint32 right = NoEntry;
        quint32 child = NoEntry;
        quint32 start = EndOfChain;  // first sector, or mini sector for a small stream
        quint64 size = 0;
    };

    // Reads and checks the directory; false (and why) on anything damaged.
    bool read(QIODevice& device, QString* error = nullptr);

    const Entry& entry(quint32 index) const { return m_entries[index]; }
    QString name(quint32 index) const;
    // Where the entry is in the file.
    qint64 entryOffset(quint32 index) const;
    // The elements of a storage (or of the root, 0) in directory order.
    QList<quint32> children(quint32 storage) const { return m_children.value(storage); }
    // The element of that name, compared as the format compares; NoEntry when none.
    quint32 findChild(quint32 storage, const QString& name) const;
    // The longest chain of links from the root, the root counting as one.
    int depth() const { return m_depth; }

    // The layout the directory was found in, for reading the streams.
    int sectorSize() const { return m_sectorSize; }
    // Whole sectors in the file after the header: valid sector numbers are below.
    quint32 sectorCount() const { return m_sectorCount; }
    qint64 offsetOf(quint32 sector) const { return (qint64(sector) + 1) * m_sectorSize; }
    // The allocation table: the sector after each sector in its chain.
    const std::vector<quint32>& fat() const { return m_fat; }
    // The sectors the table itself takes up (those of the table in order,
    // then those that list them beyond the header) and the directory's.
    const QList<quint32>& tableSectors() const { return m_tableSectors; }
    const QList<quint32>& directorySectors() const { return m_directorySectors; }
    quint32 miniFatStart() const { return m_miniFatStart; }
    quint32 miniFatSectors() const { return m_miniFatSectors; }

private:
    bool readHeader(QIODevice& device, QString* error);
    bool walk(QString* error);
    bool readEntries(QIODevice& device);
    int compareNames(quint32 a, quint32 b) const;

    std::vector<Entry> m_entries;
    std::vector<char16_t> m_names;
    QHash<quint32, QList<quint32>> m_children;
    int m_depth = 0;
    int m_sectorSize = 512;
    quint32 m_sectorCount = 0;
    bool m_wideSizes = false;
    std::vector<quint32> m_fat;
    QList<quint32> m_tableSectors;
    QList<quint32> m_directorySectors;
    quint32 m_directoryStart = EndOfChain;
    quint32 m_miniFatStart = EndOfChain;
    quint32 m_miniFatSectors = 0;
};

}  // namespace tempolatch::platform
