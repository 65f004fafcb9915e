#pragma once

#include <QHash>
#include <QList>
#include <QToolBar>
#include <utility>

class QAbstractItemView;
class QDialog;
class QMenu;

namespace tempolatch {

// The command bar of a dialog, in the form its owner asks for (the settings'
// menu style, see settings/BarKind.h): soft keys (a bar under the dialog's content whose buttons
// are popups or commands) or the classic bar (a tool bar above it with a popup and text buttons).
// Both forms offer the same command ids; a chosen command arrives as commandTriggered(id).
class DialogBar : public QToolBar {
    Q_OBJECT
public:
    enum class Kind { Classic, SoftKeys };

    explicit DialogBar(Kind kind, QWidget* parent = nullptr);

    Kind kind() const { return m_kind; }

    // A button on the bar that opens a popup.
    QMenu* addPopup(const QString& text, const QString& objectName);
    // A command in a popup, or a button on the bar when menu is nullptr.
    QAction* addCommand(QMenu* menu, int id, const QString& text);
    // Pushes the next buttons to the far end of the bar.
    void addStretch();

    // Lays out a setup dialog around its content: the classic bar above it,
    // the soft keys beside OK below it. F1 opens the help at the topic; the
    // Delete key in the content runs `deleteCommand` (none when 0).
    void frame(QDialog* dialog, QWidget* content, const QString& helpTopic, int deleteCommand = 0);

    // Gives a dialog's item view a context menu of the bar's commands
    // (id and text, 0 a separator), greyed as on the bar. A right click
    // first selects the item under the pointer; the Menu key and Shift+F10
    // open it at the current item. Either way the commands act on the
    // selected item, as they do from the bar.
    void addContextMenu(QAbstractItemView* view, const QList<std::pair<int, QString>>& items);
    // That menu, ready to show (its items send commandTriggered).
    QMenu* createContextMenu(QWidget* parent) const;

    // The action of a command; nullptr when this bar does not offer it.
    QAction* command(int id) const { return m_commands.value(id); }
    void setCommandEnabled(int id, bool enabled);
    bool isCommandEnabled(int id) const;

Q_SIGNALS:
    void commandTriggered(int id);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showContextMenu(const QPoint& globalPos);

    QString m_mnemonics;  // the letters the bar's buttons have taken
    QAbstractItemView* m_menuView = nullptr;
    QList<std::pair<int, QString>> m_menuItems;
    Kind m_kind;
    QHash<int, QAction*> m_commands;
};

}  // namespace tempolatch
