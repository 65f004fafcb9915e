#pragma once

#include <QString>

namespace tempolatch {

// The user-visible texts of notes, by their resource numbers.
enum class NoteString {
    EditInWordButton = 16,
    DrawButton = 18,
    EditInWordPrompt = 23,
    ImportFilter = 40,
    ExportNoteFailed = 68,
    ExportFilter = 88,
    NoteTooLarge = 91,
    TimerNoteTooLarge = 92,
    ExportNoteFilter = 224,
};

QString noteString(NoteString id);

// What the ink control shows in place of a note it cannot read.
QString noteCannotBeDisplayedText();

}  // namespace tempolatch
