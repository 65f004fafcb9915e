#include "notes/RecordingToolbar.h"

#include <QLabel>
#include <QProgressBar>

#include "notes/ClipObject.h"
#include "notes/InkSurface.h"
#include "notes/NoteClipSection.h"
#include "notes/NoteData.h"
#include "notes/SystemAudioDevices.h"
#include "notes/VoicePlayer.h"
#include "notes/VoiceRecorder.h"
#include "platform/Ui.h"

namespace tempolatch {

namespace {

QString minutesText(qint64 ms) {
    const qint64 seconds = ms / 1000;
    return QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

QAction* addButton(QToolBar* bar, const QString& text, const QString& name, const QString& tip) {
    QAction* action = bar->addAction(text);
    action->setObjectName(name);
    action->setToolTip(tip);
    return action;
}

}  // namespace

RecordingToolbar::RecordingToolbar(platform::Ui& ui, InkSurface* surface,
                                   std::function<NoteContent()> content, QWidget* parent)
    : QToolBar(parent), m_ui(ui), m_surface(surface), m_content(std::move(content)) {
    setObjectName(QStringLiteral("recordingToolbar"));
    m_record = addButton(this, QStringLiteral("\u25cf Record"), QStringLiteral("recordAction"),
                         QStringLiteral("Record a voice note where the cursor is (Ctrl+R)"));
    m_stop = addButton(this, QStringLiteral("\u25a0 Stop"), QStringLiteral("stopAction"),
                       QStringLiteral("Stop recording or playing"));
    m_play = addButton(this, QStringLiteral("\u25b6 Play"), QStringLiteral("playAction"),
                       QStringLiteral("Play or pause the selected voice note"));
    m_delete = addButton(this, QStringLiteral("Delete Clip"), QStringLiteral("deleteClipAction"),
                         QStringLiteral("Delete the selected voice note"));
    addSeparator();
    m_elapsed = new QLabel(minutesText(0), this);
    m_elapsed->setObjectName(QStringLiteral("elapsedLabel"));
    m_elapsed->setMinimumWidth(m_elapsed->fontMetrics().horizontalAdvance(QStringLiteral("00:00")));
    addWidget(m_elapsed);
    m_meter = new QProgressBar(this);
    m_meter->setObjectName(QStringLiteral("levelMeter"));
    m_meter->setRange(0, 100);
    m_meter->setTextVisible(false);
    m_meter->setMaximumWidth(90);
    m_meter->setMaximumHeight(12);
    m_meter->setToolTip(QStringLiteral("Recording level"));
    addWidget(m_meter);
    m_room = new QLabel(this);
    m_room->setObjectName(QStringLiteral("roomLabel"));
    m_room->setContentsMargins(8, 0, 0, 0);
    addWidget(m_room);

    connect(m_record, &QAction::triggered, this, &RecordingToolbar::record);
    connect(m_stop, &QAction::triggered, this, &RecordingToolbar::stop);
    connect(m_play, &QAction::triggered, this, &RecordingToolbar::playPause);
    connect(m_delete, &QAction::triggered, this, &RecordingToolbar::deleteClip);
    connect(m_surface, &QTextEdit::cursorPositionChanged, this, &RecordingToolbar::updateActions);
    connect(m_surface, &InkSurface::clipClicked, this, &RecordingToolbar::playPause);
    setDevices(SystemAudioDevices::shared());
}

RecordingToolbar::~RecordingToolbar() = default;

void RecordingToolbar::setDevices(AudioDevices& devices) {
    if (m_recorder)
        finishRecording();
    m_recorder = std::make_unique<VoiceRecorder>(devices);
    m_player = std::make_unique<VoicePlayer>(devices);
    connect(m_recorder.get(), &VoiceRecorder::progressed, this, &RecordingToolbar::showProgress);
    connect(m_recorder.get(), &VoiceRecorder::limitReached, this,
            &RecordingToolbar::finishRecording);
    connect(m_player.get(), &VoicePlayer::stateChanged, this, [this] {
        updateActions();
        Q_EMIT statesChanged();
    });
    refresh();
}

bool RecordingToolbar::isRecording() const {
    return m_recorder->isRecording();
}

bool RecordingToolbar::isPlaying() const {
    return m_player->isPlaying();
}

bool RecordingToolbar::hasClip() const {
    return ClipObject::clipPosition(m_surface->textCursor()) >= 0;
}

bool RecordingToolbar::canPlay() const {
    if (isPlaying())
        return true;
    const std::optional<NoteClip> clip = ClipObject::clipAt(
        m_surface->document(), ClipObject::clipPosition(m_surface->textCursor()));
    return clip && !clip->damaged;
}

void RecordingToolbar::complain(const QString& text) {
    m_ui.message(text, platform::MessageIcon::Warning, this);
}

void RecordingToolbar::record() {
    if (isRecording())
        return;
    m_player->stop();
    QString error;
    m_insertAt = m_surface->textCursor();
    m_insertAt.setPosition(m_insertAt.selectionEnd());
    if (!m_recorder->start([this](const NoteClip* clip) { return noteSize(clip); }, &error)) {
        m_insertAt = QTextCursor();
        complain(error);
        return;
    }
    refresh();
    Q_EMIT statesChanged();
}

void RecordingToolbar::stop() {
    if (isRecording())
        finishRecording();
    else
        m_player->stop();
}

void RecordingToolbar::toggleRecording() {
    if (isRecording())
        finishRecording();
    else
        record();
}

void RecordingToolbar::finishRecording() {
    const NoteClip clip = m_recorder->stop();
    if (clip.duration > 0 && !m_insertAt.isNull()) {
        ClipObject::insert(m_insertAt, clip);
        m_surface->setTextCursor(m_insertAt);
    }
    m_insertAt = QTextCursor();
    m_meter->setValue(0);
    refresh();
    Q_EMIT statesChanged();
}

void RecordingToolbar::playPause() {
    if (isPlaying()) {
        m_player->setPaused(!m_player->isPaused());
        return;
    }
    const std::optional<NoteClip> clip = ClipObject::clipAt(
        m_surface->document(), ClipObject::clipPosition(m_surface->textCursor()));
    if (!clip || isRecording())
        return;
    QString error;
    if (!m_player->play(*clip, &error))
        complain(error);
}

void RecordingToolbar::deleteClip() {
    const int position = ClipObject::clipPosition(m_surface->textCursor());
    if (position < 0 || isRecording())
        return;
    m_player->stop();
    QTextCursor cursor = m_surface->textCursor();
    cursor.setPosition(position);
    cursor.setPosition(position + 1, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
    m_surface->setTextCursor(cursor);
    refresh();
}

void RecordingToolbar::showProgress() {
    m_elapsed->setText(minutesText(m_recorder->elapsedMs()));
    m_meter->setValue(qRound(m_recorder->level() * 100));
    showRoom(m_recorder->roomLeft());
}

void RecordingToolbar::showRoom(qsizetype bytes) {
    const qint64 seconds = qint64(bytes) * 8 / VoiceEncoder::Bitrate;
    m_room->setText(QStringLiteral("%1 s left").arg(qMax<qint64>(seconds, 0)));
}

void RecordingToolbar::updateActions() {
    const bool recording = isRecording();
    m_record->setEnabled(!recording && isEnabled());
    m_stop->setEnabled(recording || isPlaying());
    m_play->setEnabled(!recording && canPlay());
    m_play->setText(isPlaying() && !m_player->isPaused() ? QStringLiteral("\u275a\u275a Pause")
                                                         : QStringLiteral("\u25b6 Play"));
    m_delete->setEnabled(!recording && hasClip());
}

void RecordingToolbar::refresh() {
    updateActions();
    // Sizing the note codes it: only when the note may have changed, not
    // at every move of the cursor.
    if (!isRecording() && isVisible())
        showRoom(NoteData::MaxSavedSize - noteSize(nullptr) - NoteClipSection::MaxHeaderSize -
                 VoiceRecorder::Slack);
}

qsizetype RecordingToolbar::noteSize(const NoteClip* clip) const {
    NoteContent content = m_content();
    if (clip) {
        content.clips.append(*clip);
        NoteParagraph mark;
        mark.append(QString(QChar(NoteClipMark)), 0);
        content.text.paragraphs.append(mark);
    }
    return NoteData::encode(content).size();
}

void RecordingToolbar::showEvent(QShowEvent* event) {
    QToolBar::showEvent(event);
    refresh();
}

}  // namespace tempolatch
