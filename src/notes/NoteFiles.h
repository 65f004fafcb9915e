#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

#include "notes/NoteStream.h"

class QObject;

namespace tempolatch {

namespace platform {
class Ui;
}

// Note files: a note written to or read from a file in one of the stream
// formats, and the dialogs of Import..., Export... and Export Note....
class NoteFiles {
public:
    // Larger files are not notes; reading them is refused before any
    // allocation.
    static constexpr qsizetype MaxFileSize = 32 * 1024 * 1024;

    // Written whole or not at all (an existing file stays as it was).
    static bool save(const QString& path, const NoteData& note, NoteStreamFormat format,
                     QString* error = nullptr);
    static std::optional<NoteData> load(const QString& path, NoteStreamFormat format,
                                        QString* error = nullptr);

    // The format of each filter of the import filter and of the two export
    // filters (numbered from 1; unknown numbers give the note file format).
    static NoteStreamFormat importFormat(int filter);
    static NoteStreamFormat exportFormat(int filter);

    // Import...: asks for a file and reads it. nullopt when cancelled or
    // when the file could not be read (the user has been told).
    static std::optional<NoteData> importWithDialog(platform::Ui& ui, QObject* parent);
    // Export... (str::NoteExportFilter) and Export Note...
    // (str::ExportNoteFilter), by the filter's string number: asks
    // for a file and writes the note to it; message 68 when that fails.
    // False when cancelled or failed.
    static bool exportWithDialog(platform::Ui& ui, const NoteData& note, int filterString,
                                 QObject* parent);

    // Shown when an imported file cannot be read as a note.
    static QString importFailedText();
};

}  // namespace tempolatch
