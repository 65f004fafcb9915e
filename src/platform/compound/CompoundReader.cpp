#include "platform/compound/CompoundReader.h"

#include "platform/NativePath.h"

#include <QSysInfo>
#include <QtEndian>
#include <algorithm>
#include <cstring>

namespace tempolatch::platform {

namespace {

using Dir = CompoundDirectory;

bool fail(QString* error, const char* why) {
    if (error)
        *error = QString::fromLatin1(why);
    return false;
}

quint64 unitsFor(quint64 size, quint64 unit) {
    return size / unit + (size % unit ? 1 : 0);
}

// Marks the units (sectors or mini sectors) of chains as taken: each may be
// taken once and must exist in the file and in its table.
class Claims {
public:
    Claims(quint64 count, const std::vector<quint32>& table) : m_taken(count), m_table(table) {}

    bool claim(quint32 unit) {
        if (unit >= m_taken.size() || unit >= m_table.size() || m_taken[unit])
            return false;
        m_taken[unit] = true;
        return true;
    }

    // Takes the `needed` units of a chain from `start`, adding them to `out`
    // if given. Where the chain goes after them is not looked at.
    bool follow(quint32 start, quint64 needed, std::vector<quint32>* out = nullptr) {
        if (needed > m_taken.size())
            return false;
        quint32 unit = start;
        for (quint64 i = 0; i < needed; ++i) {
            if (!claim(unit))
                return false;
            if (out)
                out->push_back(unit);
            unit = m_table[unit];
        }
        return true;
    }

private:
    std::vector<bool> m_taken;
    const std::vector<quint32>& m_table;
};

}  // namespace

bool CompoundReader::open(const QString& path, QString* error) {
    if (!openNative(m_file, path, QIODevice::ReadOnly | QIODevice::Unbuffered, error))
        return false;
    // However deep its links run (some writers chain a storage's children
    // one after another), the directory is walked without recursion, each
    // entry at most once, so its size alone bounds the work.
    if (!m_dir.read(m_file, error))
        return false;
    return checkChains(error);
}

bool CompoundReader::checkChains(QString* error) {
    const int sectorSize = m_dir.sectorSize();
    Claims sectors(m_dir.sectorCount(), m_dir.fat());
    for (quint32 sector : m_dir.tableSectors()) {
        if (!sectors.claim(sector))
            return fail(error, "damaged allocation table");
    }
    for (quint32 sector : m_dir.directorySectors()) {
        if (!sectors.claim(sector))
            return fail(error, "damaged directory chain");
    }

    std::vector<quint32> miniFatSectors;
    if (!sectors.follow(m_dir.miniFatStart(), m_dir.miniFatSectors(), &miniFatSectors))
        return fail(error, "damaged mini allocation table");
    m_miniFat.resize(miniFatSectors.size() * (sectorSize / 4));
    for (size_t i = 0; i < miniFatSectors.size(); ++i) {
        if (!readRun(miniFatSectors[i], 1,
                     reinterpret_cast<char*>(m_miniFat.data() + i * (sectorSize / 4))))
            return fail(error, "the file is truncated");
    }
    if constexpr (QSysInfo::ByteOrder != QSysInfo::LittleEndian) {
        for (quint32& next : m_miniFat)
            next = qFromLittleEndian(next);
    }

    const Dir::Entry& root = m_dir.entry(0);
    if (!sectors.follow(root.start, unitsFor(root.size, sectorSize), &m_miniStream))
        return fail(error, "damaged mini stream");
    Claims miniSectors(unitsFor(root.size, Dir::kMiniSectorSize), m_miniFat);

    // Every stream the directory reaches, storage by storage.
    std::vector<quint32> storages{0};
    while (!storages.empty()) {
        const quint32 storage = storages.back();
        storages.pop_back();
        for (quint32 index : m_dir.children(storage)) {
            const Dir::Entry& e = m_dir.entry(index);
            if (e.type == Dir::Storage) {
                storages.push_back(index);
            } else if (e.size >= Dir::kMiniCutoff) {
                if (!sectors.follow(e.start, unitsFor(e.size, sectorSize)))
                    return fail(error, "damaged chain of a stream");
            } else if (!miniSectors.follow(e.start, unitsFor(e.size, Dir::kMiniSectorSize))) {
                return fail(error, "damaged chain of a small stream");
            }
        }
    }
    return true;
}

CompoundReader::Chain CompoundReader::chain(quint32 entry) const {
    const Dir::Entry& e = m_dir.entry(entry);
    Chain chain;
    chain.size = e.size;
    chain.mini = e.size < Dir::kMiniCutoff;
    const std::vector<quint32>& table = chain.mini ? m_miniFat : m_dir.fat();
    const quint64 needed = unitsFor(e.size, chain.mini ? Dir::kMiniSectorSize : m_dir.sectorSize());
    chain.units.reserve(needed);
    // Checked on open; the bound only guards against a stream that was not.
    quint32 unit = e.start;
    for (quint64 i = 0; i < needed && unit < table.size(); ++i) {
        chain.units.push_back(unit);
        unit = table[unit];
    }
    return chain;
}

bool CompoundReader::readRun(quint32 first, quint32 count, char* out) {
    const qint64 bytes = qint64(count) * m_dir.sectorSize();
    return first < m_dir.sectorCount() && m_file.seek(m_dir.offsetOf(first)) &&
           m_file.read(out, bytes) == bytes;
}

// Sectors come from a block of the file read at once: small streams lie
// side by side in the mini stream, and a restore reads them one after the
// other, a few to a sector.
const char* CompoundReader::sector(quint32 sector) {
    if (sector >= m_dir.sectorCount())
        return nullptr;
    const qint64 offset = m_dir.offsetOf(sector);
    const qint64 block = offset - offset % kBlockSize;
    if (block != m_cachedBlock) {
        m_cachedBlock = -1;
        m_cached.resize(kBlockSize);
        if (!m_file.seek(block))
            return nullptr;
        const qint64 got = m_file.read(m_cached.data(), kBlockSize);
        if (got < 0)
            return nullptr;
        m_cached.resize(got);
        m_cachedBlock = block;
    }
    const qint64 at = offset - block;
    return at + m_dir.sectorSize() <= m_cached.size() ? m_cached.constData() + at : nullptr;
}

bool CompoundReader::read(const Chain& chain, quint64 pos, char* out, qint64 count) {
    const quint64 sectorSize = quint64(m_dir.sectorSize());
    // Copies `piece` bytes from `at` within a sector.
    const auto copy = [&](quint32 from, quint64 at, quint64 piece) {
        const char* data = sector(from);
        if (!data)
            return false;
        std::memcpy(out, data + at, piece);
        return true;
    };
    while (count > 0) {
        quint64 piece = 0;
        if (chain.mini) {
            const quint64 index = pos / Dir::kMiniSectorSize;
            const quint64 offset = pos % Dir::kMiniSectorSize;
            if (index >= chain.units.size())
                return false;
            const quint64 inMiniStream =
                quint64(chain.units[index]) * Dir::kMiniSectorSize + offset;
            if (inMiniStream / sectorSize >= m_miniStream.size())
                return false;
            piece = std::min<quint64>(quint64(count), Dir::kMiniSectorSize - offset);
            if (!copy(m_miniStream[inMiniStream / sectorSize], inMiniStream % sectorSize, piece))
                return false;
        } else {
            const quint64 index = pos / sectorSize;
            const quint64 offset = pos % sectorSize;
            if (index >= chain.units.size())
                return false;
            if (offset == 0 && quint64(count) >= sectorSize) {
                // Whole sectors straight into `out`, a run of neighbours at once.
                const quint32 first = chain.units[index];
                quint64 run = 1;
                while (index + run < chain.units.size() &&
                       chain.units[index + run] == first + run &&
                       (run + 1) * sectorSize <= quint64(count))
                    ++run;
                if (!readRun(first, quint32(run), out))
                    return false;
                piece = run * sectorSize;
            } else {
                piece = std::min<quint64>(quint64(count), sectorSize - offset);
                if (!copy(chain.units[index], offset, piece))
                    return false;
            }
        }
        out += piece;
        pos += piece;
        count -= qint64(piece);
    }
    return true;
}

}  // namespace tempolatch::platform
