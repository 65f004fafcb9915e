#pragma once

#include <QFont>
#include <QTextEdit>
#include <optional>

#include "notes/NoteContent.h"

namespace tempolatch {

// The page of the ink control: a rich-text editor with the note's pen
// strokes drawn over its text. In writing mode the text is read-only and
// the mouse, a pen or a finger draws strokes instead; strokes are kept as
// vectors in unzoomed coordinates, so they scale with the zoom like the
// text. Added and removed strokes are undo steps of the document, so one
// Undo and one Redo serve text and drawing alike.
class InkSurface : public QTextEdit {
    Q_OBJECT

public:
    explicit InkSurface(QWidget* parent = nullptr);

    const QList<NoteStroke>& strokes() const { return m_strokes; }
    // Without an undo step (loading a note).
    void setStrokes(const QList<NoteStroke>& strokes);
    // As an undo step, joined to the caller's edit block if one is open.
    void replaceStrokes(const QList<NoteStroke>& strokes);

    bool isWriting() const { return m_writing; }
    void setWriting(bool writing);

    int zoom() const { return m_zoom; }
    void setZoom(int percent);

    QColor penColor() const { return m_penColor; }
    void setPenColor(const QColor& color) { m_penColor = color; }
    qreal penWidth() const { return m_penWidth; }
    void setPenWidth(qreal width) { m_penWidth = width; }

    // Where a point of the viewport lies in note coordinates.
    QPointF toNote(const QPointF& viewportPos) const;

    // The document position of the voice clip under a viewport point, or -1.
    int clipPositionAt(const QPoint& viewportPos) const;

    // What Copy, Cut and a drag carry: the selection as note bytes of our
    // own type (text and voice clips, for a note), as HTML and as plain
    // text (for other programs, each clip as its marker).
    QMimeData* createMimeDataFromSelection() const override;
    static QString noteMimeType() { return QStringLiteral("application/x-tempolatch-note"); }

Q_SIGNALS:
    void strokesChanged();
    // A click on a voice clip in typing view; the clip is selected.
    void clipClicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    friend class StrokeUndoItem;

    static NoteContent insertedContent(const QMimeData* source);
    void beginStroke(const QPointF& viewportPos);
    void extendStroke(const QPointF& viewportPos);
    void endStroke();
    void cancelStroke();
    void pushUndo(QAbstractUndoItem* item);
    void applyStrokes(const QList<NoteStroke>& strokes);  // from undo and redo
    void appendStroke(const NoteStroke& stroke);
    void removeLastStroke();
    void extendScrollRange();
    qreal scale() const { return m_zoom / 100.0; }

    QList<NoteStroke> m_strokes;
    std::optional<NoteStroke> m_drawing;
    bool m_writing = false;
    int m_zoom = 100;
    QFont m_baseFont;
    QColor m_penColor = Qt::black;
    qreal m_penWidth = 2.0;
    bool m_extendingRange = false;
};

}  // namespace tempolatch
