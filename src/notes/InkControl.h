#pragma once

#include <QByteArray>
#include <QWidget>

#include "notes/NoteData.h"

class QLabel;
class QStackedWidget;
class QToolBar;
class QAction;

namespace tempolatch {

namespace platform {
class Ui;
}

class AudioDevices;
class InkSurface;
class RecordingToolbar;

// The note editor that pages and the Timers dialog embed: typed rich text
// (typing view) and pen strokes (writing view), on one page, so that
// switching views keeps both.
//
// Voice clips sit in the text; the recording toolbar (hidden at first)
// records them where the cursor is, and Ctrl+R starts and stops a
// recording, showing the toolbar when it is hidden.
//
// The control gives back exactly the bytes it was given until its content
// changes. A note it cannot read (another program's, or damaged) is shown
// as such and kept byte for byte; only Clear All or an import replace it.
//
// Its owner drives it by command id (NoteCommand) and builds menus from
// isEnabled and isChecked, as NoteMenus does.
class InkControl : public QWidget {
    Q_OBJECT

public:
    enum class View { Typing = 0, Writing = 2 };

    static constexpr int TypingZoom = 100;
    static constexpr int WritingZoom = 150;

    // Imports, exports and the word processor talk to the user through ui.
    explicit InkControl(platform::Ui& ui, QWidget* parent = nullptr);
    ~InkControl() override;

    // Loads a note (empty bytes: no note), marks the control unchanged and
    // forgets the undo history.
    void setNoteData(const QByteArray& bytes);
    // Empty when there is no content.
    QByteArray noteData() const;
    // The note as it stands, with its content.
    NoteData note() const;
    // Empties the control, unchanged, as a fresh one.
    void clear();

    bool isModified() const;
    void setModified(bool modified);
    // Showing a note that cannot be read.
    bool isForeign() const { return !m_foreign.isEmpty(); }

    View view() const;
    void setView(View view);
    int zoom() const;
    void setZoom(int percent);
    bool wrapsToWindow() const;
    void setWrapToWindow(bool wrap);

    // Runs a command; false when it is disabled (or unknown).
    bool execute(int commandId);
    using QWidget::isEnabled;
    // False for every command while the control itself is disabled.
    bool isEnabled(int commandId) const;
    bool isChecked(int commandId) const;

    // Replaces the text as one undo step and marks the note changed; the
    // drawing stays (a word processor hands back text only).
    void replaceText(const NoteText& text);
    // Replaces the whole note (an import) and marks it changed.
    void replaceNote(const NoteData& note);

    InkSurface* surface() const { return m_surface; }
    RecordingToolbar* recordingToolbar() const { return m_recordingBar; }
    // Where voice notes are recorded from and played to (the system's
    // default devices unless set).
    void setAudioDevices(AudioDevices& devices);

    // Shown in place of a note the control cannot read.
    static QString cannotDisplayText();

Q_SIGNALS:
    // The text or the drawing changed (also by undo and redo).
    void contentChanged();
    // Something a command's state depends on changed: selection, undo
    // history, view, zoom, formats.
    void commandStatesChanged();

private:
    // What the editor holds (not a foreign note).
    NoteContent content() const;
    void showForeign(bool foreign);
    void clearAll();
    void deleteSelection();
    void toggleFormat(int commandId);
    void toggleList(int commandId);
    void importFile();
    void exportFile();
    void refreshFormatBar();
    void setRecordingToolbarShown(bool shown);
    void toggleRecording();
    bool isRecordingCommandEnabled(int commandId) const;
    QAction* addFormatAction(int commandId, const QString& objectName, const QKeySequence& keys);

    platform::Ui& m_ui;
    QStackedWidget* m_pages = nullptr;
    QWidget* m_editorPage = nullptr;
    QToolBar* m_formatBar = nullptr;
    RecordingToolbar* m_recordingBar = nullptr;
    InkSurface* m_surface = nullptr;
    QLabel* m_foreignLabel = nullptr;
    QByteArray m_original;               // the bytes loaded, handed back while unchanged
    QByteArray m_foreign;                // the bytes of a note that cannot be read
    QList<NoteSection> m_otherSections;  // of a later version, kept through edits
    bool m_foreignModified = false;
    bool m_loading = false;
};

}  // namespace tempolatch
