#pragma once

#include <QTextCursor>
#include <QToolBar>
#include <functional>
#include <memory>

#include "notes/NoteContent.h"

class QLabel;
class QProgressBar;

namespace tempolatch {

namespace platform {
class Ui;
}

class AudioDevices;
class InkSurface;
class VoicePlayer;
class VoiceRecorder;

// The voice recording bar of the ink control: Record, Stop, Play/Pause of
// the selected clip, Delete Clip, the time recorded, a level meter and the
// room the note has left. A recording goes into the text where the cursor
// was when it started.
class RecordingToolbar : public QToolBar {
    Q_OBJECT

public:
    // content: what the note holds now.
    RecordingToolbar(platform::Ui& ui, InkSurface* surface, std::function<NoteContent()> content,
                     QWidget* parent = nullptr);
    ~RecordingToolbar() override;

    // Stops what records or plays; later ones use these devices.
    void setDevices(AudioDevices& devices);

    bool isRecording() const;
    bool isPlaying() const;
    // A clip is selected (or next to the cursor) that can be played.
    bool canPlay() const;
    bool hasClip() const;

    // Each tells the user, and changes nothing, when it cannot be done.
    void record();
    void stop();
    void playPause();
    void deleteClip();
    void toggleRecording();
    // Updates the actions and the room left.
    void refresh();

Q_SIGNALS:
    // Recording or playing started or ended.
    void statesChanged();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void finishRecording();
    void updateActions();
    void showProgress();
    void showRoom(qsizetype bytes);
    void complain(const QString& text);

    platform::Ui& m_ui;
    InkSurface* m_surface;
    qsizetype noteSize(const NoteClip* clip) const;

    std::function<NoteContent()> m_content;
    std::unique_ptr<VoiceRecorder> m_recorder;
    std::unique_ptr<VoicePlayer> m_player;
    QTextCursor m_insertAt;
    QAction* m_record = nullptr;
    QAction* m_stop = nullptr;
    QAction* m_play = nullptr;
    QAction* m_delete = nullptr;
    QLabel* m_elapsed = nullptr;
    QProgressBar* m_meter = nullptr;
    QLabel* m_room = nullptr;
};

}  // namespace tempolatch
