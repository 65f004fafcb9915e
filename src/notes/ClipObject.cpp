#include "notes/ClipObject.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QPalette>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QUrl>

Q_DECLARE_METATYPE(tempolatch::NoteClip)

namespace tempolatch {

namespace {

constexpr int ClipIdProperty = QTextFormat::UserProperty + 1;
constexpr qreal Padding = 6;

QUrl clipUrl(int id) {
    return QUrl(QStringLiteral("clip:%1").arg(id));
}

}  // namespace

void ClipObject::install(QTextEdit* edit) {
    edit->document()->documentLayout()->registerHandler(Type, new ClipObject(edit));
}

void ClipObject::insert(QTextCursor& cursor, const NoteClip& clip, const QTextCharFormat& base) {
    QTextDocument* document = cursor.document();
    const int id = document->property("nextClipId").toInt() + 1;
    document->setProperty("nextClipId", id);
    document->addResource(QTextDocument::UserResource, clipUrl(id), QVariant::fromValue(clip));
    QTextCharFormat format = base;
    format.setObjectType(Type);
    format.setProperty(ClipIdProperty, id);
    format.setToolTip(clip.marker());
    cursor.insertText(QString(QChar(QChar::ObjectReplacementCharacter)), format);
}

std::optional<NoteClip> ClipObject::clipOf(const QTextDocument* document,
                                           const QTextFormat& format) {
    if (format.objectType() != Type)
        return std::nullopt;
    const QVariant clip = document->resource(QTextDocument::UserResource,
                                             clipUrl(format.intProperty(ClipIdProperty)));
    if (!clip.canConvert<NoteClip>())
        return std::nullopt;
    return clip.value<NoteClip>();
}

std::optional<NoteClip> ClipObject::clipAt(const QTextDocument* document, int position) {
    if (position < 0 || document->characterAt(position) != QChar::ObjectReplacementCharacter)
        return std::nullopt;
    QTextCursor cursor(const_cast<QTextDocument*>(document));
    cursor.setPosition(position + 1);
    return clipOf(document, cursor.charFormat());
}

int ClipObject::clipPosition(const QTextCursor& cursor) {
    const QTextDocument* document = cursor.document();
    if (cursor.hasSelection()) {
        const int start = cursor.selectionStart();
        return cursor.selectionEnd() - start == 1 && clipAt(document, start) ? start : -1;
    }
    for (const int position : {cursor.position() - 1, cursor.position()}) {
        if (clipAt(document, position))
            return position;
    }
    return -1;
}

QString ClipObject::label(const QTextDocument* document, const QTextFormat& format) {
    const std::optional<NoteClip> clip = clipOf(document, format);
    if (!clip || clip->damaged)
        return QStringLiteral("\u26a0 voice note, damaged");
    return QStringLiteral("\u25b6 ") + clip->lengthText();
}

QSizeF ClipObject::intrinsicSize(QTextDocument* document, int, const QTextFormat& format) {
    const QFontMetricsF metrics(format.toCharFormat().font());
    return QSizeF(metrics.horizontalAdvance(label(document, format)) + 2 * Padding,
                  metrics.height());
}

void ClipObject::drawObject(QPainter* painter, const QRectF& rect, QTextDocument* document, int,
                            const QTextFormat& format) {
    const QPalette palette;
    const std::optional<NoteClip> clip = clipOf(document, format);
    const bool playable = clip && !clip->damaged;
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    QColor fill = playable ? palette.color(QPalette::Highlight) : QColor(0xC0, 0x30, 0x30);
    fill.setAlpha(48);
    painter->setPen(fill.darker(200));
    painter->setBrush(fill);
    painter->drawRoundedRect(rect.adjusted(0.5, 1.5, -0.5, -0.5), 4, 4);
    painter->setPen(palette.color(QPalette::Text));
    painter->setFont(format.toCharFormat().font());
    painter->drawText(rect, Qt::AlignCenter, label(document, format));
    painter->restore();
}

}  // namespace tempolatch
