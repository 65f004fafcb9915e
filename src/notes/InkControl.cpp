#include "notes/InkControl.h"

#include <QAction>
#include <QLabel>
#include <QStackedWidget>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <QToolBar>
#include <QVBoxLayout>

#include "notes/InkSurface.h"
#include "notes/NoteCommands.h"
#include "notes/NoteDocument.h"
#include "notes/NoteFiles.h"
#include "notes/RecordingToolbar.h"
#include "notes/WordProcessorEdit.h"
#include "platform/StringTable.h"

namespace tempolatch {

namespace {

int zoomOfCommand(int id) {
    switch (id) {
        case NoteCommand::Zoom75:
            return 75;
        case NoteCommand::Zoom150:
            return 150;
        case NoteCommand::Zoom200:
            return 200;
        default:
            return 100;
    }
}

// Empties the document as one step of an edit block the caller has open.
void removeAllText(QTextCursor& cursor) {
    cursor.select(QTextCursor::Document);
    cursor.removeSelectedText();
    NoteDocument::leaveList(cursor);
    cursor.setBlockFormat(QTextBlockFormat());
    cursor.setBlockCharFormat(QTextCharFormat());
}

}  // namespace

InkControl::InkControl(platform::Ui& ui, QWidget* parent) : QWidget(parent), m_ui(ui) {
    m_pages = new QStackedWidget(this);

    m_editorPage = new QWidget(m_pages);
    auto* editorLayout = new QVBoxLayout(m_editorPage);
    editorLayout->setContentsMargins(0, 0, 0, 0);
    editorLayout->setSpacing(0);
    m_formatBar = new QToolBar(m_editorPage);
    m_formatBar->setObjectName(QStringLiteral("formatBar"));
    m_surface = new InkSurface(m_editorPage);
    m_surface->setObjectName(QStringLiteral("inkSurface"));
    m_recordingBar = new RecordingToolbar(
        m_ui, m_surface, [this] { return content(); }, m_editorPage);
    m_recordingBar->hide();
    editorLayout->addWidget(m_formatBar);
    editorLayout->addWidget(m_recordingBar);
    editorLayout->addWidget(m_surface, 1);

    m_foreignLabel = new QLabel(cannotDisplayText(), m_pages);
    m_foreignLabel->setObjectName(QStringLiteral("cannotDisplayLabel"));
    m_foreignLabel->setAlignment(Qt::AlignCenter);
    m_foreignLabel->setWordWrap(true);
    m_foreignLabel->setMargin(12);

    m_pages->addWidget(m_editorPage);
    m_pages->addWidget(m_foreignLabel);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_pages);
    setFocusProxy(m_surface);

    QFont bold = font();
    bold.setBold(true);
    QFont italic = font();
    italic.setItalic(true);
    QFont underline = font();
    underline.setUnderline(true);
    addFormatAction(NoteCommand::Bold, QStringLiteral("boldAction"), QKeySequence::Bold)
        ->setFont(bold);
    addFormatAction(NoteCommand::Italic, QStringLiteral("italicAction"), QKeySequence::Italic)
        ->setFont(italic);
    addFormatAction(NoteCommand::Underline, QStringLiteral("underlineAction"),
                    QKeySequence::Underline)
        ->setFont(underline);
    addFormatAction(NoteCommand::Bullets, QStringLiteral("bulletsAction"), QKeySequence());
    addFormatAction(NoteCommand::Numbering, QStringLiteral("numberingAction"), QKeySequence());
    // The handheld's record button, as a key.
    auto* recordKey = new QAction(this);
    recordKey->setObjectName(QStringLiteral("recordKey"));
    recordKey->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    recordKey->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    addAction(recordKey);
    connect(recordKey, &QAction::triggered, this, &InkControl::toggleRecording);
    connect(m_recordingBar, &RecordingToolbar::statesChanged, this,
            &InkControl::commandStatesChanged);
    connect(m_surface, &InkSurface::clipClicked, this, &InkControl::commandStatesChanged);

    QTextDocument* document = m_surface->document();
    auto changed = [this] {
        if (!m_loading)
            Q_EMIT contentChanged();
    };
    connect(document, &QTextDocument::contentsChanged, this, changed);
    connect(m_surface, &InkSurface::strokesChanged, this, changed);
    auto states = [this] {
        if (!m_loading)
            Q_EMIT commandStatesChanged();
    };
    connect(document, &QTextDocument::modificationChanged, this, states);
    connect(document, &QTextDocument::undoAvailable, this, states);
    connect(document, &QTextDocument::redoAvailable, this, states);
    connect(m_surface, &QTextEdit::selectionChanged, this, states);
    connect(m_surface, &QTextEdit::cursorPositionChanged, this, states);
    connect(m_surface, &QTextEdit::currentCharFormatChanged, this, states);
    connect(this, &InkControl::commandStatesChanged, this, &InkControl::refreshFormatBar);
    refreshFormatBar();
}

