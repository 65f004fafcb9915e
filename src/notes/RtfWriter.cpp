#include "notes/RtfWriter.h"

#include <QHash>
#include <array>

#include "platform/Locale.h"

namespace tempolatch {

namespace {

// The code page Locale::toAnsi writes; \ansicpg must name the same one.
constexpr int AnsiCodePage = 1252;

// Characters 0x80-0xFF of the ANSI code page, by the character they stand for.
const QHash<char16_t, quint8>& ansiBytes() {
    static const QHash<char16_t, quint8> table = [] {
        QHash<char16_t, quint8> out;
        for (int b = 0x80; b <= 0xFF; ++b) {
            const QString s = platform::Locale::fromAnsi(QByteArray(1, char(b)));
            if (s.size() == 1 && s[0] != QChar::ReplacementCharacter &&
                s[0].category() != QChar::Other_Control)
                out.insert(s[0].unicode(), quint8(b));
        }
        return out;
    }();
    return table;
}

void hexByte(QByteArray& out, quint8 b) {
    static const char digits[] = "0123456789abcdef";
    out += "\\'";
    out += digits[b >> 4];
    out += digits[b & 0x0F];
}

void writeText(QByteArray& out, const QString& text) {
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == '\\' || u == '{' || u == '}') {
            out += '\\';
            out += char(u);
        } else if (u == '\t') {
            out += "\\tab ";
        } else if (c == QChar::LineSeparator) {
            out += "\\line ";
        } else if (u == 0x00A0) {
            out += "\\~";
        } else if (u < 0x20) {
            continue;  // other control characters have no place in a note
        } else if (u < 0x80) {
            out += char(u);
        } else if (const auto b = ansiBytes().constFind(u); b != ansiBytes().constEnd()) {
            hexByte(out, *b);
        } else {
            // \u takes a signed 16-bit number; a surrogate pair is two of them.
            out += "\\u" + QByteArray::number(qint16(u)) + '?';
        }
    }
}

void writeFormat(QByteArray& out, quint8 from, quint8 to) {
    if (from == to)
        return;
    if ((from ^ to) & NoteBold)
        out += (to & NoteBold) ? "\\b" : "\\b0";
    if ((from ^ to) & NoteItalic)
        out += (to & NoteItalic) ? "\\i" : "\\i0";
    if ((from ^ to) & NoteUnderline)
        out += (to & NoteUnderline) ? "\\ul" : "\\ulnone";
    out += ' ';
}

}  // namespace

QByteArray RtfWriter::write(const NoteText& text) {
    QByteArray out;
    out += "{\\rtf1\\ansi\\ansicpg" + QByteArray::number(AnsiCodePage) +
           "\\deff0\\uc1{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}{\\f1\\fnil\\fcharset2 "
           "Symbol;}}\r\n{\\*\\generator Tempolatch;}\\viewkind4\r\n";
    quint8 format = 0;
    std::array<int, NoteMaxListLevel + 1> numbers{};
    for (const NoteParagraph& p : text.paragraphs) {
        out += "\\pard";
        if (p.list == NoteList::None) {
            numbers.fill(0);
        } else {
            const int level = qBound(0, int(p.level), NoteMaxListLevel);
            for (int deeper = level + 1; deeper <= NoteMaxListLevel; ++deeper)
                numbers[deeper] = 0;
            const QByteArray indent = "\\fi-360\\li" + QByteArray::number(720 * (level + 1));
            if (p.list == NoteList::Bullet) {
                out +=
                    "{\\pntext\\f1\\'b7\\tab}{\\*\\pn\\pnlvlblt\\pnf1\\pnindent0{\\pntxtb\\'b7}}";
            } else {
                const int number = ++numbers[level];
                out += "{\\pntext\\f0 " + QByteArray::number(number) +
                       ".\\tab}{\\*\\pn\\pnlvlbody\\pnf0\\pnindent0\\pnstart" +
                       QByteArray::number(number) + "\\pndec{\\pntxta.}}";
            }
            out += indent;
        }
        out += "\\f0\\fs20 ";
        for (const NoteRun& run : p.runs) {
            writeFormat(out, format, run.format & NoteFormatMask);
            format = run.format & NoteFormatMask;
            writeText(out, run.text);
        }
        out += "\\par\r\n";
    }
    out += "}\r\n";
    return out;
}

}  // namespace tempolatch
