#pragma once

#include <QObject>
#include <QTextObjectInterface>
#include <optional>

#include "notes/NoteContent.h"

class QTextCursor;
class QTextDocument;
class QTextEdit;

namespace tempolatch {

// A voice clip inside the note's text: one object character whose format
// names the clip, drawn as a small button with the clip's length. The
// clips themselves are resources of the document, so that undoing the
// removal of one brings it back whole.
class ClipObject : public QObject, public QTextObjectInterface {
    Q_OBJECT
    Q_INTERFACES(QTextObjectInterface)

public:
    static constexpr int Type = QTextFormat::UserObject + 1;

    // Has the editor's document draw clips.
    static void install(QTextEdit* edit);
    // Inserts the clip at the cursor, replacing its selection, in the
    // character format given (bold, say, to keep the note's text as it was).
    static void insert(QTextCursor& cursor, const NoteClip& clip, const QTextCharFormat& base = {});
    // The clip a character's format names.
    static std::optional<NoteClip> clipOf(const QTextDocument* document, const QTextFormat& format);
    // The clip at a position of the document (the character after it).
    static std::optional<NoteClip> clipAt(const QTextDocument* document, int position);
    // The position of the clip the cursor is on: its selection when that is
    // one clip, otherwise the clip just before the cursor or just after it;
    // -1 when there is none.
    static int clipPosition(const QTextCursor& cursor);

    QSizeF intrinsicSize(QTextDocument* document, int position, const QTextFormat& format) override;
    void drawObject(QPainter* painter, const QRectF& rect, QTextDocument* document, int position,
                    const QTextFormat& format) override;

private:
    using QObject::QObject;
    static QString label(const QTextDocument* document, const QTextFormat& format);
};

}  // namespace tempolatch