InkControl::~InkControl() = default;

QString InkControl::cannotDisplayText() {
    return QStringLiteral(
        "This note was made by another program and cannot be displayed. It is kept "
        "unchanged; Clear All removes it.");
}

QAction* InkControl::addFormatAction(int commandId, const QString& objectName,
                                     const QKeySequence& keys) {
    static const QHash<int, QString> labels = {
        {NoteCommand::Bold, QStringLiteral("B")},
        {NoteCommand::Italic, QStringLiteral("I")},
        {NoteCommand::Underline, QStringLiteral("U")},
        {NoteCommand::Bullets, QStringLiteral("\u2022")},
        {NoteCommand::Numbering, QStringLiteral("1.")},
    };
    QAction* action = m_formatBar->addAction(labels.value(commandId));
    action->setObjectName(objectName);
    action->setToolTip(noteCommandText(commandId));
    action->setCheckable(true);
    action->setData(commandId);
    if (!keys.isEmpty()) {
        action->setShortcut(keys);
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        addAction(action);
    }
    connect(action, &QAction::triggered, this, [this, commandId] { execute(commandId); });
    return action;
}

void InkControl::setNoteData(const QByteArray& bytes) {
    // A recording ends with the note it was made in, before that goes:
    // its clip must not land in the note loaded now.
    m_recordingBar->stop();
    m_loading = true;
    m_original = bytes;
    const NoteData note = NoteData::fromBytes(bytes);
    QTextDocument* document = m_surface->document();
    // Loading is no step the user could undo.
    document->setUndoRedoEnabled(false);
    document->clear();
    m_surface->setStrokes({});
    m_foreign.clear();
    m_otherSections = note.content().otherSections;
    if (note.isReadable()) {
        QTextCursor cursor(document);
        NoteDocument::insert(cursor, note.content().text, true, note.content().clips);
        m_surface->setStrokes(note.content().strokes);
    } else {
        m_foreign = bytes;
    }
    document->setUndoRedoEnabled(true);
    document->setModified(false);
    m_foreignModified = false;
    m_surface->setTextCursor(QTextCursor(document));
    m_surface->setCurrentCharFormat(QTextCharFormat());
    showForeign(isForeign());
    m_loading = false;
    Q_EMIT contentChanged();
    Q_EMIT commandStatesChanged();
}

QByteArray InkControl::noteData() const {
    if (isForeign())
        return m_foreign;
    if (!isModified())
        return m_original;
    return NoteData::encode(content());
}

NoteContent InkControl::content() const {
    NoteContent content;
    content.text = NoteDocument::toNoteText(m_surface->document(), &content.clips);
    content.strokes = m_surface->strokes();
    content.otherSections = m_otherSections;
    return content;
}

NoteData InkControl::note() const {
    return NoteData::fromBytes(noteData());
}

void InkControl::clear() {
    setNoteData({});
}

bool InkControl::isModified() const {
    // Whoever reads the note to keep it (OK, a timer switch) keeps the
    // recording in progress too.
    if (m_recordingBar->isRecording())
        m_recordingBar->stop();
    return isForeign() ? m_foreignModified : m_surface->document()->isModified();
}

void InkControl::setModified(bool modified) {
    if (isForeign())
        m_foreignModified = modified;
    else
        m_surface->document()->setModified(modified);
    Q_EMIT commandStatesChanged();
}

void InkControl::showForeign(bool foreign) {
    m_pages->setCurrentWidget(foreign ? static_cast<QWidget*>(m_foreignLabel) : m_editorPage);
}

InkControl::View InkControl::view() const {
    return m_surface->isWriting() ? View::Writing : View::Typing;
}

void InkControl::setView(View view) {
    const bool writing = view == View::Writing;
    m_surface->setWriting(writing);
    m_surface->setZoom(writing ? WritingZoom : TypingZoom);
    m_formatBar->setVisible(!writing);
    Q_EMIT commandStatesChanged();
}

int InkControl::zoom() const {
    return m_surface->zoom();
}

void InkControl::setZoom(int percent) {
    m_surface->setZoom(percent);
    Q_EMIT commandStatesChanged();
}

bool InkControl::wrapsToWindow() const {
    return m_surface->lineWrapMode() != QTextEdit::NoWrap;
}

void InkControl::setWrapToWindow(bool wrap) {
    m_surface->setLineWrapMode(wrap ? QTextEdit::WidgetWidth : QTextEdit::NoWrap);
    Q_EMIT commandStatesChanged();
}

