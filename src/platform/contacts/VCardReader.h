#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

class QIODevice;

namespace tempolatch::platform {

// Reads the people of vCard files (versions 2.1, 3.0 and 4.0, any number of
// cards per file) and gives each one's display name: FN, else the parts of N
// in the order a person writes them ("Mr. John Quinlan Public Esq."). Cards
// with neither are left out.
//
// Address-book files come from many writers, some careless, and may carry
// large photos: lines, files and counts are capped, whatever cannot be read
// is skipped, and nothing in a file can make the reader crash or hang.
class VCardReader {
public:
    // A logical (unfolded) line longer than this is a photo or garbage and
    // is skipped without being kept in memory.
    static constexpr qsizetype MaxLineBytes = 256 * 1024;
    static constexpr qint64 MaxFileBytes = 256LL * 1024 * 1024;  // the rest is not read
    static constexpr int MaxContactsPerFile = 100000;
    static constexpr int MaxFilesPerFolder = 50000;
    static constexpr int MaxNames = 200000;  // over all files of a listing
    static constexpr qsizetype MaxNameLength = 1024;

    // The display names in the order of the cards.
    static QStringList readNames(QIODevice& device);
    static QStringList readNames(const QByteArray& data);
    // False when the path is not a readable regular file; names stay as given.
    static bool readFile(const QString& path, QStringList& names);

    // Every .vcf file (any letter case) of the folder, without subfolders.
    static QStringList vcfFiles(const QString& folder);
    static bool hasVcfFiles(const QString& folder);

    // All names of all .vcf files of the folders, sorted in the user's
    // locale, each name once. Missing folders and unreadable files are skipped.
    static QStringList namesInFolder(const QString& folder);
    static QStringList namesInFolders(const QStringList& folders);
};

}  // namespace tempolatch::platform
