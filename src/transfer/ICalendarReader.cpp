#include "transfer/ICalendarReader.h"

#include <QMap>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QTimeZone>

namespace tempolatch {

namespace {

// A content line once unfolded, with the line of the file it starts on.
struct ContentLine {
    int line = 0;
    QString name;                   // upper case
    QMap<QString, QString> params;  // names upper case, values unquoted
    QString value;
};

struct Event {
    int line = 0;
    QList<ContentLine> properties;

    const ContentLine* find(const QString& name) const {
        for (const ContentLine& property : properties)
            if (property.name == name)
                return &property;
        return nullptr;
    }
    QString value(const QString& name) const {
        const ContentLine* property = find(name);
        return property ? property->value : QString();
    }
};

// Lines are folded by a line break and one blank; the joined line keeps the
// number of its first.
template <typename Text>
QList<std::pair<int, Text>> unfolded(const QList<Text>& physical) {
    QList<std::pair<int, Text>> lines;
    for (qsizetype i = 0; i < physical.size(); ++i) {
        Text line = physical.at(i);
        if (line.endsWith('\r'))
            line.chop(1);
        if (!lines.isEmpty() && (line.startsWith(' ') || line.startsWith('\t')))
            lines.last().second += line.mid(1);
        else if (!line.isEmpty())
            lines.append({int(i) + 1, line});
    }
    return lines;
}

// UTF-8 is unfolded before it is decoded: a fold may split a character.
std::optional<QList<std::pair<int, QString>>> logicalLines(const QByteArray& bytes,
                                                           ImportRead& read) {
    const auto encoding = QStringConverter::encodingForData(bytes);
    if (encoding && *encoding != QStringConverter::Utf8) {
        const auto text = importText(bytes, read);
        if (!text)
            return std::nullopt;
        return unfolded(text->split(QLatin1Char('\n')));
    }
    QList<std::pair<int, QString>> lines;
    const QByteArray body = encoding ? bytes.mid(3) : bytes;
    for (const auto& [line, utf8] : unfolded(body.split('\n'))) {
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        QString text = decoder(utf8);
        if (decoder.hasError()) {
            read.problem(
                line, QStringLiteral("This line is not UTF-8 text: save the calendar as UTF-8."));
            return std::nullopt;
        }
        lines.append({line, text});
    }
    return lines;
}

// NAME;PARAM=value;PARAM="quoted; value":value
std::optional<ContentLine> contentLine(int line, const QString& text) {
    ContentLine content{line, {}, {}, {}};
    qsizetype i = 0;
    while (i < text.size() && text.at(i) != u';' && text.at(i) != u':')
        ++i;
    content.name = text.left(i).trimmed().toUpper();
    while (i < text.size() && text.at(i) == u';') {
        const qsizetype equals = text.indexOf(u'=', i + 1);
        if (equals < 0)
            return std::nullopt;
        const QString name = text.mid(i + 1, equals - i - 1).trimmed().toUpper();
        QString value;
        bool quoted = false;
        for (i = equals + 1; i < text.size(); ++i) {
            const QChar c = text.at(i);
            if (c == u'"')
                quoted = !quoted;
            else if (!quoted && (c == u';' || c == u':'))
                break;
            else
                value += c;
        }
        content.params.insert(name, value);
    }
    if (i >= text.size() || content.name.isEmpty())
        return std::nullopt;
    content.value = text.mid(i + 1);
    return content;
}

// The values of a TEXT property: "\\n" a line break, "\\," "\\;" "\\\\"
// themselves; split at unescaped commas when `list` is set.
QStringList textValues(const QString& text, bool list) {
    QStringList values{QString()};
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'\\' && i + 1 < text.size()) {
            const QChar next = text.at(++i);
            values.last() += (next == u'n' || next == u'N') ? QChar(u'\n') : next;
        } else if (list && c == u',') {
            values.append(QString());
        } else {
            values.last() += c;
        }
    }
    return values;
}

QString text(const Event& event, const QString& name) {
    return textValues(event.value(name), false).first().trimmed();
}

bool isDateOnly(const ContentLine& property) {
    static const QRegularExpression date(QStringLiteral("^\\d{8}$"));
    return property.params.value(QStringLiteral("VALUE")).toUpper() == QLatin1String("DATE") ||
           date.match(property.value.trimmed()).hasMatch();
}

QTimeZone zoneNamed(QString id) {
    // Some calendars write "/Europe/Berlin", others the names Windows uses.
    if (id.startsWith(u'/'))
        id.remove(0, 1);
    const QByteArray name = id.trimmed().toUtf8();
    if (QTimeZone::isTimeZoneIdAvailable(name))
        return QTimeZone(name);
    const QByteArray iana = QTimeZone::windowsIdToDefaultIanaId(name);
    return iana.isEmpty() ? QTimeZone() : QTimeZone(iana);
}

