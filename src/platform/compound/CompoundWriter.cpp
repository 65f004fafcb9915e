#include "platform/compound/CompoundWriter.h"

#include <QtEndian>
#include <algorithm>

#include "platform/compound/CompoundDirectory.h"

namespace tempolatch::platform {

namespace {

using Dir = CompoundDirectory;

constexpr int kSectorSize = 512;
constexpr int kPerSector = kSectorSize / 4;
constexpr int kPerDifat = kPerSector - 1;
constexpr quint64 kMaxStreamSize = 0xFFFFFFFFu;  // sizes are 32 bits in this version

bool isValidName(const QString& name) {
    if (name.isEmpty() || name.size() > 31)
        return false;
    for (QChar c : name) {
        if (c.unicode() < 0x20 || c == u'/' || c == u'\\' || c == u':' || c == u'!')
            return false;
    }
    return QString::fromUtf8(name.toUtf8()) == name;  // no lone surrogates
}

void put16(QByteArray& bytes, qint64 at, quint16 value) {
    qToLittleEndian(value, bytes.data() + at);
}
void put32(QByteArray& bytes, qint64 at, quint32 value) {
    qToLittleEndian(value, bytes.data() + at);
}

quint64 unitsFor(quint64 size, quint64 unit) {
    return size / unit + (size % unit ? 1 : 0);
}

// The table as bytes, padded with free entries to whole sectors.
QByteArray tableBytes(const std::vector<quint32>& table) {
    QByteArray bytes(qsizetype(unitsFor(table.size(), kPerSector)) * kSectorSize, '\xFF');
    if (!table.empty())  // an empty vector's data() may be null, which memcpy must not see
        qToLittleEndian<quint32>(table.data(), qsizetype(table.size()), bytes.data());
    return bytes;
}

}  // namespace

CompoundWriter::CompoundWriter(const QString& path)
    : m_file(path, OutputFile::Seekable),
      m_miniStart(Dir::EndOfChain),
      m_miniLast(Dir::EndOfChain) {
    Node root;
    root.storage = true;
    root.start = root.last = Dir::EndOfChain;
    m_nodes.push_back(root);
    m_children[Root];
}

bool CompoundWriter::open(QString* error) {
    // The header goes in last, once the tables are known.
    if (!m_file.open() || m_file.write(QByteArray(Dir::kHeaderSize, '\0')) != Dir::kHeaderSize) {
        if (error)
            *error = m_file.errorString();
        return false;
    }
    return true;
}

bool CompoundWriter::fail(const QString& why) {
    if (!m_failed)
        m_error = why;
    m_failed = true;
    m_file.abandon();
    return false;
}

QString CompoundWriter::nameOf(quint32 index) const {
    const Node& node = m_nodes[index];
    return QString::fromUtf16(m_names.data() + node.nameAt, node.nameLength);
}

quint32 CompoundWriter::add(quint32 parent, const QString& name, bool storage, QString* error) {
    auto refuse = [&](const QString& why) {
        if (error)
            *error = why;
        return NoEntry;
    };
    const auto children = m_children.find(parent);
    if (children == m_children.end() || !isValidName(name))
        return refuse(QStringLiteral("invalid or repeated element name \"%1\"").arg(name));
    Children& kids = children->second;
    const QString key = compoundNameKey(name);
    if (kids.inOrder && !kids.entries.empty()) {
        const int order = compareCompoundKeys(compoundNameKey(nameOf(kids.entries.back())), key);
        if (order == 0)
            return refuse(QStringLiteral("invalid or repeated element name \"%1\"").arg(name));
        if (order > 0) {
            for (quint32 kid : kids.entries)
                kids.keys.insert(compoundNameKey(nameOf(kid)));
            kids.inOrder = false;
        }
    }
    if (!kids.inOrder && kids.keys.contains(key))
        return refuse(QStringLiteral("invalid or repeated element name \"%1\"").arg(name));
    if (m_nodes.size() >= size_t(Dir::kMaxEntries) - 1)
        return refuse(QStringLiteral("too many elements"));
    Node node;
    node.nameAt = quint32(m_names.size());
    node.nameLength = quint8(name.size());
    node.storage = storage;
    node.start = node.last = Dir::EndOfChain;
    const auto* units = reinterpret_cast<const char16_t*>(name.utf16());
    m_names.insert(m_names.end(), units, units + name.size());
    const quint32 index = quint32(m_nodes.size());
    m_nodes.push_back(node);
    if (!kids.inOrder)
        kids.keys.insert(key);
    kids.entries.push_back(index);
    if (storage)
        m_children[index];
    return index;
}

std::vector<quint32> CompoundWriter::sortedChildren(quint32 storage) const {
    const Children& kids = m_children.at(storage);
    if (kids.inOrder)
        return kids.entries;
    std::vector<std::pair<QString, quint32>> keyed;
    keyed.reserve(kids.entries.size());
    for (quint32 kid : kids.entries)
        keyed.emplace_back(compoundNameKey(nameOf(kid)), kid);
    std::sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) {
        return compareCompoundKeys(a.first, b.first) < 0;
    });
    std::vector<quint32> sorted;
    sorted.reserve(keyed.size());
    for (const auto& [key, kid] : keyed)
        sorted.push_back(kid);
    return sorted;
}

