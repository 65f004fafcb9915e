#include "notes/NoteDocument.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <array>

#include "notes/ClipObject.h"

namespace tempolatch {

NoteList NoteDocument::listKind(QTextListFormat::Style style) {
    switch (style) {
        case QTextListFormat::ListDecimal:
        case QTextListFormat::ListLowerAlpha:
        case QTextListFormat::ListUpperAlpha:
        case QTextListFormat::ListLowerRoman:
        case QTextListFormat::ListUpperRoman:
            return NoteList::Numbered;
        default:
            return NoteList::Bullet;
    }
}

QTextListFormat::Style NoteDocument::listStyle(NoteList kind, int level) {
    if (kind == NoteList::Numbered)
        return QTextListFormat::ListDecimal;
    static constexpr QTextListFormat::Style bullets[] = {
        QTextListFormat::ListDisc, QTextListFormat::ListCircle, QTextListFormat::ListSquare};
    return bullets[level % 3];
}

namespace {

// Text a block may hold: paragraph breaks become line breaks, objects
// (images and the like) have no place in a note.
QString blockText(QString text) {
    text.replace(QStringLiteral("\r\n"), QString(QChar::LineSeparator));
    for (QChar& c : text) {
        if (c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QChar::ParagraphSeparator)
            c = QChar::LineSeparator;
    }
    text.remove(QChar::ObjectReplacementCharacter);
    return text;
}

}  // namespace

void NoteDocument::leaveList(QTextCursor& cursor) {
    if (QTextList* list = cursor.block().textList())
        list->remove(cursor.block());
    QTextBlockFormat format = cursor.blockFormat();
    format.setIndent(0);
    cursor.setBlockFormat(format);
}

NoteText NoteDocument::toNoteText(const QTextDocument* document, QList<NoteClip>* clips) {
    return toNoteText(document, 0, document->characterCount(), clips);
}

NoteText NoteDocument::toNoteText(const QTextDocument* document, int from, int to,
                                  QList<NoteClip>* clips) {
    NoteText out;
    for (QTextBlock block = document->findBlock(from); block.isValid() && block.position() <= to;
         block = block.next()) {
        NoteParagraph p;
        if (const QTextList* list = block.textList()) {
            p.list = NoteDocument::listKind(list->format().style());
            p.level = quint8(qBound(0, list->format().indent() - 1, NoteMaxListLevel));
        }
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid())
                continue;
            // The part of the fragment inside the range.
            const int start = qMax(from, fragment.position());
            const int end = qMin(to, fragment.position() + fragment.length());
            if (start >= end)
                continue;
            const QString text = fragment.text().mid(start - fragment.position(), end - start);
            const std::optional<NoteClip> clip =
                ClipObject::clipOf(document, fragment.charFormat());
            if (!clip) {
                p.append(blockText(text), noteFormat(fragment.charFormat()));
                continue;
            }
            // One fragment may hold the same clip twice over (pasted).
            for (qsizetype i = 0; clips && i < text.size(); ++i) {
                p.append(QString(QChar(NoteClipMark)), noteFormat(fragment.charFormat()));
                clips->append(*clip);
            }
        }
        out.paragraphs.append(p);
    }
    out.normalize();
    return out;
}

void NoteDocument::insert(QTextCursor& cursor, const NoteText& text, bool formatFirstBlock,
                          const QList<NoteClip>& clips) {
    qsizetype nextClip = 0;
    // The list each level is in now; a list goes on while its paragraphs
    // follow each other, with deeper items between them.
    std::array<QTextList*, NoteMaxListLevel + 1> lists{};
    for (qsizetype i = 0; i < text.paragraphs.size(); ++i) {
        const NoteParagraph& p = text.paragraphs[i];
        if (i > 0)
            cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());
        if (i > 0 || formatFirstBlock) {
            const int level = qBound(0, int(p.level), NoteMaxListLevel);
            if (p.list == NoteList::None) {
                lists.fill(nullptr);
                NoteDocument::leaveList(cursor);
            } else {
                for (int deeper = level + 1; deeper <= NoteMaxListLevel; ++deeper)
                    lists[deeper] = nullptr;
                QTextList*& list = lists[level];
                if (list && NoteDocument::listKind(list->format().style()) == p.list) {
                    list->add(cursor.block());
                } else {
                    QTextListFormat format;
                    format.setStyle(NoteDocument::listStyle(p.list, level));
                    format.setIndent(level + 1);
                    list = cursor.createList(format);
                }
            }
        }
        for (const NoteRun& run : p.runs) {
            const QStringList pieces = run.text.split(QChar(NoteClipMark));
            for (qsizetype k = 0; k < pieces.size(); ++k) {
                if (k > 0 && nextClip < clips.size())
                    ClipObject::insert(cursor, clips[nextClip++], charFormat(run.format));
                cursor.insertText(blockText(pieces[k]), charFormat(run.format));
            }
        }
    }
    for (; nextClip < clips.size(); ++nextClip) {
        // A note of clips alone starts in the first line.
        if (nextClip > 0 || !text.paragraphs.isEmpty())
            cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());
        NoteDocument::leaveList(cursor);
        ClipObject::insert(cursor, clips[nextClip]);
    }
}

QTextCharFormat NoteDocument::charFormat(quint8 format) {
    QTextCharFormat out;
    out.setFontWeight((format & NoteBold) ? QFont::Bold : QFont::Normal);
    out.setFontItalic(format & NoteItalic);
    out.setFontUnderline(format & NoteUnderline);
    return out;
}

quint8 NoteDocument::noteFormat(const QTextCharFormat& format) {
    quint8 out = 0;
    if (format.fontWeight() > QFont::Medium)
        out |= NoteBold;
    if (format.fontItalic())
        out |= NoteItalic;
    if (format.fontUnderline())
        out |= NoteUnderline;
    return out;
}

}  // namespace tempolatch