bool InkControl::execute(int id) {
    if (!isEnabled(id))
        return false;
    switch (id) {
        case NoteCommand::Undo:
            m_surface->undo();
            break;
        case NoteCommand::Redo:
            m_surface->redo();
            break;
        case NoteCommand::Cut:
            m_surface->cut();
            break;
        case NoteCommand::Copy:
            m_surface->copy();
            break;
        case NoteCommand::Paste:
            m_surface->paste();
            break;
        case NoteCommand::SelectAll:
            m_surface->selectAll();
            break;
        case NoteCommand::Delete:
            deleteSelection();
            break;
        case NoteCommand::ClearAll:
            clearAll();
            break;
        case NoteCommand::Zoom75:
        case NoteCommand::Zoom100:
        case NoteCommand::Zoom150:
        case NoteCommand::Zoom200:
            setZoom(zoomOfCommand(id));
            break;
        case NoteCommand::WrapToWindow:
            setWrapToWindow(!wrapsToWindow());
            break;
        case NoteCommand::WritingMode:
            setView(view() == View::Writing ? View::Typing : View::Writing);
            if (view() == View::Typing)
                m_surface->setFocus();
            break;
        case NoteCommand::EditInWord:
            WordProcessorEdit::run(m_ui, *this);
            break;
        case NoteCommand::Import:
            importFile();
            break;
        case NoteCommand::Export:
            exportFile();
            break;
        case NoteCommand::Bold:
        case NoteCommand::Italic:
        case NoteCommand::Underline:
            toggleFormat(id);
            break;
        case NoteCommand::Bullets:
        case NoteCommand::Numbering:
            toggleList(id);
            break;
        case NoteCommand::RecordingToolbar:
            setRecordingToolbarShown(m_recordingBar->isHidden());
            break;
        case NoteCommand::Record:
            m_recordingBar->record();
            break;
        case NoteCommand::StopVoice:
            m_recordingBar->stop();
            break;
        case NoteCommand::PlayPause:
            m_recordingBar->playPause();
            break;
        case NoteCommand::DeleteClip:
            m_recordingBar->deleteClip();
            break;
        default:
            return false;
    }
    Q_EMIT commandStatesChanged();
    return true;
}

bool InkControl::isEnabled(int id) const {
    if (!isEnabled())
        return false;
    if (isForeign()) {
        // A note we cannot read may only be replaced, or saved as it is.
        return id == NoteCommand::ClearAll || id == NoteCommand::Import ||
               id == NoteCommand::Export;
    }
    const bool typing = view() == View::Typing;
    const bool selection = m_surface->textCursor().hasSelection();
    switch (id) {
        case NoteCommand::Undo:
            return m_surface->document()->isUndoAvailable();
        case NoteCommand::Redo:
            return m_surface->document()->isRedoAvailable();
        case NoteCommand::Cut:
        case NoteCommand::Delete:
            return selection && typing;
        case NoteCommand::Copy:
            return selection;
        case NoteCommand::Paste:
            return typing && m_surface->canPaste();
        case NoteCommand::RecordingToolbar:
            return true;
        case NoteCommand::Record:
        case NoteCommand::StopVoice:
        case NoteCommand::PlayPause:
        case NoteCommand::DeleteClip:
            return isRecordingCommandEnabled(id);
        case NoteCommand::Bold:
        case NoteCommand::Italic:
        case NoteCommand::Underline:
        case NoteCommand::Bullets:
        case NoteCommand::Numbering:
            return typing;
        default:
            return !noteCommandText(id).isEmpty();
    }
}

bool InkControl::isChecked(int id) const {
    const QTextCharFormat format = m_surface->currentCharFormat();
    const QTextList* list = m_surface->textCursor().currentList();
    const NoteList kind = list ? NoteDocument::listKind(list->format().style()) : NoteList::None;
    switch (id) {
        case NoteCommand::WritingMode:
            return view() == View::Writing;
        case NoteCommand::Zoom75:
        case NoteCommand::Zoom100:
        case NoteCommand::Zoom150:
        case NoteCommand::Zoom200: {
            // Zooms without an item of their own tick 100%.
            const int zoom = m_surface->zoom();
            const bool listed = zoom == 75 || zoom == 100 || zoom == 150 || zoom == 200;
            return zoomOfCommand(id) == (listed ? zoom : 100);
        }
        case NoteCommand::WrapToWindow:
            return wrapsToWindow();
        case NoteCommand::RecordingToolbar:
            return !m_recordingBar->isHidden();
        case NoteCommand::Bold:
            return NoteDocument::noteFormat(format) & NoteBold;
        case NoteCommand::Italic:
            return NoteDocument::noteFormat(format) & NoteItalic;
        case NoteCommand::Underline:
            return NoteDocument::noteFormat(format) & NoteUnderline;
        case NoteCommand::Bullets:
            return kind == NoteList::Bullet;
        case NoteCommand::Numbering:
            return kind == NoteList::Numbered;
        default:
            return false;
    }
}