// 20260302T090000Z (UTC), or local time in the TZID, or here without one.
std::optional<QDateTime> instantOf(const ContentLine& property, QString& why) {
    static const QRegularExpression form(QStringLiteral("^(\\d{8})T(\\d{6})(Z?)$"));
    const auto match = form.match(property.value.trimmed());
    const QDate date = QDate::fromString(match.captured(1), QStringLiteral("yyyyMMdd"));
    const QTime time = QTime::fromString(match.captured(2), QStringLiteral("HHmmss"));
    if (!match.hasMatch() || !date.isValid() || !time.isValid()) {
        why = QStringLiteral("%1 \"%2\" is not a time such as 20260302T090000Z.")
                  .arg(property.name, property.value);
        return std::nullopt;
    }
    if (!match.captured(3).isEmpty())
        return QDateTime(date, time, QTimeZone::utc());
    const QString tzid = property.params.value(QStringLiteral("TZID"));
    if (tzid.isEmpty())
        return QDateTime(date, time);
    const QTimeZone zone = zoneNamed(tzid);
    if (!zone.isValid()) {
        why = QStringLiteral("The time zone \"%1\" of %2 is not known here.")
                  .arg(tzid, property.name);
        return std::nullopt;
    }
    const QDateTime instant(date, time, zone);
    if (!instant.isValid())
        why = QStringLiteral("%1 %2 does not exist in %3: the clocks skip it.")
                  .arg(property.name, property.value, tzid);
    return instant.isValid() ? std::optional(instant) : std::nullopt;
}

// DURATION: P1W, P1DT2H, PT1H30M, PT40M...; nullopt for anything else or
// a negative one.
std::optional<QDateTime> endAfter(const QDateTime& start, const QString& text) {
    static const QRegularExpression form(QStringLiteral(
        "^\\+?P(?:(\\d+)W|(?:(\\d+)D)?(?:T(?=\\d)(?:(\\d+)H)?(?:(\\d+)M)?(?:(\\d+)S)?)?)$"));
    const auto match = form.match(text.trimmed());
    if (!match.hasMatch() || text.trimmed().size() < 3)
        return std::nullopt;
    const auto number = [&match](int i) { return match.captured(i).toLongLong(); };
    // Days are days of the calendar, an hour more or less where the clocks change.
    return start.addDays(number(1) * 7 + number(2))
        .addSecs(number(3) * 3600 + number(4) * 60 + number(5));
}

class EventReader {
public:
    EventReader(const Event& event, ImportRead& read) : m_event(event), m_read(read) {}

    void read(EntryStatus status) {
        const QString summary = text(m_event, QStringLiteral("SUMMARY"));
        m_title = summary.isEmpty() ? QStringLiteral("(no summary)")
                                    : QStringLiteral("\"%1\"").arg(summary.section(u'\n', 0, 0));
        if (m_event.value(QStringLiteral("STATUS")).trimmed().toUpper() ==
            QLatin1String("CANCELLED"))
            return m_read.notice(m_event.line,
                                 QStringLiteral("Skipped: %1 was cancelled.").arg(m_title));
        const ContentLine* dtstart = m_event.find(QStringLiteral("DTSTART"));
        if (!dtstart)
            return m_read.problem(m_event.line,
                                  QStringLiteral("The event %1 has no DTSTART.").arg(m_title));
        if (isDateOnly(*dtstart))
            return m_read.notice(m_event.line,
                                 QStringLiteral("Skipped: %1 is an all-day event, with no times "
                                                "to bill.")
                                     .arg(m_title));
        QString why;
        const auto start = instantOf(*dtstart, why);
        if (!start)
            return m_read.problem(dtstart->line, why);
        const auto end = endOf(*start);
        if (!end)
            return;
        if (m_event.find(QStringLiteral("RRULE")))
            m_read.notice(m_event.line,
                          QStringLiteral("%1 repeats (RRULE): only its first "
                                         "occurrence, on %2, is imported; the "
                                         "repetitions are not expanded.")
                              .arg(m_title, start->toLocalTime().date().toString(Qt::ISODate)));
        add(*start, *end, summary, status);
    }

private:
    // DTEND, or the start plus DURATION, or the start itself (an event
    // with neither ends as it begins).
    std::optional<QDateTime> endOf(const QDateTime& start) {
        QString why;
        std::optional<QDateTime> end = start;
        int line = m_event.line;
        if (const ContentLine* dtend = m_event.find(QStringLiteral("DTEND"))) {
            line = dtend->line;
            end = isDateOnly(*dtend) ? std::nullopt : instantOf(*dtend, why);
            if (isDateOnly(*dtend))
                why = QStringLiteral("DTEND is a day without a time, while DTSTART has one.");
        } else if (const ContentLine* duration = m_event.find(QStringLiteral("DURATION"))) {
            line = duration->line;
            end = endAfter(start, duration->value);
            why = QStringLiteral("DURATION \"%1\" is not a length such as PT1H30M.")
                      .arg(duration->value);
        }
        if (end && *end < start) {
            end.reset();
            why = QStringLiteral("The event %1 ends before it starts.").arg(m_title);
        }
        if (!end)
            m_read.problem(line, why);
        return end;
    }

