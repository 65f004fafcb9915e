#include "platform/CompoundDirectory.h"

#include <QBuffer>
#include <QIODevice>
#include <QtEndian>
#include <algorithm>
#include <functional>

namespace tempolatch::platform {

namespace {

constexpr quint32 kEndOfChain = 0xFFFFFFFEu;
constexpr quint32 kMaxRegularSector = 0xFFFFFFFAu;
constexpr int kHeaderSize = 512;
constexpr int kEntrySize = 128;
constexpr int kHeaderFatSlots = 109;
const char kSignature[] = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1";

quint16 u16(const QByteArray& bytes, qint64 at) {
    return qFromLittleEndian<quint16>(bytes.constData() + at);
}
quint32 u32(const QByteArray& bytes, qint64 at) {
    return qFromLittleEndian<quint32>(bytes.constData() + at);
}

bool fail(QString* error, const char* why) {
    if (error)
        *error = QString::fromLatin1(why);
    return false;
}

// Sector access over the device, with the allocation table read a sector at
// a time as the directory chain needs it.
class SectorReader {
public:
    explicit SectorReader(QIODevice& device) : m_device(device) {}

    bool readHeader(QString* error) {
        if (!m_device.seek(0))
            return fail(error, "cannot read the file");
        m_header = m_device.read(kHeaderSize);
        if (m_header.size() != kHeaderSize || !m_header.startsWith(QByteArray(kSignature, 8)))
            return fail(error, "not a compound file");
        const quint16 shift = u16(m_header, 0x1E);
        if (u16(m_header, 0x1C) != 0xFFFE || (shift != 9 && shift != 12))
            return fail(error, "unsupported sector size or byte order");
        m_sectorSize = 1 << shift;
        m_sectorCount = std::max<qint64>(0, m_device.size() / m_sectorSize - 1);
        return readFatSectorList(error);
    }

    int sectorSize() const { return m_sectorSize; }
    quint32 directoryStart() const { return u32(m_header, 0x30); }
    bool isSector(quint32 sector) const {
        return sector <= kMaxRegularSector && sector < m_sectorCount;
    }
    qint64 offsetOf(quint32 sector) const { return (qint64(sector) + 1) * m_sectorSize; }

    bool readSector(quint32 sector, QByteArray& out) {
        if (!isSector(sector) || !m_device.seek(offsetOf(sector)))
            return false;
        out = m_device.read(m_sectorSize);
        return out.size() == m_sectorSize;
    }

    // The sector after `sector` in its chain, or false when the table is damaged.
    bool next(quint32 sector, quint32& out) {
        const int perSector = m_sectorSize / 4;
        const qsizetype fatIndex = sector / perSector;
        if (fatIndex >= m_fatSectors.size())
            return false;
        if (m_cachedIndex != fatIndex) {
            if (!readSector(m_fatSectors[fatIndex], m_cached))
                return false;
            m_cachedIndex = fatIndex;
        }
        out = u32(m_cached, (sector % perSector) * 4);
        return true;
    }

private:
    bool readFatSectorList(QString* error) {
        const quint32 fatCount = u32(m_header, 0x2C);
        quint32 difat = u32(m_header, 0x44);
        const quint32 difatCount = u32(m_header, 0x48);
        if (fatCount > m_sectorCount || difatCount > m_sectorCount)
            return fail(error, "allocation table larger than the file");
        for (int i = 0; i < kHeaderFatSlots && quint32(m_fatSectors.size()) < fatCount; ++i)
            m_fatSectors.append(u32(m_header, 0x4C + 4 * i));
        const int perDifat = m_sectorSize / 4 - 1;
        QByteArray block;
        for (quint32 n = 0; n < difatCount && quint32(m_fatSectors.size()) < fatCount; ++n) {
            // At most difatCount sectors are read, so a looping chain ends too.
            if (!readSector(difat, block))
                return fail(error, "damaged allocation table");
            for (int i = 0; i < perDifat && quint32(m_fatSectors.size()) < fatCount; ++i)
                m_fatSectors.append(u32(block, 4 * i));
            difat = u32(block, 4 * perDifat);
        }
        if (quint32(m_fatSectors.size()) != fatCount)
            return fail(error, "damaged allocation table");
        for (quint32 sector : m_fatSectors) {
            if (!isSector(sector))
                return fail(error, "damaged allocation table");
        }
        return true;
    }

