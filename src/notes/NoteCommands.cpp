#include "notes/NoteCommands.h"

namespace tempolatch {

namespace {

struct CommandText {
    int id;
    const char* text;
};

constexpr CommandText Texts[] = {
    {NoteCommand::Undo, "Undo"},
    {NoteCommand::Redo, "Redo"},
    {NoteCommand::Cut, "Cut"},
    {NoteCommand::Copy, "Copy"},
    {NoteCommand::Paste, "Paste"},
    {NoteCommand::SelectAll, "Select All"},
    {NoteCommand::Delete, "Delete"},
    {NoteCommand::ClearAll, "Clear All"},
    {NoteCommand::WritingMode, "Writing Mode"},
    {NoteCommand::EditInWord, "Edit in Word Mobile"},
    {NoteCommand::Import, "Import..."},
    {NoteCommand::Export, "Export..."},
    {NoteCommand::Zoom75, "75%"},
    {NoteCommand::Zoom100, "100%"},
    {NoteCommand::Zoom150, "150%"},
    {NoteCommand::Zoom200, "200%"},
    {NoteCommand::WrapToWindow, "Wrap To Window"},
    {NoteCommand::RecordingToolbar, "Recording Toolbar"},
    {NoteCommand::Bold, "Bold"},
    {NoteCommand::Italic, "Italic"},
    {NoteCommand::Underline, "Underline"},
    {NoteCommand::Bullets, "Bullets"},
    {NoteCommand::Numbering, "Numbering"},
};

}  // namespace

QString noteCommandText(int id) {
    for (const CommandText& c : Texts) {
        if (c.id == id)
            return QString::fromLatin1(c.text);
    }
    return {};
}

QList<int> noteCommands() {
    QList<int> ids;
    for (const CommandText& c : Texts)
        ids.append(c.id);
    return ids;
}

bool isNoteRadioCommand(int id) {
    return id >= NoteCommand::Zoom75 && id <= NoteCommand::Zoom200;
}

bool isNoteCheckableCommand(int id) {
    switch (id) {
        case NoteCommand::WritingMode:
        case NoteCommand::WrapToWindow:
        case NoteCommand::RecordingToolbar:
        case NoteCommand::Bold:
        case NoteCommand::Italic:
        case NoteCommand::Underline:
        case NoteCommand::Bullets:
        case NoteCommand::Numbering:
            return true;
        default:
            return isNoteRadioCommand(id);
    }
}

}  // namespace tempolatch
