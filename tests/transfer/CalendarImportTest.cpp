#include <QTimeZone>

#include "common/TestRegistry.h"
#include "transfer/CommandLineSupport.h"
#include "transfer/ImportTestSupport.h"

using namespace tempolatch;

namespace {

// A calendar as calendar programs export it: CR LF, a time zone
// definition, lines folded at 75 bytes.
QByteArray calendar(const QByteArray& events) {
    QByteArray text =
        "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Example Corp.//Calendar 4.2//EN\r\n"
        "BEGIN:VTIMEZONE\r\nTZID:Europe/Berlin\r\nBEGIN:STANDARD\r\n"
        "DTSTART:19701025T030000\r\nTZOFFSETFROM:+0200\r\nTZOFFSETTO:+0100\r\n"
        "END:STANDARD\r\nEND:VTIMEZONE\r\n";
    return text + events + "END:VCALENDAR\r\n";
}

QByteArray vevent(const QByteArray& properties) {
    return "BEGIN:VEVENT\r\nUID:" + QByteArray::number(qHash(properties)) +
           "@example.org\r\nDTSTAMP:20260301T120000Z\r\n" + properties + "END:VEVENT\r\n";
}

QDateTime utc(int y, int mo, int d, int h, int mi) {
    return QDateTime(QDate(y, mo, d), QTime(h, mi), QTimeZone::utc());
}

QDateTime in(const char* zone, int y, int mo, int d, int h, int mi) {
    return QDateTime(QDate(y, mo, d), QTime(h, mi), QTimeZone(zone));
}

}  // namespace

// Calendar events brought in as time entries.
class CalendarImportTest : public test::ImportTest {
    Q_OBJECT

    ImportPlan planOf(const QByteArray& bytes) {
        return plan(ImportFormat::ICalendar, write(bytes, QStringLiteral("in.ics")));
    }

private Q_SLOTS:
    // When an event starts and how long it lasts, in each form of time.
    void startAndDuration_data() {
        QTest::addColumn<QByteArray>("properties");
        QTest::addColumn<QDateTime>("start");
        QTest::addColumn<int>("hundredths");
        QTest::newRow("UTC") << QByteArray("DTSTART:20260302T080000Z\r\nDTEND:20260302T093000Z\r\n")
                             << utc(2026, 3, 2, 8, 0) << 150;
        QTest::newRow("TZID") << QByteArray(
                                     "DTSTART;TZID=Europe/Berlin:20260302T090000\r\n"
                                     "DTEND;TZID=Europe/Berlin:20260302T094000\r\n")
                              << in("Europe/Berlin", 2026, 3, 2, 9, 0) << 67;
        QTest::newRow("quoted TZID, Windows name")
            << QByteArray(
                   "DTSTART;TZID=\"W. Europe Standard Time\":20260302T090000\r\n"
                   "DTEND;TZID=\"W. Europe Standard Time\":20260302T093936\r\n")
            << in("Europe/Berlin", 2026, 3, 2, 9, 0) << 66;
        // New York's clocks skip 02:00-03:00 on 8 March 2026: two hours on
        // the wall, one of them real.
        QTest::newRow("across spring forward")
            << QByteArray(
                   "DTSTART;TZID=America/New_York:20260308T013000\r\n"
                   "DTEND;TZID=America/New_York:20260308T033000\r\n")
            << in("America/New_York", 2026, 3, 8, 1, 30) << 100;
        // A day of the calendar over Berlin's fall back lasts 25 hours.
        QTest::newRow("P1D over fall back")
            << QByteArray("DTSTART;TZID=Europe/Berlin:20261024T120000\r\nDURATION:P1D\r\n")
            << in("Europe/Berlin", 2026, 10, 24, 12, 0) << 2500;
        QTest::newRow("PT40M") << QByteArray("DTSTART:20260302T080000Z\r\nDURATION:PT40M\r\n")
                               << utc(2026, 3, 2, 8, 0) << 67;
        QTest::newRow("past midnight")
            << QByteArray("DTSTART:20260302T233000Z\r\nDTEND:20260303T001000Z\r\n")
            << utc(2026, 3, 2, 23, 30) << 67;
        QTest::newRow("no end") << QByteArray("DTSTART:20260302T080000Z\r\n")
                                << utc(2026, 3, 2, 8, 0) << 0;
        QTest::newRow("floating local time")
            << QByteArray("DTSTART:20260302T090000\r\nDTEND:20260302T100000\r\n")
            << QDateTime(QDate(2026, 3, 2), QTime(9, 0)) << 100;
    }
    void startAndDuration() {
        QFETCH(QByteArray, properties);
        QFETCH(QDateTime, start);
        QFETCH(int, hundredths);
        const ImportPlan p = planOf(calendar(vevent("SUMMARY:Call\r\n" + properties)));
        QVERIFY2(p.canImport(), qPrintable(importPreview(p)));
        QCOMPARE(p.toAdd.size(), 1);
        QCOMPARE(p.toAdd.first().entry.date, test::startOf(start));
        QVERIFY(p.toAdd.first().entry.hasStartTime());
        QCOMPARE(p.toAdd.first().entry.duration, hundredths);
        QCOMPARE(p.toAdd.first().line, 12);
    }

