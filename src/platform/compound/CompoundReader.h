#pragma once

#include <QFile>
#include <QString>
#include <vector>

#include "platform/compound/CompoundDirectory.h"

namespace tempolatch::platform {

// Reads the streams of a compound file. Opening checks every chain the
// directory reaches once, in time linear in the file: each sector and mini
// sector belongs to at most one chain, lies inside the file and the chain is
// as long as its stream. Reads after that only follow checked chains, so a
// damaged file fails on open instead of part way through a read.
class CompoundReader {
public:
    // Where a stream's bytes are: its sectors, or its mini sectors.
    struct Chain {
        std::vector<quint32> units;
        quint64 size = 0;
        bool mini = false;
    };

    bool open(const QString& path, QString* error = nullptr);

    const CompoundDirectory& directory() const { return m_dir; }
    // The chain of a stream of the directory.
    Chain chain(quint32 entry) const;
    // `count` bytes of the stream from `pos`, which the caller keeps inside
    // its size; false when the file cannot be read (changed since it was
    // opened).
    bool read(const Chain& chain, quint64 pos, char* out, qint64 count);

private:
    bool checkChains(QString* error);
    const char* sector(quint32 sector);
    bool readRun(quint32 first, quint32 count, char* out);

    QFile m_file;
    CompoundDirectory m_dir;
    std::vector<quint32> m_miniFat;
    std::vector<quint32> m_miniStream;               // the sectors that hold the mini sectors
    static constexpr qint64 kBlockSize = 64 * 1024;  // a whole number of sectors of either size
    QByteArray m_cached;
    qint64 m_cachedBlock = -1;
};

}  // namespace tempolatch::platform
