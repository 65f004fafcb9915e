#include "platform/compound/CompoundDirectory.h"

#include <QIODevice>
#include <QSysInfo>
#include <QtEndian>
#include <algorithm>

namespace tempolatch::platform {

namespace {

const char kSignature[] = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1";

quint16 u16(const char* bytes) {
    return qFromLittleEndian<quint16>(bytes);
}
quint32 u32(const char* bytes) {
    return qFromLittleEndian<quint32>(bytes);
}

bool fail(QString* error, const char* why) {
    if (error)
        *error = QString::fromLatin1(why);
    return false;
}

// Reads the given sectors into `out`, one device read for each run of
// sectors that follow each other in the file.
bool readSectors(QIODevice& device, const CompoundDirectory& dir, const QList<quint32>& sectors,
                 char* out) {
    const int size = dir.sectorSize();
    for (qsizetype i = 0; i < sectors.size();) {
        qsizetype run = 1;
        while (i + run < sectors.size() && sectors[i + run] == sectors[i] + run && run < 2048)
            ++run;
        if (sectors[i] >= dir.sectorCount() || !device.seek(dir.offsetOf(sectors[i])) ||
            device.read(out + i * size, run * size) != run * size)
            return false;
        i += run;
    }
    return true;
}

}  // namespace

QString compoundNameKey(const QString& name) {
    QString key = name;
    for (QChar& c : key)
        c = c.toUpper();  // simple, unit by unit: the key keeps the name's length
    return key;
}

int compareCompoundKeys(const QString& a, const QString& b) {
    if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    const ushort* x = a.utf16();
    const ushort* y = b.utf16();
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (x[i] != y[i])
            return x[i] < y[i] ? -1 : 1;
    }
    return 0;
}

int compareCompoundNames(const QString& a, const QString& b) {
    if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    return compareCompoundKeys(compoundNameKey(a), compoundNameKey(b));
}

bool CompoundDirectory::readHeader(QIODevice& device, QString* error) {
    if (!device.seek(0))
        return fail(error, "cannot read the file");
    const QByteArray header = device.read(kHeaderSize);
    const char* h = header.constData();
    if (header.size() != kHeaderSize || !header.startsWith(QByteArray(kSignature, 8)))
        return fail(error, "not a compound file");
    const quint16 shift = u16(h + 0x1E);
    if (u16(h + 0x1C) != 0xFFFE || (shift != 9 && shift != 12) || u16(h + 0x20) != 6 ||
        u32(h + 0x38) != kMiniCutoff)
        return fail(error, "unsupported sector size or byte order");
    m_sectorSize = 1 << shift;
    m_wideSizes = u16(h + 0x1A) >= 4;
    m_sectorCount =
        quint32(std::clamp<qint64>(device.size() / m_sectorSize - 1, 0, qint64(MaxSector) + 1));
    m_directoryStart = u32(h + 0x30);
    m_miniFatStart = u32(h + 0x3C);
    m_miniFatSectors = u32(h + 0x40);

    // Where the allocation table lives: the first sectors are listed in the
    // header, the rest in a chain of further lists.
    const quint32 fatCount = u32(h + 0x2C);
    quint32 difat = u32(h + 0x44);
    const quint32 difatCount = u32(h + 0x48);
    if (fatCount > m_sectorCount || difatCount > m_sectorCount)
        return fail(error, "allocation table larger than the file");
    QList<quint32> fatSectors;
    QList<quint32> difatSectors;
    for (int i = 0; i < kHeaderFatSlots && quint32(fatSectors.size()) < fatCount; ++i)
        fatSectors.append(u32(h + 0x4C + 4 * i));
    const int perDifat = m_sectorSize / 4 - 1;
    QByteArray block(m_sectorSize, Qt::Uninitialized);
    for (quint32 n = 0; n < difatCount && quint32(fatSectors.size()) < fatCount; ++n) {
        // At most difatCount sectors are read, so a looping chain ends too.
        if (!readSectors(device, *this, {difat}, block.data()))
            return fail(error, "damaged allocation table");
        difatSectors.append(difat);
        for (int i = 0; i < perDifat && quint32(fatSectors.size()) < fatCount; ++i)
            fatSectors.append(u32(block.constData() + 4 * i));
        difat = u32(block.constData() + 4 * perDifat);
    }
    if (quint32(fatSectors.size()) != fatCount)
        return fail(error, "damaged allocation table");
    for (quint32 sector : fatSectors) {
        if (sector >= m_sectorCount)
            return fail(error, "damaged allocation table");
    }
    m_tableSectors = fatSectors + difatSectors;

    // No larger than the file, which holds at least as many sectors.
    m_fat.resize(size_t(fatCount) * (m_sectorSize / 4));
    if (!readSectors(device, *this, fatSectors, reinterpret_cast<char*>(m_fat.data())))
        return fail(error, "the file is truncated");
    if constexpr (QSysInfo::ByteOrder != QSysInfo::LittleEndian) {
        for (quint32& next : m_fat)
            next = qFromLittleEndian(next);
    }
    return true;
}

