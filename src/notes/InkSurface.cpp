#include "notes/InkSurface.h"

#include <QAbstractTextDocumentLayout>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScrollBar>
#include <QTabletEvent>
#include <QTextDocument>
#include <QTouchEvent>
#include <QtMath>

#include "notes/ClipObject.h"
#include "notes/NoteData.h"
#include "notes/NoteDocument.h"

namespace tempolatch {

// One change of the strokes on the document's undo stack: an added stroke,
// or the whole set replaced (Clear All, an import).
class StrokeUndoItem : public QAbstractUndoItem {
public:
    StrokeUndoItem(InkSurface* surface, NoteStroke added)
        : m_surface(surface), m_added(std::move(added)) {}
    StrokeUndoItem(InkSurface* surface, QList<NoteStroke> before, QList<NoteStroke> after)
        : m_surface(surface), m_before(std::move(before)), m_after(std::move(after)) {}

    void undo() override {
        if (m_added)
            m_surface->removeLastStroke();
        else
            m_surface->applyStrokes(m_before);
    }
    void redo() override {
        if (m_added)
            m_surface->appendStroke(*m_added);
        else
            m_surface->applyStrokes(m_after);
    }

private:
    InkSurface* m_surface;
    std::optional<NoteStroke> m_added;
    QList<NoteStroke> m_before;
    QList<NoteStroke> m_after;
};

namespace {
// Points closer than this (in note pixels) to the last one add nothing.
constexpr qreal MinPointDistance = 0.75;
// Room below the last stroke.
constexpr int DrawingMargin = 40;
}  // namespace

InkSurface::InkSurface(QWidget* parent) : QTextEdit(parent), m_baseFont(font()) {
    setAcceptRichText(true);
    setLineWrapMode(QTextEdit::WidgetWidth);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    viewport()->setAttribute(Qt::WA_AcceptTouchEvents);
    connect(verticalScrollBar(), &QScrollBar::rangeChanged, this, &InkSurface::extendScrollRange);
    ClipObject::install(this);
}

void InkSurface::setStrokes(const QList<NoteStroke>& strokes) {
    m_drawing.reset();
    applyStrokes(strokes);
}

void InkSurface::replaceStrokes(const QList<NoteStroke>& strokes) {
    if (strokes == m_strokes)
        return;
    pushUndo(new StrokeUndoItem(this, m_strokes, strokes));
    applyStrokes(strokes);
}

void InkSurface::pushUndo(QAbstractUndoItem* item) {
    // Inside an edit block: the item is one undo step (or part of the
    // caller's), and closing the block has the document recount whether it
    // is modified, which a bare custom item would not.
    QTextCursor cursor(document());
    cursor.beginEditBlock();
    document()->appendUndoItem(item);
    cursor.endEditBlock();
}

void InkSurface::applyStrokes(const QList<NoteStroke>& strokes) {
    m_strokes = strokes;
    extendScrollRange();
    viewport()->update();
    Q_EMIT strokesChanged();
}

void InkSurface::appendStroke(const NoteStroke& stroke) {
    m_strokes.append(stroke);
    extendScrollRange();
    viewport()->update();
    Q_EMIT strokesChanged();
}

void InkSurface::removeLastStroke() {
    if (!m_strokes.isEmpty())
        m_strokes.removeLast();
    viewport()->update();
    Q_EMIT strokesChanged();
}

void InkSurface::setWriting(bool writing) {
    if (writing == m_writing)
        return;
    cancelStroke();
    m_writing = writing;
    setReadOnly(writing);
    viewport()->setCursor(writing ? Qt::CrossCursor : Qt::IBeamCursor);
    extendScrollRange();
    viewport()->update();
}

void InkSurface::setZoom(int percent) {
    percent = qBound(25, percent, 400);
    if (percent == m_zoom)
        return;
    m_zoom = percent;
    QFont zoomed = m_baseFont;
    if (m_baseFont.pointSizeF() > 0)
        zoomed.setPointSizeF(m_baseFont.pointSizeF() * scale());
    else
        zoomed.setPixelSize(qMax(1, qRound(m_baseFont.pixelSize() * scale())));
    // The widget's font is the document's default, and a note's text has
    // no sizes of its own: the text zooms with it.
    setFont(zoomed);
    document()->setIndentWidth(40 * scale());
    setTabStopDistance(80 * scale());
    extendScrollRange();
    viewport()->update();
}

QPointF InkSurface::toNote(const QPointF& viewportPos) const {
    const QPointF scrolled(viewportPos.x() + horizontalScrollBar()->value(),
                           viewportPos.y() + verticalScrollBar()->value());
    return scrolled / scale();
}

void InkSurface::beginStroke(const QPointF& viewportPos) {
    m_drawing = NoteStroke{{toNote(viewportPos)}, m_penWidth, m_penColor.rgba()};
    viewport()->update();
}

void InkSurface::extendStroke(const QPointF& viewportPos) {
    if (!m_drawing)
        return;
    const QPointF point = toNote(viewportPos);
    const QPointF last = m_drawing->points.last();
    if (qAbs(point.x() - last.x()) + qAbs(point.y() - last.y()) < MinPointDistance)
        return;
    m_drawing->points.append(point);
    viewport()->update();
}

void InkSurface::endStroke() {
    if (!m_drawing)
        return;
    const NoteStroke stroke = *m_drawing;
    m_drawing.reset();
    pushUndo(new StrokeUndoItem(this, stroke));
    appendStroke(stroke);
}

void InkSurface::cancelStroke() {
    if (m_drawing) {
        m_drawing.reset();
        viewport()->update();
    }
}

void InkSurface::extendScrollRange() {
    if (m_extendingRange)
        return;
    // The editor sizes the range to the text alone; the drawing must be
    // reachable as well, and while writing a page of paper below all
    // content, so that a drawing can go on downwards.
    const int page = viewport()->height();
    const int text = qCeil(document()->size().height());
    qreal bottom = 0;
    for (const NoteStroke& s : m_strokes) {
        for (const QPointF& p : s.points)
            bottom = qMax(bottom, p.y() + s.width);
    }
    const int content = qMax(text, qCeil(bottom * scale()) + DrawingMargin);
    const int needed = qMax(0, m_writing ? content : content - page);
    QScrollBar* bar = verticalScrollBar();
    if (needed != bar->maximum()) {
        m_extendingRange = true;
        bar->setMaximum(needed);
        m_extendingRange = false;
    }
}

void InkSurface::paintEvent(QPaintEvent* event) {
    if (m_writing) {
        // Ruled paper under the text, one line per line of text.
        QPainter lines(viewport());
        lines.setPen(QPen(palette().color(QPalette::Mid), 0, Qt::DotLine));
        const qreal step = qMax(4.0, QFontMetricsF(font()).lineSpacing());
        const qreal offset = document()->documentMargin() - verticalScrollBar()->value();
        for (qreal y = offset + step; y < viewport()->height(); y += step) {
            if (y > 0)
                lines.drawLine(QPointF(0, y), QPointF(viewport()->width(), y));
        }
    }
    QTextEdit::paintEvent(event);

    if (m_strokes.isEmpty() && !m_drawing)
        return;
    QPainter painter(viewport());
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(-horizontalScrollBar()->value(), -verticalScrollBar()->value());
    painter.scale(scale(), scale());
    auto draw = [&painter](const NoteStroke& s) {
        painter.setPen(
            QPen(QColor::fromRgba(s.color), s.width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        if (s.points.size() == 1)
            painter.drawPoint(s.points.first());
        else
            painter.drawPolyline(s.points.constData(), int(s.points.size()));
    };
    for (const NoteStroke& s : m_strokes)
        draw(s);
    if (m_drawing)
        draw(*m_drawing);
}

bool InkSurface::viewportEvent(QEvent* event) {
    if (!m_writing)
        return QTextEdit::viewportEvent(event);
    switch (event->type()) {
        case QEvent::TabletPress:
        case QEvent::TabletMove:
        case QEvent::TabletRelease: {
            auto* tablet = static_cast<QTabletEvent*>(event);
            if (event->type() == QEvent::TabletPress)
                beginStroke(tablet->position());
            else if (event->type() == QEvent::TabletMove)
                extendStroke(tablet->position());
            else
                endStroke();
            // Taken here, so no mouse event is made from it.
            tablet->accept();
            return true;
        }
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::TouchCancel: {
            auto* touch = static_cast<QTouchEvent*>(event);
            if (event->type() == QEvent::TouchCancel) {
                cancelStroke();
            } else if (!touch->points().isEmpty()) {
                const QPointF pos = touch->points().first().position();
                if (event->type() == QEvent::TouchBegin) {
                    beginStroke(pos);
                } else {
                    extendStroke(pos);
                    if (event->type() == QEvent::TouchEnd)
                        endStroke();
                }
            }
            touch->accept();
            return true;
        }
        default:
            return QTextEdit::viewportEvent(event);
    }
}

int InkSurface::clipPositionAt(const QPoint& viewportPos) const {
    const QPointF documentPos =
        viewportPos + QPointF(horizontalScrollBar()->value(), verticalScrollBar()->value());
    const int position = document()->documentLayout()->hitTest(documentPos, Qt::ExactHit);
    // The hit may name either side of the object character.
    for (const int at : {position, position - 1}) {
        if (ClipObject::clipAt(document(), at))
            return at;
    }
    return -1;
}

void InkSurface::mousePressEvent(QMouseEvent* event) {
    if (m_writing && event->button() == Qt::LeftButton) {
        beginStroke(event->position());
        event->accept();
        return;
    }
    if (const int clip = clipPositionAt(event->pos());
        clip >= 0 && event->button() == Qt::LeftButton) {
        QTextCursor cursor(document());
        cursor.setPosition(clip);
        cursor.setPosition(clip + 1, QTextCursor::KeepAnchor);
        setTextCursor(cursor);
        event->accept();
        Q_EMIT clipClicked();
        return;
    }
    QTextEdit::mousePressEvent(event);
}

void InkSurface::mouseMoveEvent(QMouseEvent* event) {
    if (m_writing) {
        if (event->buttons() & Qt::LeftButton)
            extendStroke(event->position());
        event->accept();
        return;
    }
    QTextEdit::mouseMoveEvent(event);
}

void InkSurface::mouseReleaseEvent(QMouseEvent* event) {
    if (m_writing && event->button() == Qt::LeftButton) {
        extendStroke(event->position());
        endStroke();
        event->accept();
        return;
    }
    QTextEdit::mouseReleaseEvent(event);
}

void InkSurface::mouseDoubleClickEvent(QMouseEvent* event) {
    // In writing mode a quick second tap is another dot, not a word selection.
    if (m_writing) {
        mousePressEvent(event);
        return;
    }
    QTextEdit::mouseDoubleClickEvent(event);
}

QMimeData* InkSurface::createMimeDataFromSelection() const {
    const QTextCursor cursor = textCursor();
    NoteContent selected;
    selected.text = NoteDocument::toNoteText(document(), cursor.selectionStart(),
                                             cursor.selectionEnd(), &selected.clips);
    auto* mime = new QMimeData;
    mime->setData(noteMimeType(), NoteData::encode(selected));
    QTextDocument scratch;
    QTextCursor scratchCursor(&scratch);
    NoteDocument::insert(scratchCursor, selected.textWithClipMarkers(), true);
    mime->setHtml(scratch.toHtml());
    mime->setText(selected.toPlainText(QStringLiteral("\n")));
    return mime;
}

bool InkSurface::canInsertFromMimeData(const QMimeData* source) const {
    return source->hasFormat(noteMimeType()) || source->hasText() || source->hasHtml();
}

// What pasted or dropped content puts into the note: a note's own
// selection whole, with its clips; anything else cut down to what a note
// holds, so that the note never carries images, tables or fonts it cannot
// keep.
NoteContent InkSurface::insertedContent(const QMimeData* source) {
    if (source->hasFormat(noteMimeType())) {
        const NoteData note = NoteData::fromBytes(source->data(noteMimeType()));
        if (note.kind() == NoteData::Kind::Native)
            return note.content();
    }
    NoteContent content;
    if (source->hasHtml()) {
        QTextDocument scratch;
        scratch.setHtml(source->html());
        content.text = NoteDocument::toNoteText(&scratch);
    } else if (source->hasText()) {
        content.text = NoteText::fromPlainText(source->text());
    }
    return content;
}

void InkSurface::insertFromMimeData(const QMimeData* source) {
    const NoteContent content = insertedContent(source);
    QTextCursor cursor = textCursor();
    cursor.beginEditBlock();
    cursor.removeSelectedText();
    NoteDocument::insert(cursor, content.text, false, content.clips);
    cursor.endEditBlock();
    setTextCursor(cursor);
    ensureCursorVisible();
}

}  // namespace tempolatch
