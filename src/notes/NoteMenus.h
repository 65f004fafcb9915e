#pragma once

#include <QList>

class QMenu;

namespace tempolatch {

class DialogBar;
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
    // The classic bar's "Edit": the editing commands with Import... and
    // Export...; Writing Mode and the word processor are buttons of that bar.
    static void fillClassicEditMenu(QMenu* menu, InkControl* control);
    // The bar of a page that edits a note. Soft keys: "View" and "Menu";
    // classic: "Edit" and "View" with the buttons "Draw" (ticked in writing
    // view) and "Edit In Word".
    static void fillPageBar(DialogBar* bar, InkControl* control);
};

}  // namespace tempolatch
