#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <optional>

namespace tempolatch {

// List files: plain text with one name per line, which the clients setup
// and the drop-list editor import names from and export them to.

enum class ListFileEncoding {
    EightBit,  // the codeset of the user's environment (normally UTF-8)
    Utf16,     // UTF-16 little-endian with its byte order mark
};

// Lines longer than this many characters are cut to MaxListLineLength - 1;
// a line of exactly this length is kept whole.
inline constexpr int MaxListLineLength = 128;

// The names of the text, split at every CR and at every LF; empty lines give
// nothing. The text ends at its first NUL character.
QStringList listLines(const QString& text);

// The lines of a list file's bytes. UTF-16 little-endian when they start
// with the mark FF FE, big-endian with FE FF, UTF-8 when they start with the
// UTF-8 mark, else 8-bit text in the environment's codeset. nullopt for
// UTF-16 text whose first character is NUL, and for bytes that are not text
// (control characters other than breaks and tabs, or undecodable bytes,
// before the text's end).
std::optional<QStringList> listFileLines(QByteArrayView bytes);

// Why a list file gave no names.
enum class ListFileProblem { Unreadable, NotText };

// The same of a file; nullopt also when it cannot be read.
std::optional<QStringList> readListFile(const QString& path, ListFileProblem* problem = nullptr);

// What the user is told of a file that is not text.
QString notTextMessage(const QString& path);

// The bytes of a list file of these names: separated by CR LF, with none
// after the last.
QByteArray listFileBytes(const QStringList& names, ListFileEncoding encoding);

// Writes the names into a new file that replaces `path` only once it is
// complete ("-" is standard output). False, with the reason in `error`, when
// it cannot be written; the old file is then kept.
bool exportList(const QString& path, const QStringList& names, ListFileEncoding encoding,
                QString* error = nullptr);

}  // namespace tempolatch
