#pragma once

#include <QFile>
#include <QString>
#include <QtMath>
#include <cmath>

#include "notes/NoteContent.h"

namespace tempolatch::test {

// A note's text as one readable string: a paragraph per line, list items
// as "[b0] " / "[n1] " (kind and level), formats as <b>, <i>, <u>, line
// breaks as "|".
inline QString describe(const NoteText& text) {
    QStringList lines;
    for (const NoteParagraph& p : text.paragraphs) {
        QString line;
        if (p.list != NoteList::None)
            line += QStringLiteral("[%1%2] ")
                        .arg(p.list == NoteList::Bullet ? QLatin1Char('b') : QLatin1Char('n'))
                        .arg(p.level);
        for (const NoteRun& run : p.runs) {
            QString open;
            QString close;
            if (run.format & NoteBold) {
                open += QStringLiteral("<b>");
                close.prepend(QStringLiteral("</b>"));
            }
            if (run.format & NoteItalic) {
                open += QStringLiteral("<i>");
                close.prepend(QStringLiteral("</i>"));
            }
            if (run.format & NoteUnderline) {
                open += QStringLiteral("<u>");
                close.prepend(QStringLiteral("</u>"));
            }
            QString body = run.text;
            body.replace(QChar::LineSeparator, QLatin1Char('|'));
            line += open + body + close;
        }
        lines.append(line);
    }
    return lines.join(QLatin1Char('\n'));
}

inline NoteParagraph paragraph(std::initializer_list<NoteRun> runs, NoteList list = NoteList::None,
                               quint8 level = 0) {
    NoteParagraph p;
    p.runs = runs;
    p.list = list;
    p.level = level;
    return p;
}

inline QByteArray readTestFile(const QString& name) {
    QFile file(qEnvironmentVariable("TEMPOLATCH_TEST_DATA") + QStringLiteral("/editing/") + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A note with some of everything: formats, lists, text outside Latin-1,
// and two strokes.
inline NoteContent sampleContent() {
    NoteContent c;
    c.text.paragraphs = {
        paragraph({{QStringLiteral("Met "), 0},
                   {QStringLiteral("Acme"), NoteBold},
                   {QStringLiteral(" re: "), 0},
                   {QStringLiteral("renewal"), NoteItalic | NoteUnderline}}),
        paragraph({{QStringLiteral("call back"), 0}}, NoteList::Bullet),
        paragraph({{QStringLiteral("sub-point \u00e9\u20ac"), 0}}, NoteList::Numbered, 1),
        paragraph({}),
        paragraph({{QStringLiteral("\u041f\u0440\u0438\u0432\u0435\u0442 \U0001F600\tend"), 0}}),
    };
    c.strokes = {
        NoteStroke{{QPointF(10, 10), QPointF(20.5, 30.1), QPointF(-4.2, 1000)}, 2.0, 0xFF000000},
        NoteStroke{{QPointF(5, 5)}, 3.5, 0xFFFF0000},
    };
    return c;
}

// A sine tone of 16-bit samples.
inline QList<qint16> tone(double seconds, double hz = 440, double amplitude = 0.5,
                          int rate = 16000) {
    QList<qint16> out(qsizetype(seconds * rate));
    for (qsizetype i = 0; i < out.size(); ++i)
        out[i] = qint16(qRound(amplitude * 32767 * qSin(2 * M_PI * hz * double(i) / rate)));
    return out;
}

// A clip that is well formed, with packets that are not real speech: for
// the format's tests, which never decode.
inline NoteClip madeUpClip(int packets, quint8 seed = 1) {
    NoteClip clip;
    clip.preSkip = 104;
    clip.duration = quint32(packets) * 320 - 104;
    for (int i = 0; i < packets; ++i)
        clip.packets.append(QByteArray(40 + i % 7, char(seed + i)));
    return clip;
}

// Text with a clip mark in the middle of a run and one on a line of its own.
inline NoteContent contentWithClips() {
    NoteContent c = sampleContent();
    c.text.paragraphs.append(paragraph({{QStringLiteral("agreed: "), 0},
                                        {QString(QChar(NoteClipMark)), 0},
                                        {QStringLiteral(" then"), NoteBold}}));
    c.text.paragraphs.append(paragraph({{QString(QChar(NoteClipMark)), 0}}));
    c.text.normalize();
    c.clips = {madeUpClip(600, 1), madeUpClip(30, 9)};
    return c;
}

inline double rms(const QList<qint16>& samples, qsizetype from, qsizetype to) {
    double sum = 0;
    for (qsizetype i = from; i < to; ++i)
        sum += double(samples[i]) * samples[i];
    return to > from ? qSqrt(sum / double(to - from)) : 0;
}

// Signal to noise in dB of `decoded` against `original`, over the middle
// of the clip (the codec fades in over its first frames).
inline double snrDb(const QList<qint16>& original, const QList<qint16>& decoded) {
    const qsizetype from = original.size() / 10;
    const qsizetype to = original.size() - from;
    double signal = 0;
    double noise = 0;
    for (qsizetype i = from; i < to; ++i) {
        signal += double(original[i]) * original[i];
        const double d = double(original[i]) - decoded[i];
        noise += d * d;
    }
    return 10 * std::log10(signal / qMax(noise, 1.0));
}

}  // namespace tempolatch::test