    // Folded lines, escaped text and categories; an alarm's own
    // description stays out of the note.
    void textsOfAnEvent() {
        const QByteArray properties =
            "DTSTART:20260302T080000Z\r\nDTEND:20260302T090000Z\r\n"
            "SUMMARY:Workshop with the whole team about the new shop\\, its checkou\r\n"
            " t and the launch\r\n"
            "DESCRIPTION:Agenda:\\n1. Caf\xc3\r\n \xa9 order\\; 2. Back\\\\slash\r\n"
            "CATEGORIES:Acme,Website\\, Shop\r\nCATEGORIES:Design,Ignored\r\n"
            "BEGIN:VALARM\r\nACTION:DISPLAY\r\nDESCRIPTION:Reminder\r\nTRIGGER:-PT15M\r\n"
            "END:VALARM\r\n";
        const ImportPlan p = planOf(calendar(vevent(properties)));
        QVERIFY2(p.canImport(), qPrintable(importPreview(p)));
        QCOMPARE(p.toAdd.size(), 1);
        const ImportedRow& row = p.toAdd.first();
        QCOMPARE(QStringList({row.entry.client, row.entry.project, row.entry.task}),
                 QStringList({"Acme", "Website, Shop", "Design"}));
        QCOMPARE(row.note, QStringLiteral("Workshop with the whole team about the new shop, its "
                                          "checkout and the launch\nAgenda:\n1. Café order; 2. "
                                          "Back\\slash"));
        QCOMPARE(row.entry.status, EntryStatus::Billable);
        QVERIFY(runImport(m_env->store(), p, test::importNoteBytes).succeeded());
        QCOMPARE(planOf(calendar(vevent(properties))).alreadyStored, 1);
    }

    // All-day and cancelled events are left out, a repeating one comes in
    // once; the preview says each.
    void skippedAndRepeatingEvents() {
        const QByteArray bytes =
            calendar(vevent("SUMMARY:Public holiday\r\nDTSTART;VALUE=DATE:20260406\r\n"
                            "DTEND;VALUE=DATE:20260407\r\n") +
                     vevent("SUMMARY:Weekly sync\r\nDTSTART:20260302T080000Z\r\nDURATION:PT30M\r\n"
                            "RRULE:FREQ=WEEKLY;COUNT=10\r\n") +
                     vevent("SUMMARY:Dropped\r\nSTATUS:CANCELLED\r\nDTSTART:20260303T080000Z\r\n"
                            "DURATION:PT1H\r\n"));
        const ImportPlan p = planOf(bytes);
        QVERIFY2(p.canImport(), qPrintable(importPreview(p)));
        QCOMPARE(p.toAdd.size(), 1);
        QCOMPARE(p.toAdd.first().entry.duration, 50);
        QCOMPARE(p.notices.size(), 3);
        const QString preview = importPreview(p);
        QVERIFY2(preview.contains(
                     QStringLiteral("Line 12: Skipped: \"Public holiday\" is an all-day event")),
                 qPrintable(preview));
        QVERIFY(
            preview.contains(QStringLiteral("Line 19: \"Weekly sync\" repeats (RRULE): only "
                                            "its first occurrence, on 2026-03-02")));
        QVERIFY(preview.contains(QStringLiteral("not expanded")));
        QVERIFY(preview.contains(QStringLiteral("Line 27: Skipped: \"Dropped\" was cancelled.")));
    }

