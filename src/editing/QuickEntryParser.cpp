#include "editing/QuickEntryParser.h"

#include <QRegularExpression>
#include <limits>

#include "platform/TypedTime.h"

namespace tempolatch::quickentry {

namespace {

constexpr int MinutesPerDay = 24 * 60;
// Client, project, task.
constexpr int Levels = 3;

// Hundredths of minutes, to the nearest: 40 minutes are 0.67 h, 20 are 0.33.
qint64 hundredthsOfMinutes(qint64 minutes) {
    return (minutes * 100 + 30) / 60;
}

// Hundredths of "1", "1.5", "0.67"; a third decimal rounds half up.
qint64 hundredthsOfHours(const QString& whole, const QString& fraction) {
    const QString digits = (fraction + QStringLiteral("000")).left(3);
    return whole.toLongLong() * 100 + digits.left(2).toInt() + (digits.at(2) >= u'5' ? 1 : 0);
}

struct TimePart {
    qint64 duration = 0;
    std::optional<QTime> start;
    qsizetype restAt = 0;  // where the names begin
    QString problem;
};

// "1.5h", "1.5", "90m", "1:30", "1h30": hundredths, or nullopt.
std::optional<qint64> durationOf(const QString& token) {
    static const QRegularExpression hours(QStringLiteral(R"(^(\d{1,6})(?:[.,](\d+))?h?$)"),
                                          QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression minutes(QStringLiteral(R"(^(\d{1,6})m(?:in)?$)"),
                                            QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression hoursMinutes(
        QStringLiteral(R"(^(\d{1,6})(?::(\d{2})|h(\d{1,2})m?)$)"),
        QRegularExpression::CaseInsensitiveOption);
    if (const auto m = hours.match(token); m.hasMatch())
        return hundredthsOfHours(m.captured(1), m.captured(2));
    if (const auto m = minutes.match(token); m.hasMatch())
        return hundredthsOfMinutes(m.captured(1).toLongLong());
    if (const auto m = hoursMinutes.match(token); m.hasMatch()) {
        const int mins = (m.hasCaptured(2) ? m.captured(2) : m.captured(3)).toInt();
        if (mins < 60)
            return hundredthsOfMinutes(m.captured(1).toLongLong() * 60 + mins);
    }
    return std::nullopt;
}

TimePart readTime(const QString& line) {
    // Two times of day joined by a dash; "10 am" but not "10 a", which is
    // more likely the start of a name.
    static const QRegularExpression range(
        QStringLiteral(R"(^\s*(\d{1,4}(?:[:.,]\d{1,2})?(?:\s?[ap]\.?m\.?|[ap])?)\s*[-–]\s*)"
                       R"((\d{1,4}(?:[:.,]\d{1,2})?(?:\s?[ap]\.?m\.?|[ap])?)(?=\s|$))"),
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression firstWord(QStringLiteral(R"(^\s*(\S+))"));
    TimePart part;
    if (const auto m = range.match(line); m.hasMatch()) {
        part.restAt = m.capturedEnd(0);
        const auto from = platform::parseTypedTime(m.captured(1));
        const auto to = platform::parseTypedTime(m.captured(2));
        if (!from || !to) {
            part.problem = QStringLiteral("\"%1\" is no time of day")
                               .arg(from ? m.captured(2) : m.captured(1));
            return part;
        }
        int minutes = from->secsTo(*to) / 60;
        // Work that ends "earlier" than it began ended the next day.
        if (minutes < 0)
            minutes += MinutesPerDay;
        part.start = from;
        part.duration = hundredthsOfMinutes(minutes);
        if (minutes == 0)
            part.problem = QStringLiteral("The range ends where it starts");
        return part;
    }
    const auto m = firstWord.match(line);
    const std::optional<qint64> duration = durationOf(m.captured(1));
    if (!duration) {
        part.problem = QStringLiteral("Start with the time worked: 1.5h, 90m, 1:30 or 9:00-10:30");
        return part;
    }
    part.restAt = m.capturedEnd(0);
    part.duration = *duration;
    if (part.duration == 0)
        part.problem = QStringLiteral("No time worked");
    return part;
}

QStringList wordsOf(const QString& text) {
    return text.split(u' ', Qt::SkipEmptyParts);
}

// The text after the first `count` words of `text`, its spaces kept.
QString afterWords(const QString& text, int count) {
    qsizetype i = 0;
    for (int word = 0; word < count; ++word) {
        while (i < text.size() && text.at(i).isSpace())
            ++i;
        while (i < text.size() && !text.at(i).isSpace())
            ++i;
    }
    while (i < text.size() && text.at(i).isSpace())
        ++i;
    return text.mid(i);
}

// The names of a level that start with `prefix`, in any case, each once.
QStringList startingWith(const QStringList& names, const QString& prefix) {
    QStringList found;
    for (const QString& name : names)
        if (!name.isEmpty() && name.startsWith(prefix, Qt::CaseInsensitive) &&
            !found.contains(name))
            found.append(name);
    return found;
}

struct NameMatch {
    QString name;
    int words = 0;  // 0: no name
    QString problem;
};

QString tooManySlashes() {
    return QStringLiteral("Too many \"/\": client/project/task, then the note");
}

QString eitherOf(const QStringList& names) {
    QStringList shown = names.mid(0, 3);
    if (names.size() > 3)
        shown.append(QStringLiteral("…"));
    return shown.join(QStringLiteral(" or "));
}

// The longest run of leading words that names one of `names`: the name in
// any case (the exact case wins between two), or the start of one name only.
NameMatch matchLeading(const QStringList& words, const QStringList& names) {
    for (int count = int(words.size()); count >= 1; --count) {
        const QString phrase = words.mid(0, count).join(u' ');
        const QStringList starting = startingWith(names, phrase);
        if (starting.isEmpty())
            continue;
        QStringList equal;
        for (const QString& name : starting)
            if (name.compare(phrase, Qt::CaseInsensitive) == 0)
                equal.append(name);
        if (equal.contains(phrase))
            return {phrase, count, {}};
        if (equal.size() == 1)
            return {equal.first(), count, {}};
        if (starting.size() == 1)
            return {starting.first(), count, {}};
        return {{}, 0, QStringLiteral("\"%1\" could be %2").arg(phrase, eitherOf(starting))};
    }
    return {};
}

const char* const kLevelNames[Levels] = {"client", "project", "task"};

// Who has what, for the messages.
QString missing(int level, const QString& text, const QString& client) {
    if (level == 0)
        return QStringLiteral("No client \"%1\"").arg(text);
    return QStringLiteral("%1 has no %2 \"%3\"")
        .arg(client, QLatin1String(kLevelNames[level]), text);
}

// The walk through the names: one level after the other.
class NameWalk {
public:
    explicit NameWalk(const KnownNames& names) : m_names(names) {}

    QStringList candidates() const {
        switch (m_level) {
            case 0:
                return m_names.clients ? m_names.clients() : QStringList();
            case 1:
                return m_names.projects ? m_names.projects(m_chosen[0]) : QStringList();
            case 2:
                return m_names.tasks ? m_names.tasks(m_chosen[0], m_chosen[1]) : QStringList();
            default:
                return {};
        }
    }
    int level() const { return m_level; }
    bool done() const { return m_level >= Levels; }
    const QString& chosen(int level) const { return m_chosen[level]; }
    void choose(const QString& name) { m_chosen[m_level++] = name; }
    void skip() { ++m_level; }

    // A whole "/" segment: a name, or nothing at this level.
    QString takeSegment(const QString& segment) {
        if (done())
            return tooManySlashes();
        const QStringList words = wordsOf(segment);
        if (words.isEmpty()) {
            if (m_level == 0)
                return QStringLiteral("Name a client before the first \"/\"");
            skip();
            return {};
        }
        const NameMatch match = matchLeading(words, candidates());
        if (!match.problem.isEmpty())
            return match.problem;
        if (match.words != words.size())
            return missing(m_level, words.join(u' '), m_chosen[0]);
        choose(match.name);
        return {};
    }

    // Names from the start of `text` as far as they go; returns the note.
    QString takeWords(const QString& text, QString& problem) {
        QStringList words = wordsOf(text);
        while (!done() && !words.isEmpty()) {
            const NameMatch match = matchLeading(words, candidates());
            if (!match.problem.isEmpty()) {
                problem = match.problem;
                return {};
            }
            if (match.words > 0) {
                choose(match.name);
                words = words.mid(match.words);
            } else if (m_level == 0) {
                problem = QStringLiteral("No client starts with \"%1\"").arg(words.first());
                return {};
            } else if (m_level == 1) {
                skip();  // no project: the client's own tasks may follow
            } else {
                break;
            }
        }
        return words.join(u' ');
    }

private:
    const KnownNames& m_names;
    int m_level = 0;
    QString m_chosen[Levels];
};

// Names after the time: by "/" when `bySlash`, else by spaces only.
QuickEntryReading readNames(const QString& rest, const KnownNames& names, bool bySlash) {
    QuickEntryReading reading;
    const QStringList segments = bySlash ? rest.split(u'/') : QStringList{rest};
    if (segments.size() > Levels) {
        reading.problem = tooManySlashes();
        return reading;
    }
    NameWalk walk(names);
    for (qsizetype i = 0; i + 1 < segments.size(); ++i) {
        reading.problem = walk.takeSegment(segments.at(i));
        if (!reading.problem.isEmpty())
            return reading;
    }
    if (walk.level() == 0 && wordsOf(segments.last()).isEmpty()) {
        reading.problem = QStringLiteral("Name a client after the time");
        return reading;
    }
    const QString note = walk.takeWords(segments.last(), reading.problem);
    if (!reading.problem.isEmpty())
        return reading;
    QuickEntry entry;
    entry.client = walk.chosen(0);
    entry.project = walk.chosen(1);
    entry.task = walk.chosen(2);
    entry.note = note;
    reading.entry = entry;
    return reading;
}

}  // namespace

QuickEntryReading read(const QString& line, const KnownNames& names) {
    const TimePart time = readTime(line);
    if (!time.problem.isEmpty())
        return {std::nullopt, time.problem};
    const QString rest = line.mid(time.restAt);
    QuickEntryReading reading = readNames(rest, names, rest.contains(u'/'));
    // "1h acme web fixed a/b": a note may hold a "/" of its own.
    if (!reading.entry && rest.contains(u'/')) {
        QuickEntryReading spaced = readNames(rest, names, false);
        if (spaced.entry)
            reading = spaced;
    }
    if (reading.entry) {
        reading.entry->duration =
            qint32(qMin<qint64>(time.duration, std::numeric_limits<qint32>::max()));
        reading.entry->start = time.start;
    }
    return reading;
}

QStringList completions(const QString& line, const KnownNames& names) {
    const TimePart time = readTime(line);
    // Nothing to complete before the space after the time.
    if (!time.problem.isEmpty() || time.restAt >= line.size())
        return {};
    const QString rest = line.mid(time.restAt);
    const qsizetype lastSlash = rest.lastIndexOf(u'/');
    NameWalk walk(names);
    if (lastSlash >= 0) {
        for (const QString& segment : rest.left(lastSlash).split(u'/'))
            if (!walk.takeSegment(segment).isEmpty())
                return {};
    }
    // What is left is typed as far as it goes: complete where it stops.
    QString typed = rest.mid(lastSlash + 1);
    const bool slashes = lastSlash >= 0;
    while (!walk.done()) {
        const QString partial = afterWords(typed, 0);
        const QStringList found = startingWith(walk.candidates(), partial);
        if (!found.isEmpty()) {
            const QString head = line.left(line.size() - partial.size());
            const QString after =
                slashes && walk.level() + 1 < Levels ? QStringLiteral("/") : QStringLiteral(" ");
            QStringList lines;
            for (const QString& name : found)
                if (slashes || name != partial)  // a name typed out is complete
                    lines.append(head + name + after);
            return lines;
        }
        const NameMatch match = matchLeading(wordsOf(partial), walk.candidates());
        if (match.words > 0) {
            walk.choose(match.name);
            typed = afterWords(partial, match.words);
        } else if (walk.level() == 1) {
            walk.skip();
        } else {
            break;
        }
    }
    return {};
}

}  // namespace tempolatch::quickentry
