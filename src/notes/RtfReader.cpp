#include "notes/RtfReader.h"

#include <QHash>
#include <QList>
#include <QRegularExpression>
#include <QSet>
#include <QStringDecoder>

namespace tempolatch {

namespace {

// Destinations whose content is never note text.
const QSet<QByteArray>& skippedDestinations() {
    static const QSet<QByteArray> set = {
        "annotation",    "atnauthor", "atnid",        "author",
        "bkmkend",       "bkmkstart", "colortbl",     "colorschememapping",
        "comment",       "company",   "datastore",    "doccomm",
        "falt",          "filetbl",   "fldinst",      "footer",
        "footerf",       "footerl",   "footerr",      "footnote",
        "ftncn",         "ftnsep",    "ftnsepc",      "generator",
        "header",        "headerf",   "headerl",      "headerr",
        "info",          "keywords",  "latentstyles", "listoverridetable",
        "listtable",     "mmathPr",   "nonshppict",   "object",
        "objdata",       "operator",  "panose",       "pgdsctbl",
        "pict",          "revtbl",    "rsidtbl",      "rxe",
        "shp",           "shpinst",   "shppict",      "stylesheet",
        "subject",       "tc",        "themedata",    "title",
        "txe",           "userprops", "xe",           "xmlnstbl",
        "aftncn",        "aftnsep",   "aftnsepc",     "template",
        "wgrffmtfilter", "blipuid",
    };
    return set;
}

bool isUnderlineOn(const QByteArray& word) {
    static const QSet<QByteArray> set = {
        "ul",         "uld",       "uldash",     "uldashd", "uldashdd", "uldb",
        "ulhwave",    "ulldash",   "ulth",       "ulthd",   "ulthdash", "ulthdashd",
        "ulthdashdd", "ulthldash", "ululdbwave", "ulw",     "ulwave",
    };
    return set.contains(word);
}

bool isAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isAsciiDigit(char c) {
    return c >= '0' && c <= '9';
}

int hexValue(char c) {
    if (isAsciiDigit(c))
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool isLeadByte(int codePage, quint8 b) {
    switch (codePage) {
        case 932:
            return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
        case 936:
        case 949:
        case 950:
            return b >= 0x81 && b <= 0xFE;
        default:
            return false;
    }
}

// A list item's marker as the writer rendered it ("1.", "a)", "•"):
// letters or digits followed by a dot or parenthesis mean numbering.
NoteList classifyMarker(const QString& marker) {
    static const QRegularExpression numbered(QStringLiteral("^\\(?[0-9A-Za-z]{1,6}[.)]?$"));
    const QString trimmed = marker.trimmed();
    if (trimmed.isEmpty())
        return NoteList::None;
    if (trimmed.front().isLetterOrNumber() && numbered.match(trimmed).hasMatch())
        return NoteList::Numbered;
    if (trimmed.front() == QLatin1Char('(') && numbered.match(trimmed).hasMatch())
        return NoteList::Numbered;
    return NoteList::Bullet;
}

class Parser {
public:
    explicit Parser(const QByteArray& in) : m_in(in) {}

    bool run(QString* error);
    NoteText takeResult() { return std::move(m_result); }

private:
    enum class Mode { Text, Skip, FontTable, Marker, Numbering };

    struct Group {
        Mode mode = Mode::Text;
        quint8 format = 0;
        int font = -1;
        int uc = 1;
        bool first = true;     // no token read in this group yet
        bool starred = false;  // the group opened with \*
    };

    struct Font {
        int charset = 0;
        int codePage = 0;
    };

    // Paragraph properties. Writers set them at the top level after \pard,
    // so they live outside the group stack; \pard resets them.
    struct Paragraph {
        NoteList numbering = NoteList::None;  // from \pn
        int numberingLevel = -1;
        int ls = 0;
        int ilvl = -1;
        int li = 0;
    };

    void openGroup();
    bool closeGroup();
    void controlWord(const QByteArray& word, bool hasParam, qint64 param);
    void textWord(const QByteArray& word, bool hasParam, qint64 param);
    void controlSymbol(char c);
    void textByte(quint8 b);
    bool skipped();
    void put(const QString& text);
    void flush();
    void endParagraph();
    int codePage() const;

    const QByteArray& m_in;
    qsizetype m_pos = 0;
    QList<Group> m_stack;
    Group m_group;
    Paragraph m_para;
    QHash<int, Font> m_fonts;
    int m_fontDefined = -1;
    int m_defaultFont = -1;
    int m_documentCodePage = 1252;
    int m_skip = 0;  // fallback characters after \uN still to skip

    QByteArray m_pending;  // code-page bytes not yet decoded
    int m_pendingCodePage = 0;
    bool m_needsTrail = false;

    NoteParagraph m_current;
    QString m_marker;
    NoteList m_markerList = NoteList::None;
    NoteText m_result;
};

bool Parser::run(QString* error) {
    auto fail = [error](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    qsizetype start = 0;
    while (start < m_in.size() && QChar::isSpace(uchar(m_in[start])))
        ++start;
    if (m_in.mid(start, 5) != "{\\rtf")
        return fail(QStringLiteral("not a rich text document"));
    m_pos = start;

    while (m_pos < m_in.size()) {
        const char c = m_in[m_pos];
        if (c == '{') {
            ++m_pos;
            if (m_stack.size() >= RtfReader::MaxDepth)
                return fail(QStringLiteral("groups nested too deeply"));
            openGroup();
        } else if (c == '}') {
            ++m_pos;
            if (!closeGroup())
                break;  // the document's own group is closed: the rest is not ours
        } else if (c == '\\') {
            ++m_pos;
            if (m_pos >= m_in.size())
                break;
            const char next = m_in[m_pos];
            if (isAsciiLetter(next)) {
                const qsizetype begin = m_pos;
                while (m_pos < m_in.size() && isAsciiLetter(m_in[m_pos]))
                    ++m_pos;
                // Longer words are not RTF; they can only be unknown.
                const QByteArray word = m_in.mid(begin, qMin<qsizetype>(m_pos - begin, 32));
                bool hasParam = false;
                bool negative = false;
                qint64 param = 0;
                if (m_pos < m_in.size() && m_in[m_pos] == '-') {
                    negative = true;
                    ++m_pos;
                }
                while (m_pos < m_in.size() && isAsciiDigit(m_in[m_pos])) {
                    hasParam = true;
                    param = qMin<qint64>(param * 10 + (m_in[m_pos] - '0'), 1LL << 32);
                    ++m_pos;
                }
                if (negative)
                    param = -param;
                if (m_pos < m_in.size() && m_in[m_pos] == ' ')
                    ++m_pos;
                controlWord(word, hasParam, param);
                m_group.first = false;
            } else {
                ++m_pos;
                controlSymbol(next);
                // \* announces the destination word that follows
                if (next != '*')
                    m_group.first = false;
            }
        } else {
            ++m_pos;
            if (c != '\r' && c != '\n') {
                textByte(quint8(c));
                m_group.first = false;
            }
        }
    }
    flush();
    if (!m_current.text().isEmpty())
        m_result.paragraphs.append(m_current);
    m_result.normalize();
    return true;
}

void Parser::openGroup() {
    flush();
    m_skip = 0;
    m_stack.append(m_group);
    m_group.first = true;
    m_group.starred = false;
}

bool Parser::closeGroup() {
    flush();
    m_skip = 0;
    if (m_stack.isEmpty())
        return false;
    const Group closed = m_group;
    m_group = m_stack.takeLast();
    if (closed.mode == Mode::Marker && m_group.mode != Mode::Marker) {
        m_markerList = classifyMarker(m_marker);
        m_marker.clear();
    }
    return !m_stack.isEmpty();
}

void Parser::controlWord(const QByteArray& word, bool hasParam, qint64 param) {
    if (word == "bin") {
        // Raw bytes follow; skip them whatever the mode.
        m_pos += qBound<qint64>(0, param, m_in.size() - m_pos);
        return;
    }
    if (skipped())
        return;

    const bool destination = m_group.first;
    if (destination && word == "fonttbl") {
        m_group.mode = Mode::FontTable;
        return;
    }
    if (destination && (word == "pntext" || word == "listtext")) {
        flush();
        m_group.mode = Mode::Marker;
        m_marker.clear();
        return;
    }
    if (destination && word == "pn") {
        m_group.mode = Mode::Numbering;
        if (m_para.numbering == NoteList::None)
            m_para.numbering = NoteList::Numbered;
        return;
    }
    if (skippedDestinations().contains(word) || (m_group.starred && destination)) {
        flush();
        m_group.mode = Mode::Skip;
        return;
    }

    switch (m_group.mode) {
        case Mode::FontTable:
            if (word == "f")
                m_fontDefined = int(param);
            else if (word == "fcharset")
                m_fonts[m_fontDefined].charset = int(param);
            else if (word == "cpg")
                m_fonts[m_fontDefined].codePage = int(param);
            return;
        case Mode::Numbering:
            if (word == "pnlvlblt")
                m_para.numbering = NoteList::Bullet;
            else if (word == "pnlvlbody")
                m_para.numbering = NoteList::Numbered;
            else if (word == "pnlvl") {
                m_para.numbering = NoteList::Numbered;
                m_para.numberingLevel = int(param) - 1;
            } else if (word == "pnlvlcont")
                m_para.numbering = NoteList::None;
            return;
        case Mode::Marker:
        case Mode::Text:
            textWord(word, hasParam, param);
            return;
        case Mode::Skip:
            return;
    }
}

void Parser::textWord(const QByteArray& word, bool hasParam, qint64 param) {
    const bool text = m_group.mode == Mode::Text;
    const bool on = !hasParam || param != 0;
    auto setFormat = [this, on](quint8 bit) {
        flush();
        m_group.format = on ? (m_group.format | bit) : (m_group.format & ~bit);
    };

    // Characters, in text and in list markers alike.
    if (word == "u") {
        qint64 unit = param < 0 ? param + 65536 : param;
        if (unit > 0 && unit <= 0xFFFF)
            put(QString(QChar(char16_t(unit))));
        m_skip = m_group.uc;
    } else if (word == "uc") {
        m_group.uc = int(qBound(qint64(0), param, qint64(16)));
    } else if (word == "f") {
        flush();
        m_group.font = int(param);
    } else if (word == "emdash") {
        put(QStringLiteral("\u2014"));
    } else if (word == "endash") {
        put(QStringLiteral("\u2013"));
    } else if (word == "lquote") {
        put(QStringLiteral("\u2018"));
    } else if (word == "rquote") {
        put(QStringLiteral("\u2019"));
    } else if (word == "ldblquote") {
        put(QStringLiteral("\u201C"));
    } else if (word == "rdblquote") {
        put(QStringLiteral("\u201D"));
    } else if (word == "bullet") {
        put(QStringLiteral("\u2022"));
    } else if (word == "emspace" || word == "enspace" || word == "qmspace") {
        put(QStringLiteral(" "));
    } else if (!text) {
        return;  // list markers take nothing else
    } else if (word == "par" || word == "sect" || word == "page" || word == "row") {
        endParagraph();
    } else if (word == "line") {
        put(QString(QChar::LineSeparator));
    } else if (word == "tab" || word == "cell") {
        put(QStringLiteral("\t"));
    } else if (word == "pard") {
        flush();
        m_para = {};
    } else if (word == "plain") {
        flush();
        m_group.format = 0;
        m_group.font = m_defaultFont;
    } else if (word == "b") {
        setFormat(NoteBold);
    } else if (word == "i") {
        setFormat(NoteItalic);
    } else if (isUnderlineOn(word)) {
        setFormat(NoteUnderline);
    } else if (word == "ulnone") {
        flush();
        m_group.format &= ~NoteUnderline;
    } else if (word == "ls") {
        m_para.ls = int(param);
    } else if (word == "ilvl") {
        m_para.ilvl = int(param);
    } else if (word == "li") {
        m_para.li = int(qBound(qint64(-1000000), param, qint64(1000000)));
    } else if (word == "ansicpg") {
        m_documentCodePage = int(param);
    } else if (word == "ansi") {
        m_documentCodePage = 1252;
    } else if (word == "mac") {
        m_documentCodePage = 10000;
    } else if (word == "pc") {
        m_documentCodePage = 437;
    } else if (word == "pca") {
        m_documentCodePage = 850;
    } else if (word == "deff") {
        m_defaultFont = int(param);
        m_group.font = m_defaultFont;
    }
}

void Parser::controlSymbol(char c) {
    if (c == '\'') {
        // The two hex digits belong to the symbol even when it is skipped.
        const int high = m_pos < m_in.size() ? hexValue(m_in[m_pos]) : -1;
        const int low = m_pos + 1 < m_in.size() ? hexValue(m_in[m_pos + 1]) : -1;
        if (high < 0 || low < 0) {
            m_pos += high < 0 ? 0 : 1;  // a cut-off escape says nothing
            return;
        }
        m_pos += 2;
        textByte(quint8(high * 16 + low));
        return;
    }
    if (skipped())
        return;
    switch (c) {
        case '\\':
        case '{':
        case '}':
            textByte(quint8(c));
            break;
        case '*':
            m_group.starred = true;
            break;
        case '~':
            put(QStringLiteral("\u00A0"));
            break;
        case '_':
            put(QStringLiteral("\u2011"));
            break;
        case '\r':
        case '\n':
            if (m_group.mode == Mode::Text)
                endParagraph();
            break;
        case '\t':
            put(QStringLiteral("\t"));
            break;
        default:
            break;  // optional hyphen, index entries and the like
    }
}

bool Parser::skipped() {
    // A \uN's fallback characters count one each, whatever they are.
    if (m_skip > 0) {
        --m_skip;
        return true;
    }
    return m_group.mode == Mode::Skip;
}

void Parser::textByte(quint8 b) {
    if (skipped() || (m_group.mode != Mode::Text && m_group.mode != Mode::Marker))
        return;
    if (b < 0x80 && !m_needsTrail) {
        if (b == '\t')
            put(QStringLiteral("\t"));
        else if (b >= 0x20)
            put(QString(QChar(b)));
        return;
    }
    const int page = codePage();
    if (!m_pending.isEmpty() && page != m_pendingCodePage)
        flush();
    m_pendingCodePage = page;
    m_pending.append(char(b));
    m_needsTrail = m_needsTrail ? false : isLeadByte(page, b);
}

void Parser::put(const QString& text) {
    flush();
    if (m_group.mode == Mode::Marker)
        m_marker += text;
    else if (m_group.mode == Mode::Text)
        m_current.append(text, m_group.format);
}

void Parser::flush() {
    if (m_pending.isEmpty())
        return;
    const QByteArray bytes = std::exchange(m_pending, {});
    m_needsTrail = false;
    QStringDecoder decoder(RtfReader::codecName(m_pendingCodePage).constData(),
                           QStringDecoder::Flag::Stateless);
    const QString text = decoder.isValid() ? decoder.decode(bytes) : QString::fromLatin1(bytes);
    put(text);
}

void Parser::endParagraph() {
    flush();
    NoteList list = m_markerList;
    if (list == NoteList::None)
        list = m_para.numbering;
    if (list == NoteList::None && m_para.ls > 0)
        list = NoteList::Bullet;
    m_current.list = list;
    if (list != NoteList::None) {
        int level = m_para.ilvl;
        if (level < 0)
            level = m_para.numberingLevel;
        if (level < 0)
            level = qRound(m_para.li / 720.0) - 1;
        m_current.level = quint8(qBound(0, level, NoteMaxListLevel));
    }
    m_result.paragraphs.append(m_current);
    m_current = {};
    m_markerList = NoteList::None;
}

int Parser::codePage() const {
    const auto font = m_fonts.constFind(m_group.font);
    if (font != m_fonts.constEnd()) {
        if (font->codePage > 0)
            return font->codePage;
        if (const int page = RtfReader::codePageOfCharset(font->charset))
            return page;
    }
    return m_documentCodePage;
}

}  // namespace

std::optional<NoteText> RtfReader::read(const QByteArray& rtf, QString* error) {
    if (rtf.size() > MaxSize) {
        if (error)
            *error = QStringLiteral("the document is too large");
        return std::nullopt;
    }
    Parser parser(rtf);
    if (!parser.run(error))
        return std::nullopt;
    return parser.takeResult();
}

QByteArray RtfReader::codecName(int codePage) {
    switch (codePage) {
        case 437:
            return "IBM437";
        case 850:
            return "IBM850";
        case 852:
            return "IBM852";
        case 866:
            return "IBM866";
        case 874:
            return "windows-874";
        case 932:
            return "Shift_JIS";
        case 936:
            return "GBK";
        case 949:
            return "windows-949";
        case 950:
            return "Big5";
        case 10000:
            return "macintosh";
        case 65001:
            return "UTF-8";
        default:
            if (codePage >= 1250 && codePage <= 1258)
                return "windows-" + QByteArray::number(codePage);
            return "windows-1252";
    }
}

int RtfReader::codePageOfCharset(int charset) {
    switch (charset) {
        case 77:
            return 10000;
        case 128:
            return 932;
        case 129:
            return 949;
        case 134:
            return 936;
        case 136:
            return 950;
        case 161:
            return 1253;
        case 162:
            return 1254;
        case 163:
            return 1258;
        case 177:
            return 1255;
        case 178:
            return 1256;
        case 186:
            return 1257;
        case 204:
            return 1251;
        case 222:
            return 874;
        case 238:
            return 1250;
        case 255:
            return 437;
        default:
            return 0;  // 0 ANSI, 1 default, 2 symbol and the rest: the document's page
    }
}

}  // namespace tempolatch