    void refused_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("reason");
        const QByteArray good = vevent("DTSTART:20260302T080000Z\r\nDTEND:20260302T090000Z\r\n");
        QTest::newRow("ends before it starts")
            << calendar(good + vevent("DTSTART:20260302T080000Z\r\nDTEND:20260302T070000Z\r\n"))
            << 22 << "ends before it starts";
        QTest::newRow("unknown zone")
            << calendar(vevent("DTSTART;TZID=Mars/Olympus:20260302T080000\r\n")) << 15
            << "Mars/Olympus";
        QTest::newRow("30 February")
            << calendar(vevent("DTSTART:20260230T080000Z\r\n")) << 15 << "not a time";
        QTest::newRow("in the spring gap")
            << calendar(vevent("DTSTART;TZID=Europe/Berlin:20260329T023000\r\n")) << 15
            << "clocks skip it";
        QTest::newRow("DURATION of minutes without T")
            << calendar(vevent("DTSTART:20260302T080000Z\r\nDURATION:P40M\r\n")) << 16 << "PT1H30M";
        QTest::newRow("no DTSTART") << calendar(vevent("SUMMARY:Idea\r\n")) << 12 << "no DTSTART";
        QTest::newRow("cut short")
            << calendar(good).left(calendar(good).indexOf("END:VEVENT")) << 12 << "cut short";
        QTest::newRow("a CSV file")
            << QByteArray("Date,From\n2026-03-02,09:00\n") << 1 << "BEGIN:VCALENDAR";
        QTest::newRow("Latin-1 bytes")
            << calendar(vevent("DTSTART:20260302T080000Z\r\nSUMMARY:Caf\xe9\r\n")) << 16 << "UTF-8";
        QTest::newRow("empty") << QByteArray() << 1 << "empty";
    }
    void refused() {
        QFETCH(QByteArray, bytes);
        QFETCH(int, line);
        QFETCH(QString, reason);
        checkRefused(planOf(bytes), line, reason);
    }

    // A UTF-16 calendar with its byte order mark reads as UTF-8 does.
    void utf16() {
        const QString text = QString::fromUtf8(
            calendar(vevent("SUMMARY:Café\r\nDTSTART:20260302T080000Z\r\nDURATION:PT1H\r\n")));
        QByteArray bytes("\xff\xfe");
        bytes.append(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
        const ImportPlan p = planOf(bytes);
        QVERIFY2(p.canImport(), qPrintable(importPreview(p)));
        QCOMPARE(p.toAdd.first().note, QStringLiteral("Café"));
        QCOMPARE(p.toAdd.first().line, 12);
    }

    void commandLine() {
        const QString profile = m_env->folder();
        m_env->store().close();
        const QString file = write(
            calendar(vevent("DTSTART;VALUE=DATE:20260406\r\n") +
                     vevent("CATEGORIES:Acme\r\nDTSTART:20260302T080000Z\r\nDURATION:PT1H\r\n")),
            QStringLiteral("in.ics"));
        test::ProgramRun run = test::runProgram(profile, {"import", "ics", file});
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(run.out.contains("New clients: Acme"), run.out.constData());
        QVERIFY(run.out.contains("all-day event"));
        QVERIFY(run.out.contains("1 entries added"));
        QVERIFY(test::openProfile(profile));
        QCOMPARE(test::allEntries().size(), 1);
    }
};

TEMPOLATCH_TEST(CalendarImportTest);
#include "CalendarImportTest.moc"
