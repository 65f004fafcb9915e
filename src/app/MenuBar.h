#pragma once

#include <QHash>
#include <QToolBar>
#include <initializer_list>

class QMenu;

namespace tempolatch {

class CommandTable;
struct ViewMenuState;

// The main window's menu bar in one of its two forms:
// - Classic: a tool bar at the top with "New", the "View" and "Tools"
//   popups and the Timers and Quick Summary image buttons;
// - SoftKeys: a bar at the bottom with "New" on the left and "Menu" on the
//   right, which holds everything else.
// Both offer the same command ids; a chosen command arrives as
// commandTriggered(id). Opening a popup is announced first, so that the
// window can check and grey its items. A command that has no handler in the
// window's table is greyed whatever the state of the window.
class MenuBar : public QToolBar {
    Q_OBJECT
public:
    enum class Kind { Classic, SoftKeys };

    // Images of the classic bar's image list, in their order.
    enum Image { TimerIdle = 0, QuickSummaryImage = 1, TimerRunning = 2 };

    // A menu item: command id and text; id 0 is a separator.
    struct Item {
        int id = 0;
        const char* text = nullptr;
    };

    // `commands` must outlive the bar.
    MenuBar(Kind kind, const CommandTable& commands, QWidget* parent = nullptr);

    Kind kind() const { return m_kind; }

    // The action of a command (nullptr when this bar does not offer it).
    QAction* command(int id) const { return m_commands.value(id); }
    QList<int> commandIds() const { return m_commands.keys(); }
    // The popup a bar button opens: 40400 Edit, 40031 View, 40006 Tools and
    // 40401 Help (classic), 117 (soft keys).
    QMenu* popup(int buttonId) const { return m_popups.value(buttonId); }
    QMenu* viewMenu() const { return m_viewMenu; }
    QMenu* arrangeByMenu() const { return m_arrangeByMenu; }

    void applyViewState(const ViewMenuState& state);
    void setClientSummaryEnabled(bool enabled);
    // A command's text as the window's state has it now ("Undo Delete 3
    // Entries"), and whether the state allows it.
    void setCommandText(int id, const QString& text, bool allowed);
    // Soft keys: the Timers item shows the count; classic: the button's image.
    void setTimersInUse(int count);
    int timersImage() const { return m_timersImage; }
    // A notice about the timers in the Timers command's status and tooltip
    // (empty: none).
    void setTimersNotice(const QString& notice);

Q_SIGNALS:
    void commandTriggered(int id);
    void popupAboutToShow(int buttonId);

private:
    void addNewButton();
    void buildClassic();
    void buildSoftKeys();
    void buildViewMenu(QMenu* view);
    QMenu* addPopupButton(int buttonId, const QString& text);
    QAction* addCommand(QMenu* menu, int id, const QString& text);
    QAction* makeCommand(int id, const QString& text);
    // Enabled when the window's state allows it and it has a handler.
    void setCommandEnabled(int id, bool allowed);
    void addCommands(QMenu* menu, std::initializer_list<Item> items);
    QMenu* addSubmenu(QMenu* menu, const char* title, std::initializer_list<Item> items);
    void addRadioGroup(QMenu* menu, int firstId, const QStringList& texts);

    Kind m_kind;
    const CommandTable& m_table;
    QHash<int, QAction*> m_commands;
    QHash<int, QMenu*> m_popups;
    QMenu* m_viewMenu = nullptr;
    QMenu* m_arrangeByMenu = nullptr;
    int m_timersImage = TimerIdle;
    QString m_barMnemonics;  // the letters the bar's buttons have taken
};

}  // namespace tempolatch