    void add(const QDateTime& start, const QDateTime& end, const QString& summary,
             EntryStatus status) {
        const QString description = text(m_event, QStringLiteral("DESCRIPTION"));
        QStringList note{summary, description};
        note.removeAll(QString());
        ImportedRow row{m_event.line, TimeEntry(), note.join(u'\n')};
        QStringList names;
        for (const ContentLine& property : m_event.properties)
            if (property.name == QLatin1String("CATEGORIES"))
                names += textValues(property.value, true);
        for (QString& name : names)
            name = name.trimmed();
        row.entry.client = names.value(0);
        row.entry.project = names.value(1);
        row.entry.task = names.value(2);
        row.entry.status = status;
        const auto date = entryStart(start.toLocalTime());
        if (!date)
            return m_read.problem(m_event.line,
                                  QStringLiteral("The start is out of the range of dates."));
        row.entry.date = *date;
        row.entry.duration = hundredthsOfSeconds(start.secsTo(end));
        m_read.rows.append(row);
    }

    const Event& m_event;
    ImportRead& m_read;
    QString m_title;
};

// Reads the components: the events directly inside the calendar are read,
// the rest (time zones, to-dos, an event's alarms) are passed over.
class ComponentWalk {
public:
    ComponentWalk(EntryStatus status, ImportRead& read) : m_status(status), m_read(read) {}

    // False when the file's structure is broken, with the problem.
    bool take(const ContentLine& content) {
        if (m_open.isEmpty() && content.name != QLatin1String("BEGIN")) {
            m_read.problem(content.line,
                           QStringLiteral("Not an iCalendar file: BEGIN:VCALENDAR is expected."));
            return false;
        }
        if (content.name == QLatin1String("BEGIN"))
            return begin(content);
        if (content.name == QLatin1String("END"))
            return end(content);
        if (m_event && m_open.size() == 2)
            m_event->properties.append(content);
        return true;
    }
    bool finish(int lastLine) {
        if (m_open.isEmpty())
            return true;
        m_read.problem(
            m_event ? m_event->line : lastLine,
            QStringLiteral("The file ends inside BEGIN:%1: it is cut short.").arg(m_open.last()));
        return false;
    }

private:
    bool inCalendarOnly() const { return m_open == QStringList{QStringLiteral("VCALENDAR")}; }
    bool begin(const ContentLine& content) {
        const QString component = content.value.trimmed().toUpper();
        if (m_open.isEmpty() && component != QLatin1String("VCALENDAR")) {
            m_read.problem(content.line,
                           QStringLiteral("Not an iCalendar file: BEGIN:VCALENDAR is expected."));
            return false;
        }
        if (component == QLatin1String("VEVENT") && inCalendarOnly())
            m_event = Event{content.line, {}};
        m_open.append(component);
        return true;
    }
    bool end(const ContentLine& content) {
        const QString component = content.value.trimmed().toUpper();
        if (m_open.isEmpty() || m_open.last() != component) {
            m_read.problem(content.line, QStringLiteral("END:%1 where BEGIN:%2 is still open.")
                                             .arg(component, m_open.value(m_open.size() - 1)));
            return false;
        }
        m_open.removeLast();
        if (m_event && inCalendarOnly()) {
            EventReader(*m_event, m_read).read(m_status);
            m_event.reset();
        }
        return true;
    }

    EntryStatus m_status;
    ImportRead& m_read;
    QStringList m_open;
    std::optional<Event> m_event;
};

}  // namespace

ImportRead readICalendar(const QByteArray& bytes, EntryStatus status) {
    ImportRead read;
    const auto lines = logicalLines(bytes, read);
    if (!lines)
        return read;
    if (lines->isEmpty()) {
        read.problem(1, QStringLiteral("The file is empty."));
        return read;
    }
    const auto& [firstLine, first] = lines->first();
    if (first.trimmed().compare(QLatin1String("BEGIN:VCALENDAR"), Qt::CaseInsensitive) != 0) {
        read.problem(firstLine,
                     QStringLiteral("Not an iCalendar file: BEGIN:VCALENDAR is expected."));
        return read;
    }
    ComponentWalk walk(status, read);
    for (const auto& [line, text] : *lines) {
        const auto content = contentLine(line, text);
        if (!content) {
            read.problem(line, QStringLiteral("Not an iCalendar line: a name, a colon and the "
                                              "value are expected."));
            return read;
        }
        if (!walk.take(*content))
            return read;
    }
    walk.finish(lines->last().first);
    return read;
}

}  // namespace tempolatch
