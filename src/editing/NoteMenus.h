#pragma once

#include <QList>

class QMenu;

namespace tempolatch {

class InkControl;

// Menus of note commands for whoever embeds an ink control. Each item runs
// its command on the control; the menu sets its items' greying and ticks
// from the control each time it opens.
class NoteMenus {
public:
    // Adds the commands in order; 0 adds a separator.
    static void addCommands(QMenu* menu, InkControl* control, const QList<int>& ids);
    // "View": the zoom items, Wrap To Window, Recording Toolbar.
    static void fillViewMenu(QMenu* menu, InkControl* control);
    // "Menu": Undo, Redo, Cut, Copy, Paste, "Edit", Writing Mode, Edit in
    // Word Mobile, "Tools".
    static void fillEditMenu(QMenu* menu, InkControl* control);
};

}  // namespace tempolatch