void InkControl::clearAll() {
    if (isForeign()) {
        setNoteData({});
        setModified(true);
        return;
    }
    QTextCursor cursor(m_surface->document());
    cursor.beginEditBlock();
    removeAllText(cursor);
    m_surface->replaceStrokes({});
    cursor.endEditBlock();
    m_surface->setCurrentCharFormat(QTextCharFormat());
    setModified(true);
}

void InkControl::deleteSelection() {
    QTextCursor cursor = m_surface->textCursor();
    cursor.removeSelectedText();
    m_surface->setTextCursor(cursor);
}

void InkControl::toggleFormat(int id) {
    const bool on = !isChecked(id);
    QTextCharFormat format;
    if (id == NoteCommand::Bold)
        format.setFontWeight(on ? QFont::Bold : QFont::Normal);
    else if (id == NoteCommand::Italic)
        format.setFontItalic(on);
    else
        format.setFontUnderline(on);
    m_surface->mergeCurrentCharFormat(format);
}

void InkControl::toggleList(int id) {
    const NoteList kind = id == NoteCommand::Bullets ? NoteList::Bullet : NoteList::Numbered;
    QTextCursor cursor = m_surface->textCursor();
    cursor.beginEditBlock();
    if (QTextList* list = cursor.currentList()) {
        if (NoteDocument::listKind(list->format().style()) == kind) {
            // Off again: every paragraph of the selection leaves its list.
            QTextDocument* document = m_surface->document();
            const QTextBlock last = document->findBlock(cursor.selectionEnd());
            for (QTextBlock block = document->findBlock(cursor.selectionStart()); block.isValid();
                 block = block.next()) {
                QTextCursor at(block);
                NoteDocument::leaveList(at);
                if (block == last)
                    break;
            }
        } else {
            QTextListFormat format = list->format();
            format.setStyle(NoteDocument::listStyle(kind, format.indent() - 1));
            list->setFormat(format);
        }
    } else {
        QTextListFormat format;
        format.setStyle(NoteDocument::listStyle(kind, 0));
        format.setIndent(1);
        cursor.createList(format);
    }
    cursor.endEditBlock();
}

void InkControl::replaceText(const NoteText& text) {
    if (isForeign())
        return;
    // The word processor saw each clip as its marker: where a marker came
    // back the clip goes, the others follow at the end.
    QList<NoteClip> clips;
    NoteDocument::toNoteText(m_surface->document(), &clips);
    QTextCursor cursor(m_surface->document());
    cursor.beginEditBlock();
    removeAllText(cursor);
    NoteDocument::insert(cursor, text.withClipMarks(clips), true, clips);
    cursor.endEditBlock();
    setModified(true);
}

void InkControl::replaceNote(const NoteData& note) {
    if (!note.isReadable()) {
        // Kept as it came; it can still be exported or cleared.
        setNoteData(note.bytes());
        setModified(true);
        return;
    }
    if (isForeign())
        setNoteData({});
    QTextCursor cursor(m_surface->document());
    cursor.beginEditBlock();
    removeAllText(cursor);
    NoteDocument::insert(cursor, note.content().text, true, note.content().clips);
    m_surface->replaceStrokes(note.content().strokes);
    m_otherSections = note.content().otherSections;
    cursor.endEditBlock();
    setModified(true);
}

void InkControl::importFile() {
    if (const std::optional<NoteData> imported = NoteFiles::importWithDialog(m_ui, this))
        replaceNote(*imported);
}

void InkControl::exportFile() {
    NoteFiles::exportWithDialog(m_ui, note(), str::NoteExportFilter, this);
}

void InkControl::setAudioDevices(AudioDevices& devices) {
    m_recordingBar->setDevices(devices);
}

void InkControl::setRecordingToolbarShown(bool shown) {
    m_recordingBar->setVisible(shown);
    Q_EMIT commandStatesChanged();
}

void InkControl::toggleRecording() {
    if (isForeign() || !isEnabled())
        return;
    if (m_recordingBar->isHidden())
        setRecordingToolbarShown(true);
    m_recordingBar->toggleRecording();
}

bool InkControl::isRecordingCommandEnabled(int id) const {
    const bool recording = m_recordingBar->isRecording();
    switch (id) {
        case NoteCommand::Record:
            return !recording;
        case NoteCommand::StopVoice:
            return recording || m_recordingBar->isPlaying();
        case NoteCommand::PlayPause:
            return !recording && m_recordingBar->canPlay();
        default:
            return !recording && m_recordingBar->hasClip();
    }
}

void InkControl::refreshFormatBar() {
    for (QAction* action : m_formatBar->actions()) {
        const int id = action->data().toInt();
        action->setEnabled(isEnabled(id));
        action->setChecked(isChecked(id));
    }
    m_formatBar->setVisible(view() == View::Typing && !isForeign());
}

}  // namespace tempolatch
