#pragma once

#include <QList>
#include <QString>

namespace tempolatch {

// Command ids of the note editing commands, shared by the Note page, the
// entry summary and the Timers dialog, which build their menus from them.
namespace NoteCommand {
constexpr int Redo = 40011;
constexpr int Undo = 40014;
constexpr int Cut = 40015;
constexpr int Paste = 40017;
constexpr int Delete = 40018;
constexpr int SelectAll = 40019;
constexpr int EditInWord = 40029;
constexpr int Zoom75 = 40041;
constexpr int Zoom100 = 40042;
constexpr int Zoom150 = 40043;
constexpr int Zoom200 = 40044;
constexpr int WrapToWindow = 40045;
constexpr int RecordingToolbar = 40074;
constexpr int WritingMode = 40120;
constexpr int Copy = 40126;
constexpr int ClearAll = 40136;
constexpr int Import = 40266;
constexpr int Export = 40267;
// The control's own formatting buttons.
constexpr int Bold = 43001;
constexpr int Italic = 43002;
constexpr int Underline = 43003;
constexpr int Bullets = 43004;
constexpr int Numbering = 43005;
// The recording toolbar's buttons (not menu items).
constexpr int Record = 43010;
constexpr int StopVoice = 43011;
constexpr int PlayPause = 43012;
constexpr int DeleteClip = 43013;
}  // namespace NoteCommand

// The menu text of a command ("Undo", "75%", "Import..."); empty for ids
// that are not note commands.
QString noteCommandText(int id);
// Every note command, in menu order.
QList<int> noteCommands();
// The zoom items, shown as one radio group.
bool isNoteRadioCommand(int id);
// Commands with a tick.
bool isNoteCheckableCommand(int id);

}  // namespace tempolatch