QString CompoundDirectory::name(quint32 index) const {
    const Entry& e = m_entries[index];
    return QString::fromUtf16(m_names.data() + e.nameAt, e.nameLength);
}

qint64 CompoundDirectory::entryOffset(quint32 index) const {
    const int perSector = m_sectorSize / kEntrySize;
    return offsetOf(m_directorySectors[qsizetype(index / perSector)]) +
           qint64(index % perSector) * kEntrySize;
}

int CompoundDirectory::compareNames(quint32 a, quint32 b) const {
    const Entry& x = m_entries[a];
    const Entry& y = m_entries[b];
    if (x.nameLength != y.nameLength)
        return x.nameLength < y.nameLength ? -1 : 1;
    for (int i = 0; i < x.nameLength; ++i) {
        const char16_t p = QChar(m_names[x.nameAt + i]).toUpper().unicode();
        const char16_t q = QChar(m_names[y.nameAt + i]).toUpper().unicode();
        if (p != q)
            return p < q ? -1 : 1;
    }
    return 0;
}

// A part of the directory at a time: a large one is never held whole.
bool CompoundDirectory::readEntries(QIODevice& device) {
    const int perSector = m_sectorSize / kEntrySize;
    m_entries.resize(size_t(m_directorySectors.size()) * perSector);
    constexpr qsizetype kPart = 1024;  // sectors
    QByteArray block;
    for (qsizetype first = 0; first < m_directorySectors.size(); first += kPart) {
        const QList<quint32> part = m_directorySectors.mid(first, kPart);
        block.resize(part.size() * m_sectorSize);
        if (!readSectors(device, *this, part, block.data()))
            return false;
        for (qsizetype i = 0; i < part.size() * perSector; ++i) {
            const char* at = block.constData() + i * kEntrySize;
            Entry& e = m_entries[size_t(first * perSector + i)];
            e.type = quint8(at[0x42]);
            e.left = u32(at + 0x44);
            e.right = u32(at + 0x48);
            e.child = u32(at + 0x4C);
            e.start = u32(at + 0x74);
            // Older writers leave the high half of the size undefined.
            e.size = m_wideSizes ? qFromLittleEndian<quint64>(at + 0x78) : u32(at + 0x78);
            if (e.type == 0)
                continue;
            const quint16 nameBytes = u16(at + 0x40);
            if (nameBytes < 2 || nameBytes > 64 || nameBytes % 2 != 0)
                continue;
            const int units = nameBytes / 2 - 1;
            // A name must end at its terminator; one that does not stays
            // empty and is refused if the tree reaches it.
            bool ok = u16(at + 2 * units) == 0;
            for (int u = 0; ok && u < units; ++u)
                ok = u16(at + 2 * u) != 0;
            if (!ok)
                continue;
            e.nameAt = quint32(m_names.size());
            e.nameLength = quint8(units);
            for (int u = 0; u < units; ++u)
                m_names.push_back(char16_t(u16(at + 2 * u)));
        }
    }
    return true;
}

bool CompoundDirectory::read(QIODevice& device, QString* error) {
    *this = CompoundDirectory();
    if (!readHeader(device, error))
        return false;
    const int perSector = m_sectorSize / kEntrySize;

    // Follow the directory chain; each sector once, so a looping chain ends.
    std::vector<bool> seen;
    quint32 sector = m_directoryStart;
    while (sector != EndOfChain) {
        if (sector >= m_sectorCount || sector >= m_fat.size())
            return fail(error, "damaged directory chain");
        if (seen.size() <= sector)
            seen.resize(sector + 1);
        if (seen[sector])
            return fail(error, "the directory chain loops");
        if ((m_directorySectors.size() + 1) * perSector > kMaxEntries)
            return fail(error, "too many directory entries");
        seen[sector] = true;
        m_directorySectors.append(sector);
        sector = m_fat[sector];
    }
    if (m_directorySectors.isEmpty())
        return fail(error, "no directory");

    if (!readEntries(device))
        return fail(error, "the file is truncated");
    return walk(error);
}

