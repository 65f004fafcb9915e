#include "notes/NoteContent.h"

#include <array>

namespace tempolatch {

QString NoteParagraph::text() const {
    QString out;
    for (const NoteRun& run : runs)
        out += run.text;
    return out;
}

void NoteParagraph::append(const QString& text, quint8 format) {
    if (text.isEmpty())
        return;
    format &= NoteFormatMask;
    if (!runs.isEmpty() && runs.last().format == format)
        runs.last().text += text;
    else
        runs.append({text, format});
}

bool NoteText::isEmpty() const {
    for (const NoteParagraph& p : paragraphs) {
        for (const NoteRun& run : p.runs) {
            if (!run.text.isEmpty())
                return false;
        }
    }
    return true;
}

QString NoteText::toPlainText(const QString& separator) const {
    QString out;
    // Numbering restarts whenever a list is interrupted, and a deeper level
    // starts again at 1 each time it is entered.
    std::array<int, NoteMaxListLevel + 1> numbers{};
    for (qsizetype i = 0; i < paragraphs.size(); ++i) {
        const NoteParagraph& p = paragraphs[i];
        if (i > 0)
            out += separator;
        const int level = qBound(0, int(p.level), NoteMaxListLevel);
        if (p.list == NoteList::None) {
            numbers.fill(0);
        } else {
            for (int deeper = level + 1; deeper <= NoteMaxListLevel; ++deeper)
                numbers[deeper] = 0;
            out += QString(level * 2, QLatin1Char(' '));
            if (p.list == NoteList::Bullet)
                out += QStringLiteral("\u2022 ");
            else
                out += QStringLiteral("%1. ").arg(++numbers[level]);
        }
        QString text = p.text();
        text.replace(QChar::LineSeparator, separator);
        out += text;
    }
    return out;
}

NoteText NoteText::fromPlainText(const QString& text) {
    NoteText out;
    if (text.isEmpty())
        return out;
    QString unified = text;
    unified.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    unified.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    unified.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    for (const QString& line : unified.split(QLatin1Char('\n'))) {
        NoteParagraph p;
        p.append(line, 0);
        out.paragraphs.append(p);
    }
    return out;
}

void NoteText::normalize() {
    for (NoteParagraph& p : paragraphs) {
        QList<NoteRun> runs;
        runs.swap(p.runs);
        for (const NoteRun& run : runs)
            p.append(run.text, run.format);
        if (p.list == NoteList::None)
            p.level = 0;
        p.level = quint8(qMin(int(p.level), NoteMaxListLevel));
    }
}

qint64 NoteClip::durationMs() const {
    return sampleRate == 0 ? 0 : qint64(duration) * 1000 / sampleRate;
}

QString NoteClip::lengthText() const {
    const qint64 seconds = qMax<qint64>(duration > 0 ? 1 : 0, (durationMs() + 500) / 1000);
    return QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

QString NoteClip::marker() const {
    if (damaged)
        return QStringLiteral("[voice note, damaged]");
    return QStringLiteral("[voice note %1]").arg(lengthText());
}

NoteText NoteContent::textWithClipMarkers() const {
    NoteText out;
    qsizetype next = 0;
    for (const NoteParagraph& p : text.paragraphs) {
        NoteParagraph marked = p;
        marked.runs.clear();
        for (const NoteRun& run : p.runs) {
            QString runText;
            for (const QChar c : run.text) {
                if (c.unicode() != NoteClipMark)
                    runText += c;
                else if (next < clips.size())
                    runText += clips[next++].marker();
            }
            marked.append(runText, run.format);
        }
        out.paragraphs.append(marked);
    }
    for (; next < clips.size(); ++next) {
        NoteParagraph p;
        p.append(clips[next].marker(), 0);
        out.paragraphs.append(p);
    }
    return out;
}

NoteText NoteText::withClipMarks(const QList<NoteClip>& clips) const {
    NoteText out = *this;
    qsizetype next = 0;
    for (NoteParagraph& p : out.paragraphs) {
        for (NoteRun& run : p.runs) {
            for (qsizetype from = 0; next < clips.size(); ++next) {
                const QString marker = clips[next].marker();
                const qsizetype at = run.text.indexOf(marker, from);
                if (at < 0)
                    break;
                run.text.replace(at, marker.size(), QString(QChar(NoteClipMark)));
                from = at + 1;
            }
        }
    }
    return out;
}

QString NoteContent::toPlainText(const QString& separator) const {
    return textWithClipMarkers().toPlainText(separator);
}

}  // namespace tempolatch