QList<CompoundEntry> CompoundWriter::children(quint32 storage) const {
    QList<CompoundEntry> list;
    if (!m_children.contains(storage))
        return list;
    const std::vector<quint32> kids = sortedChildren(storage);
    list.reserve(qsizetype(kids.size()));
    for (quint32 index : kids)
        list.append({nameOf(index), m_nodes[index].storage});
    return list;
}

// Appends whole sectors to the file and to the chain from `start` to `last`.
bool CompoundWriter::appendSectors(const char* data, quint64 count, quint32& start, quint32& last) {
    if (m_failed)
        return false;
    if (count == 0)
        return true;
    if (m_fat.size() + count > Dir::MaxSector - Dir::MaxSector / kPerSector - 1)
        return fail(QStringLiteral("the compound file is too large"));
    const qint64 bytes = qint64(count) * kSectorSize;
    if (m_file.write(data, bytes) != bytes)
        return fail(m_file.errorString());
    const auto first = quint32(m_fat.size());
    for (quint64 i = 1; i < count; ++i)
        m_fat.push_back(first + quint32(i));
    m_fat.push_back(Dir::EndOfChain);
    if (last == Dir::EndOfChain)
        start = first;
    else
        m_fat[last] = first;
    last = first + quint32(count) - 1;
    return true;
}

bool CompoundWriter::appendPadded(QByteArray bytes, quint32& start, quint32& last) {
    bytes.append(QByteArray(
        qsizetype(unitsFor(bytes.size(), kSectorSize)) * kSectorSize - bytes.size(), '\0'));
    return appendSectors(bytes.constData(), quint64(bytes.size()) / kSectorSize, start, last);
}

bool CompoundWriter::appendToMiniStream(const QByteArray& bytes) {
    m_miniTail.append(bytes);
    const qsizetype whole = m_miniTail.size() / kSectorSize;
    if (whole == 0)
        return true;
    const bool ok = appendSectors(m_miniTail.constData(), quint64(whole), m_miniStart, m_miniLast);
    m_miniTail.remove(0, whole * kSectorSize);
    return ok;
}

bool CompoundWriter::spill(quint32 stream, QByteArray& pending) {
    if (m_failed || stream >= m_nodes.size())
        return false;
    Node& node = m_nodes[stream];
    if (node.storage || node.finished)
        return false;
    if (node.size + quint64(pending.size()) < Dir::kMiniCutoff)
        return true;  // may still go to the mini stream
    const qsizetype whole = pending.size() / kSectorSize;
    if (!appendSectors(pending.constData(), quint64(whole), node.start, node.last))
        return false;
    node.size += quint64(whole) * kSectorSize;
    pending.remove(0, whole * kSectorSize);
    return true;
}

bool CompoundWriter::finish(quint32 stream, const QByteArray& pending) {
    if (m_failed || stream >= m_nodes.size())
        return false;
    Node& node = m_nodes[stream];
    if (node.storage || node.finished)
        return false;
    node.finished = true;
    const quint64 size = node.size + quint64(pending.size());
    if (size > kMaxStreamSize)
        return fail(QStringLiteral("the stream \"%1\" is too large").arg(nameOf(stream)));
    if (size >= Dir::kMiniCutoff) {
        node.size = size;
        return appendPadded(pending, node.start, node.last);
    }
    node.size = size;
    if (size == 0)
        return true;
    const quint64 blocks = unitsFor(size, Dir::kMiniSectorSize);
    if (m_miniFat.size() + blocks > Dir::MaxSector)
        return fail(QStringLiteral("the compound file is too large"));
    node.start = quint32(m_miniFat.size());
    for (quint64 i = 1; i < blocks; ++i)
        m_miniFat.push_back(node.start + quint32(i));
    m_miniFat.push_back(Dir::EndOfChain);
    QByteArray padded = pending;
    padded.append(QByteArray(qsizetype(blocks * Dir::kMiniSectorSize - size), '\0'));
    return appendToMiniStream(padded);
}