    QIODevice& m_device;
    QByteArray m_header;
    int m_sectorSize = 512;
    qint64 m_sectorCount = 0;
    QList<quint32> m_fatSectors;
    QByteArray m_cached;
    qsizetype m_cachedIndex = -1;
};

}  // namespace

QString compoundNameKey(const QString& name) {
    QString key = name;
    for (QChar& c : key)
        c = c.toUpper();  // simple, unit by unit: the key keeps the name's length
    return key;
}

int compareCompoundNames(const QString& a, const QString& b) {
    if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    for (qsizetype i = 0; i < a.size(); ++i) {
        const char16_t x = a[i].toUpper().unicode();
        const char16_t y = b[i].toUpper().unicode();
        if (x != y)
            return x < y ? -1 : 1;
    }
    return 0;
}

bool CompoundDirectory::read(QIODevice& device, QString* error) {
    m_entries.clear();
    m_children.clear();
    m_depth = 0;

    SectorReader sectors(device);
    if (!sectors.readHeader(error))
        return false;
    const int perSector = sectors.sectorSize() / kEntrySize;

    // Follow the directory chain; each sector once, so a looping chain ends.
    QList<quint32> chain;
    std::vector<bool> seen;
    quint32 sector = sectors.directoryStart();
    while (sector != kEndOfChain) {
        if (!sectors.isSector(sector))
            return fail(error, "damaged directory chain");
        if (seen.size() <= sector)
            seen.resize(sector + 1);
        if (seen[sector])
            return fail(error, "the directory chain loops");
        if ((chain.size() + 1) * perSector > kMaxEntries)
            return fail(error, "too many directory entries");
        seen[sector] = true;
        chain.append(sector);
        if (!sectors.next(sector, sector))
            return fail(error, "damaged allocation table");
    }
    if (chain.isEmpty())
        return fail(error, "no directory");

    m_entries.resize(size_t(chain.size()) * perSector);
    QByteArray block;
    for (qsizetype s = 0; s < chain.size(); ++s) {
        if (!sectors.readSector(chain[s], block))
            return fail(error, "the file is truncated");
        for (int i = 0; i < perSector; ++i) {
            const qint64 at = qint64(i) * kEntrySize;
            Entry& e = m_entries[size_t(s) * perSector + i];
            e.offset = sectors.offsetOf(chain[s]) + at;
            e.type = quint8(block[at + 0x42]);
            e.left = u32(block, at + 0x44);
            e.right = u32(block, at + 0x48);
            e.child = u32(block, at + 0x4C);
            const quint16 nameBytes = u16(block, at + 0x40);
            if (nameBytes >= 2 && nameBytes <= 64 && nameBytes % 2 == 0) {
                const int units = nameBytes / 2 - 1;
                e.name.resize(units);
                qFromLittleEndian<quint16>(block.constData() + at, units, e.name.data());
                // A name must end at its terminator; one that does not stays
                // empty and is refused below if the tree reaches it.
                if (u16(block, at + 2 * units) != 0 || e.name.contains(QChar(0)))
                    e.name.clear();
            }
        }
    }
    return walk(error);
}

bool CompoundDirectory::walk(QString* error) {
    const Entry& root = m_entries[0];
    if (root.type != Root || root.left != NoEntry || root.right != NoEntry)
        return fail(error, "damaged root entry");

    // Iterative, each entry at most once: a second visit is a loop or two
    // links to one element, both of which would send a recursive reader
    // round in circles or through the same subtree twice.
    struct Step {
        quint32 index;
        quint32 parent;
        int depth;
    };
    std::vector<bool> visited(m_entries.size());
    visited[0] = true;
    m_depth = 1;
    m_children.insert(0, {});
    std::vector<Step> pending;
    if (root.child != NoEntry)
        pending.push_back({root.child, 0, 2});
    while (!pending.empty()) {
        const Step step = pending.back();
        pending.pop_back();
        if (step.index >= m_entries.size())
            return fail(error, "a directory link points outside the directory");
        if (visited[step.index])
            return fail(error, "the directory links loop");
        visited[step.index] = true;
        m_depth = std::max(m_depth, step.depth);
        const Entry& e = m_entries[step.index];
        if (e.type != Storage && e.type != Stream)
            return fail(error, "unknown directory entry");
        if (e.name.isEmpty() || QString::fromUtf8(e.name.toUtf8()) != e.name)
            return fail(error, "invalid element name");
        m_children[step.parent].append(step.index);
        if (e.left != NoEntry)
            pending.push_back({e.left, step.parent, step.depth + 1});
        if (e.right != NoEntry)
            pending.push_back({e.right, step.parent, step.depth + 1});
        if (e.type == Storage) {
            m_children.insert(step.index, {});
            if (e.child != NoEntry)
                pending.push_back({e.child, step.index, step.depth + 1});
        } else if (e.child != NoEntry) {
            return fail(error, "a stream with elements");
        }
    }

    for (QList<quint32>& kids : m_children) {
        std::sort(kids.begin(), kids.end(), [this](quint32 a, quint32 b) {
            return compareCompoundNames(m_entries[a].name, m_entries[b].name) < 0;
        });
        for (qsizetype i = 1; i < kids.size(); ++i) {
            if (compareCompoundNames(m_entries[kids[i - 1]].name, m_entries[kids[i]].name) == 0)
                return fail(error, "two elements of one name");
        }
    }
    return true;
}

quint32 CompoundDirectory::findChild(quint32 storage, const QString& name) const {
    const QList<quint32> kids = m_children.value(storage);
    const auto it =
        std::lower_bound(kids.begin(), kids.end(), name, [this](quint32 e, const QString& n) {
            return compareCompoundNames(m_entries[e].name, n) < 0;
        });
    if (it == kids.end() || compareCompoundNames(m_entries[*it].name, name) != 0)
        return NoEntry;
    return *it;
}

bool CompoundDirectory::balanceTrees(QByteArray& file, QString* error) {
    CompoundDirectory dir;
    {
        QBuffer buffer(&file);
        if (!buffer.open(QIODevice::ReadOnly) || !dir.read(buffer, error))
            return false;
    }
    char* bytes = file.data();
    const auto put = [bytes](qint64 at, quint32 value) { qToLittleEndian(value, bytes + at); };

    for (auto it = dir.m_children.cbegin(); it != dir.m_children.cend(); ++it) {
        const QList<quint32>& kids = it.value();
        // Every node above the last, partly filled level is black and that
        // level red, so each path holds the same number of black nodes.
        int blackLevels = 0;
        while ((qsizetype(2) << blackLevels) - 1 <= kids.size())
            ++blackLevels;
        const std::function<quint32(qsizetype, qsizetype, int)> build =
            [&](qsizetype lo, qsizetype hi, int level) -> quint32 {
            if (lo > hi)
                return NoEntry;
            const qsizetype mid = lo + (hi - lo) / 2;
            const Entry& e = dir.m_entries[kids[mid]];
            put(e.offset + 0x44, build(lo, mid - 1, level + 1));
            put(e.offset + 0x48, build(mid + 1, hi, level + 1));
            bytes[e.offset + 0x43] = level < blackLevels ? 1 : 0;
            return kids[mid];
        };
        put(dir.m_entries[it.key()].offset + 0x4C, build(0, kids.size() - 1, 0));
    }
    return true;
}

}  // namespace tempolatch::platform
