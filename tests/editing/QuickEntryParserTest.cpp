#include <QTest>

#include "common/TestRegistry.h"
#include "editing/QuickEntryParser.h"

using namespace tempolatch;

namespace {

// Clients with names that share starts and hold spaces.
KnownNames names() {
    KnownNames known;
    known.clients = [] { return QStringList{"Acme", "Acme Corp", "Acorn", "Blue Sky Labs"}; };
    known.projects = [](const QString& client) {
        if (client == QLatin1String("Acme"))
            return QStringList{"Website", "Mobile", "Maintenance"};
        if (client == QLatin1String("Acme Corp"))
            return QStringList{"Audit"};
        if (client == QLatin1String("Blue Sky Labs"))
            return QStringList{"Data Platform"};
        return QStringList();
    };
    known.tasks = [](const QString& client, const QString& project) {
        if (client == QLatin1String("Acme") && project == QLatin1String("Website"))
            return QStringList{"Design", "Design Review", "Fixes"};
        if (client == QLatin1String("Acme") && project.isEmpty())
            return QStringList{"Support"};
        if (project == QLatin1String("Data Platform"))
            return QStringList{"Load testing"};
        return QStringList();
    };
    return known;
}

}  // namespace

class QuickEntryParserTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // A line and what it reads as; "names" is client|project|task|note.
    void read_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("duration");
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("names");
        QTest::addColumn<QString>("problem");  // a part of the message; empty: none

        const auto row = [](const char* tag, const char* line, int duration, const char* start,
                            const char* names) {
            QTest::newRow(tag) << QString::fromUtf8(line) << duration << QString::fromLatin1(start)
                               << QString::fromUtf8(names) << QString();
        };
        const auto refused = [](const char* tag, const char* line, const char* problem) {
            QTest::newRow(tag) << QString::fromUtf8(line) << 0 << QString() << QString()
                               << QString::fromUtf8(problem);
        };
        row("slashes and a note", "1.5h Acme/Website/Design fixing the header", 150, "",
            "Acme|Website|Design|fixing the header");
        row("range and spaced starts", "9:00-10:30 acme web", 150, "09:00", "Acme|Website||");
        // Hundredths as typed, never a float's neighbour.
        row("0.66 h", "0.66h acme", 66, "", "Acme|||");
        row("0.67 h", "0.67h acme", 67, "", "Acme|||");
        row("a third decimal rounds", "0.665 acme", 67, "", "Acme|||");
        row("comma", "1,25 acme", 125, "", "Acme|||");
        row("minutes", "90m acme", 150, "", "Acme|||");
        row("40 minutes are 0.67 h", "40min acme", 67, "", "Acme|||");
        row("20 minutes are 0.33 h", "20m acme", 33, "", "Acme|||");
        row("h:mm", "1:30 acme", 150, "", "Acme|||");
        row("h and m", "1h30m acme", 150, "", "Acme|||");
        row("digits range", "930-1030 acme", 100, "09:30", "Acme|||");
        row("am and pm", "9am-1pm acme", 400, "09:00", "Acme|||");
        row("over midnight", "23:00-1:00 acme", 200, "23:00", "Acme|||");
        row("spaced dash", "9:00 - 9:40 acme", 67, "09:00", "Acme|||");
        // Names: the longest that fits; the exact name wins over a longer one.
        row("exact beats longer", "1h acme", 100, "", "Acme|||");
        row("name with spaces, slashes", "1h acme corp/audit", 100, "", "Acme Corp|Audit||");
        row("name with spaces, spaced", "1h acme corp audit notes", 100, "",
            "Acme Corp|Audit||notes");
        row("starts of spaced names", "2h blue sky/data/load ran it", 200, "",
            "Blue Sky Labs|Data Platform|Load testing|ran it");
        row("longest task", "1h Acme/Website/Design Review checked", 100, "",
            "Acme|Website|Design Review|checked");
        row("exact task", "1h Acme/Website/design", 100, "", "Acme|Website|Design|");
        row("client task without project", "1h acme support call", 100, "", "Acme||Support|call");
        row("empty project segment", "1h Acme//Support call", 100, "", "Acme||Support|call");
        row("slash in a spaced note", "1h acme fixed a/b test", 100, "", "Acme|||fixed a/b test");
        row("note of an unknown word", "1h acorn call with Ann", 100, "", "Acorn|||call with Ann");

        refused("no time first", "acme 1h", "Start with the time");
        refused("no time at all", "0h acme", "No time worked");
        refused("zero range", "9:00-9:00 acme", "ends where it starts");
        refused("no hour 25", "25:00-26:00 acme", "\"25:00\" is no time of day");
        refused("minutes past 59", "1:75 acme", "Start with the time");
        refused("time only", "1h", "Name a client");
        refused("unknown client", "1h acmee web", "No client starts with \"acmee\"");
        refused("ambiguous client", "1h ac web", "\"ac\" could be Acme or Acme Corp or Acorn");
        refused("ambiguous project", "1h acme m", "\"m\" could be Mobile or Maintenance");
        refused("unknown project", "1h Acme/Webb/Design", "Acme has no project \"Webb\"");
        refused("no client before a slash", "1h /Website", "Name a client before the first");
        refused("too many slashes", "1h Acme/Website/Design/x", "Too many \"/\"");
    }
    void read() {
        QFETCH(QString, line);
        QFETCH(int, duration);
        QFETCH(QString, start);
        QFETCH(QString, names);
        QFETCH(QString, problem);
        const QuickEntryReading reading = quickentry::read(line, ::names());
        if (!problem.isEmpty()) {
            QVERIFY(!reading.entry);
            QVERIFY2(reading.problem.contains(problem), qPrintable(reading.problem));
            return;
        }
        QVERIFY2(reading.entry, qPrintable(reading.problem));
        QCOMPARE(reading.entry->duration, duration);
        QCOMPARE(reading.entry->start ? reading.entry->start->toString(QStringLiteral("hh:mm"))
                                      : QString(),
                 start);
        const QuickEntry& e = *reading.entry;
        QCOMPARE(QStringList({e.client, e.project, e.task, e.note}).join(u'|'), names);
    }

    // Whole lines offered as the line is typed.
    void completions_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QStringList>("offered");
        QTest::newRow("every client")
            << "1h " << QStringList{"1h Acme ", "1h Acme Corp ", "1h Acorn ", "1h Blue Sky Labs "};
        QTest::newRow("by their start")
            << "1h ac" << QStringList{"1h Acme ", "1h Acme Corp ", "1h Acorn "};
        QTest::newRow("a spaced name") << "1h blue s" << QStringList{"1h Blue Sky Labs "};
        QTest::newRow("projects after a name") << "1h acme w" << QStringList{"1h acme Website "};
        QTest::newRow("after a slash")
            << "9-10 Acme/"
            << QStringList{"9-10 Acme/Website/", "9-10 Acme/Mobile/", "9-10 Acme/Maintenance/"};
        QTest::newRow("tasks after two slashes")
            << "1h Acme/Website/d"
            << QStringList{"1h Acme/Website/Design ", "1h Acme/Website/Design Review "};
        QTest::newRow("client tasks without project")
            << "1h acme su" << QStringList{"1h acme Support "};
        QTest::newRow("past the names") << "1h acme website fixing" << QStringList();
        QTest::newRow("before the space") << "1h" << QStringList();
        QTest::newRow("no time") << "acme" << QStringList();
    }
    void completions() {
        QFETCH(QString, line);
        QFETCH(QStringList, offered);
        QCOMPARE(quickentry::completions(line, names()), offered);
    }
};

TEMPOLATCH_TEST(QuickEntryParserTest);
#include "QuickEntryParserTest.moc"