struct CompoundWriter::Links {
    std::vector<quint32> left, right, child;
    std::vector<bool> red;
};

// Each storage's elements as a red-black tree in directory order: built
// balanced, every level above the last, partly filled one is black and
// that level red, so each path holds the same number of black nodes.
CompoundWriter::Links CompoundWriter::links() const {
    const size_t count = m_nodes.size();
    Links links{std::vector<quint32>(count, Dir::NoEntry),
                std::vector<quint32>(count, Dir::NoEntry),
                std::vector<quint32>(count, Dir::NoEntry), std::vector<bool>(count, false)};
    for (const auto& [storage, children] : m_children) {
        const std::vector<quint32> kids = sortedChildren(storage);
        int blackLevels = 0;
        while ((size_t(2) << blackLevels) - 1 <= kids.size())
            ++blackLevels;
        struct Builder {
            const std::vector<quint32>& kids;
            Links& links;
            int blackLevels;
            quint32 build(qsizetype lo, qsizetype hi, int level) {
                if (lo > hi)
                    return Dir::NoEntry;
                const qsizetype mid = lo + (hi - lo) / 2;
                const quint32 kid = kids[size_t(mid)];
                links.left[kid] = build(lo, mid - 1, level + 1);
                links.right[kid] = build(mid + 1, hi, level + 1);
                links.red[kid] = level >= blackLevels;
                return kid;
            }
        } builder{kids, links, blackLevels};
        links.child[storage] = builder.build(0, qsizetype(kids.size()) - 1, 0);
    }
    return links;
}

// The directory goes out a part at a time, so that its whole size (128
// bytes an element) is never held at once.
bool CompoundWriter::appendDirectory(quint32& start, quint32& last) {
    const Links tree = links();
    const qsizetype count = qsizetype(m_nodes.size());
    const int perSector = kSectorSize / Dir::kEntrySize;
    const qsizetype total = qsizetype(unitsFor(quint64(count), perSector)) * perSector;
    constexpr qsizetype kPart = 4096;  // entries, a whole number of sectors
    QByteArray bytes;
    for (qsizetype first = 0; first < total; first += kPart) {
        const qsizetype entries = std::min(kPart, total - first);
        bytes.fill('\0', entries * Dir::kEntrySize);
        for (qsizetype e = 0; e < entries; ++e) {
            const qsizetype i = first + e;
            const qint64 at = e * Dir::kEntrySize;
            if (i >= count) {
                put32(bytes, at + 0x44, Dir::NoEntry);
                put32(bytes, at + 0x48, Dir::NoEntry);
                put32(bytes, at + 0x4C, Dir::NoEntry);
                continue;
            }
            const Node& node = m_nodes[size_t(i)];
            const QString name = i == 0 ? QStringLiteral("Root Entry") : nameOf(quint32(i));
            qToLittleEndian<quint16>(name.utf16(), name.size(), bytes.data() + at);
            put16(bytes, at + 0x40, quint16((name.size() + 1) * 2));
            bytes[at + 0x42] = char(i == 0 ? Dir::Root : node.storage ? Dir::Storage : Dir::Stream);
            bytes[at + 0x43] = tree.red[size_t(i)] ? 0 : 1;
            put32(bytes, at + 0x44, tree.left[size_t(i)]);
            put32(bytes, at + 0x48, tree.right[size_t(i)]);
            put32(bytes, at + 0x4C, tree.child[size_t(i)]);
            if (i == 0) {
                put32(bytes, at + 0x74, m_miniStart);
                put32(bytes, at + 0x78, quint32(m_miniFat.size() * Dir::kMiniSectorSize));
            } else if (!node.storage) {
                put32(bytes, at + 0x74, node.size == 0 ? Dir::EndOfChain : node.start);
                put32(bytes, at + 0x78, quint32(node.size));
            }
        }
        if (!appendSectors(bytes.constData(), quint64(bytes.size()) / kSectorSize, start, last))
            return false;
    }
    return true;
}

// A table a part at a time, padded with free entries to whole sectors.
bool CompoundWriter::appendTable(const std::vector<quint32>& table, quint32& start, quint32& last) {
    constexpr size_t kPart = 1024 * kPerSector;
    for (size_t first = 0; first < table.size(); first += kPart) {
        const size_t n = std::min(kPart, table.size() - first);
        QByteArray bytes(qsizetype(unitsFor(n, kPerSector)) * kSectorSize, '\xFF');
        qToLittleEndian<quint32>(table.data() + first, qsizetype(n), bytes.data());
        if (!appendSectors(bytes.constData(), quint64(bytes.size()) / kSectorSize, start, last))
            return false;
    }
    return true;
}

