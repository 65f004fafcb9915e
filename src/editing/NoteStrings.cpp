#include "editing/NoteStrings.h"

namespace tempolatch {

QString noteString(NoteString id) {
    switch (id) {
        case NoteString::EditInWordButton:
            return QStringLiteral("Edit In Word");
        case NoteString::DrawButton:
            return QStringLiteral("Draw");
        case NoteString::EditInWordPrompt:
            return QStringLiteral(
                "When finished editing and saving the note in Pocket Word, tap OK to update "
                "Tempolatch.");
        case NoteString::ImportFilter:
            return QStringLiteral(
                "Pocket Word Files|*.pwi;*.psw|Rich Text Files|*.rtf|Text Files|*.txt|Unicode "
                "Files|*.txt|");
        case NoteString::ExportNoteFailed:
            return QStringLiteral(
                "Export note failed. Please make sure there is enough storage space and try "
                "again.");
        case NoteString::ExportFilter:
            return QStringLiteral(
                "Pocket Word Files|*.psw|Pocket Notes Files|*.pwi|Rich Text Files|*.rtf|Text "
                "Files|*.txt|Unicode Files|*.txt|");
        case NoteString::NoteTooLarge:
            return QStringLiteral(
                "The note is too large. Please remove large voice recordings or drawings.");
        case NoteString::TimerNoteTooLarge:
            return QStringLiteral(
                "The note is too large. Please tap on the Note tab to remove large voice "
                "recordings or drawings.");
        case NoteString::ExportNoteFilter:
            return QStringLiteral(
                "Pocket Word (*.psw)|*.psw|Pocket Notes (*.pwi)|*.pwi|Rich Text Files "
                "(*.rtf)|*.rtf|Text Files (*.txt)|*.txt|Unicode Text Files (*.txt)|*.txt|");
    }
    return {};
}

QString noteCannotBeDisplayedText() {
    return QStringLiteral(
        "This note was made by another program and cannot be displayed. It is kept "
        "unchanged; Clear All removes it.");
}

}  // namespace tempolatch
