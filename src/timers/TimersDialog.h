#pragma once

#include <QDialog>
#include <QHash>
#include <optional>

#include "store/TimeEntry.h"

class QAction;
class QBoxLayout;
class QFrame;
class QToolBar;
class QTreeWidget;
class QTreeWidgetItem;

namespace tempolatch {

struct Context;
class InkControl;
class TimerKeeper;

// The list of timers in use with the note of the current one. Timers are
// added, paused and resumed, cancelled or completed here; closing the
// dialog leaves them running. Completing one closes the dialog and names
// the slot, which the main window turns into an entry.
class TimersDialog : public QDialog {
    Q_OBJECT
public:
    // The dialog's commands (the note commands come from NoteCommand).
    enum Command {
        CompleteTimer = 113,
        CancelTimer = 120,
        Pause = 40073,
        AddTimer = 42500,
        Draw = 42501,  // the writing view, from the tool bar
    };
    enum Column {
        DurationColumn,
        StartColumn,
        ClientColumn,
        ProjectColumn,
        PhaseColumn,
        TaskColumn
    };

    // `templateEntry` with `autoAdd`: Add Timer runs as soon as the dialog
    // is shown, starting from that entry.
    TimersDialog(Context& context, TimerKeeper& keeper, const TimeEntry* templateEntry = nullptr,
                 bool autoAdd = false, QWidget* parent = nullptr);

    // The slot completed before the dialog closed; -1 when none was.
    int completedSlot() const { return m_completed; }
    // The slot whose note is shown; -1 when no timer is in use.
    int currentSlot() const { return m_current; }

    QTreeWidget* list() const { return m_list; }
    InkControl* note() const { return m_note; }
    QToolBar* bar() const { return m_bar; }
    // The action of a dialog command, as the bar offers it.
    QAction* command(int id) const { return m_actions.value(id); }
    // True while the list is left of the note.
    bool sideBySide() const;

    // Runs a command of the dialog; false when it is disabled.
    bool execute(int id);
    // Add Timer: the Add Timer dialog, then a new running timer.
    void addTimer(const TimeEntry* from);

    void accept() override;
    void reject() override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildBar(bool softKeys);
    QAction* makeCommand(int id, const QString& text);
    void fill();
    QTreeWidgetItem* rowOf(int slot) const;
    void setRow(QTreeWidgetItem* row, int slot);
    // Shows slot i's note, first keeping the current one's unless told not to.
    void showSlot(int slot, bool keepNote);
    // Takes a changed note from the control into the current slot; true
    // when it did.
    bool keepNote();
    void updateStates();
    void updateElapsed();
    void rowChosen();
    void pause();
    void cancelTimer();
    void completeTimer();
    void arrange();

    Context& m_context;
    TimerKeeper& m_keeper;
    std::optional<TimeEntry> m_template;
    bool m_autoAdd = false;
    QToolBar* m_bar = nullptr;
    QHash<int, QAction*> m_actions;
    QTreeWidget* m_list = nullptr;
    InkControl* m_note = nullptr;
    QFrame* m_divider = nullptr;
    QBoxLayout* m_halves = nullptr;
    int m_current = -1;
    int m_completed = -1;
    bool m_closing = false;
};

}  // namespace tempolatch