namespace {
// Whole surrogate pairs only: what UTF-16 can say in UTF-8 too.
bool isWellFormed(const char16_t* units, int count) {
    for (int i = 0; i < count; ++i) {
        if (QChar::isLowSurrogate(units[i]))
            return false;
        if (QChar::isHighSurrogate(units[i])) {
            if (i + 1 >= count || !QChar::isLowSurrogate(units[i + 1]))
                return false;
            ++i;
        }
    }
    return true;
}
}  // namespace

bool CompoundDirectory::walk(QString* error) {
    const Entry& root = m_entries[0];
    if (root.type != Root || root.left != NoEntry || root.right != NoEntry)
        return fail(error, "damaged root entry");

    // Each storage's tree in order, iteratively, each entry at most once: a
    // second visit is a loop or two links to one element, both of which
    // would send a recursive reader round in circles or through the same
    // subtree twice. A well-made tree gives its elements in directory order
    // as it goes; any other is sorted.
    struct Step {
        quint32 index;
        int depth;
    };
    std::vector<bool> visited(m_entries.size());
    visited[0] = true;
    m_depth = 1;
    std::vector<Step> storages{{0, 1}};
    std::vector<Step> pending;
    while (!storages.empty()) {
        const Step storage = storages.back();
        storages.pop_back();
        QList<quint32>& kids = m_children[storage.index];
        quint32 at = m_entries[storage.index].child;
        int depth = storage.depth + 1;
        bool inOrder = true;
        while (at != NoEntry || !pending.empty()) {
            while (at != NoEntry) {
                if (at >= m_entries.size())
                    return fail(error, "a directory link points outside the directory");
                if (visited[at])
                    return fail(error, "the directory links loop");
                visited[at] = true;
                m_depth = std::max(m_depth, depth);
                pending.push_back({at, depth});
                at = m_entries[at].left;
                ++depth;
            }
            const Step step = pending.back();
            pending.pop_back();
            const Entry& e = m_entries[step.index];
            if (e.type != Storage && e.type != Stream)
                return fail(error, "unknown directory entry");
            if (e.nameLength == 0 || !isWellFormed(m_names.data() + e.nameAt, e.nameLength))
                return fail(error, "invalid element name");
            if (!kids.isEmpty() && compareNames(kids.last(), step.index) >= 0)
                inOrder = false;
            kids.append(step.index);
            if (e.type == Storage)
                storages.push_back({step.index, step.depth});
            else if (e.child != NoEntry)
                return fail(error, "a stream with elements");
            at = e.right;
            depth = step.depth + 1;
        }
        if (inOrder)
            continue;
        std::sort(kids.begin(), kids.end(),
                  [this](quint32 a, quint32 b) { return compareNames(a, b) < 0; });
        for (qsizetype i = 1; i < kids.size(); ++i) {
            if (compareNames(kids[i - 1], kids[i]) == 0)
                return fail(error, "two elements of one name");
        }
    }
    return true;
}

quint32 CompoundDirectory::findChild(quint32 storage, const QString& name) const {
    const auto kids = m_children.constFind(storage);
    if (kids == m_children.cend())
        return NoEntry;
    const QString key = compoundNameKey(name);
    // <0, 0, >0 as the element's name compares with the key.
    const auto compare = [&](quint32 e) {
        const Entry& x = m_entries[e];
        if (x.nameLength != key.size())
            return x.nameLength < key.size() ? -1 : 1;
        for (int i = 0; i < x.nameLength; ++i) {
            const char16_t p = QChar(m_names[x.nameAt + i]).toUpper().unicode();
            const char16_t q = key[i].unicode();
            if (p != q)
                return p < q ? -1 : 1;
        }
        return 0;
    };
    const auto it = std::lower_bound(kids->begin(), kids->end(), 0,
                                     [&](quint32 e, int) { return compare(e) < 0; });
    if (it == kids->end() || compare(*it) != 0)
        return NoEntry;
    return *it;
}
}  // namespace tempolatch::platform