QByteArray CompoundWriter::header(quint32 fatSectors, quint32 directoryStart, quint32 miniFatStart,
                                  quint32 miniFatSectors, quint32 difatStart,
                                  quint32 difatSectors) const {
    QByteArray h(Dir::kHeaderSize, '\0');
    h.replace(0, 8, QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8));
    put16(h, 0x18, 0x003E);  // minor version
    put16(h, 0x1A, 3);       // major version: 512-byte sectors
    put16(h, 0x1C, 0xFFFE);  // little-endian
    put16(h, 0x1E, 9);       // 512-byte sectors
    put16(h, 0x20, 6);       // 64-byte mini sectors
    put32(h, 0x2C, fatSectors);
    put32(h, 0x30, directoryStart);
    put32(h, 0x38, Dir::kMiniCutoff);
    put32(h, 0x3C, miniFatStart);
    put32(h, 0x40, miniFatSectors);
    put32(h, 0x44, difatStart);
    put32(h, 0x48, difatSectors);
    const quint32 fatStart = quint32(m_fat.size()) - fatSectors - difatSectors;
    for (int i = 0; i < Dir::kHeaderFatSlots; ++i)
        put32(h, 0x4C + 4 * i, quint32(i) < fatSectors ? fatStart + quint32(i) : Dir::FreeSector);
    return h;
}

bool CompoundWriter::commit() {
    if (m_failed)
        return false;
    if (!m_miniTail.isEmpty()) {
        const QByteArray tail = m_miniTail;
        m_miniTail.clear();
        if (!appendPadded(tail, m_miniStart, m_miniLast))
            return false;
    }
    quint32 miniFatStart = Dir::EndOfChain;
    quint32 last = Dir::EndOfChain;
    const quint64 miniFatSectors = unitsFor(m_miniFat.size(), kPerSector);
    if (!appendTable(m_miniFat, miniFatStart, last))
        return false;
    quint32 directoryStart = Dir::EndOfChain;
    last = Dir::EndOfChain;
    if (!appendDirectory(directoryStart, last))
        return false;

    // The allocation table covers every sector, its own and those of the
    // lists of its sectors beyond the header's 109 included.
    const quint64 data = m_fat.size();
    quint64 fatSectors = 0;
    quint64 difatSectors = 0;
    for (;;) {
        const quint64 fat = unitsFor(data + fatSectors + difatSectors, kPerSector);
        const quint64 difat = fat > quint64(Dir::kHeaderFatSlots)
                                  ? unitsFor(fat - Dir::kHeaderFatSlots, kPerDifat)
                                  : 0;
        if (fat == fatSectors && difat == difatSectors)
            break;
        fatSectors = fat;
        difatSectors = difat;
    }
    const auto fatStart = quint32(data);
    const auto difatStart = quint32(data + fatSectors);
    m_fat.insert(m_fat.end(), fatSectors, Dir::FatSector);
    m_fat.insert(m_fat.end(), difatSectors, Dir::DifatSector);
    const QByteArray fat = tableBytes(m_fat);
    QByteArray difat(qsizetype(difatSectors) * kSectorSize, '\xFF');
    for (quint64 k = 0; k < difatSectors; ++k) {
        const qint64 at = qint64(k) * kSectorSize;
        for (int i = 0; i < kPerDifat; ++i) {
            const quint64 listed = Dir::kHeaderFatSlots + k * kPerDifat + quint64(i);
            if (listed < fatSectors)
                put32(difat, at + 4 * i, fatStart + quint32(listed));
        }
        put32(difat, at + 4 * kPerDifat,
              k + 1 < difatSectors ? difatStart + quint32(k) + 1 : Dir::EndOfChain);
    }
    const QByteArray head =
        header(quint32(fatSectors), directoryStart, miniFatStart, quint32(miniFatSectors),
               difatSectors ? difatStart : Dir::EndOfChain, quint32(difatSectors));
    if (m_file.write(fat) != fat.size() || m_file.write(difat) != difat.size() || !m_file.seek(0) ||
        m_file.write(head) != head.size() || !m_file.commit())
        return fail(m_file.errorString());
    m_failed = true;  // done: nothing more goes in
    return true;
}

}  // namespace tempolatch::platform
