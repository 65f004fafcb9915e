#pragma once

#include <QHash>
#include <QToolBar>

class QDialog;
class QMenu;

namespace tempolatch {

class Settings;

// The command bar of a setup dialog, in the form the style flags choose:
// soft keys (a bar under the dialog's content whose buttons are popups or
// commands) or the classic bar (a tool bar above it with a popup and text
// buttons). Both forms offer the same command ids; a chosen command
// arrives as commandTriggered(id).
class DialogBar : public QToolBar {
    Q_OBJECT
public:
    enum class Kind { Classic, SoftKeys };

    // The kind the settings ask for (style flag bit 8).
    static Kind configuredKind(const Settings& settings);

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
    // Delete key in the content runs Delete (2003).
    void frame(QDialog* dialog, QWidget* content, const QString& helpTopic);

    // The action of a command; nullptr when this bar does not offer it.
    QAction* command(int id) const { return m_commands.value(id); }
    void setCommandEnabled(int id, bool enabled);
    bool isCommandEnabled(int id) const;

Q_SIGNALS:
    void commandTriggered(int id);

private:
    Kind m_kind;
    QHash<int, QAction*> m_commands;
};

}  // namespace tempolatch
