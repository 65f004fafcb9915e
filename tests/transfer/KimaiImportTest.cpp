#include <QTimeZone>

#include "common/TestRegistry.h"
#include "transfer/CommandLineSupport.h"
#include "transfer/ImportTestSupport.h"

using namespace tempolatch;
using test::startAt;

namespace {

// The timesheet list's CSV export as Kimai writes it today: a byte order
// mark, the columns of its default template, 1 and 0 for yes and no.
const QByteArray kimaiCsv =
    "\xef\xbb\xbf"
    "Date,From,To,Duration,Currency,Price,\"Internal price\",\"Hourly price\",\"Fixed price\","
    "Name,User,E-mail,Account,Customer,Project,Activity,Description,Billable,Tags,Type,Category\n"
    "2026-03-02,09:00,10:30,1.5,EUR,150,90,100,,\"Anna Berg\",anna,anna@example.org,,Acme,"
    "Website,Design,\"Header and footer\",1,,timesheet,work\n"
    "2026-03-02,11:00,11:40,0.67,EUR,66.67,40,100,,\"Anna Berg\",anna,anna@example.org,,Acme,"
    "Website,Call,\"Call with Bob, about \"\"the launch\"\"\",1,,timesheet,work\n"
    "2026-03-02,23:30,00:10,0.67,EUR,0,0,0,,\"Anna Berg\",anna,anna@example.org,,Acme,Website,"
    "Design,\"Late fix\nover two lines\",0,night,timesheet,work\n"
    "2026-03-03,14:00,15:00,1,USD,80,50,,80,\"Anna Berg\",anna,anna@example.org,,Globex,Audit,"
    "Review,,1,,timesheet,work\n";

// The layout of older versions: Begin and End, Rate, Exported, no Duration.
const QByteArray olderHeader =
    "Date,Begin,End,Rate,User,Customer,Project,Activity,Description,"
    "Exported,Tags,\"Hourly rate\",\"Fixed rate\"\r\n";

QByteArray olderRow(const QByteArray& date, const QByteArray& begin, const QByteArray& end,
                    const QByteArray& exported = "0") {
    return date + "," + begin + "," + end + ",50,anna,Acme,Website,Design,," + exported +
           ",,100,\r\n";
}

// The API's timesheet list with full=true, as a user saves it with curl.
const QByteArray kimaiJson = R"([
  {"id": 12, "begin": "2026-03-02T09:00:00+0100", "end": "2026-03-02T10:30:00+0100",
   "duration": 5400, "description": "Header and footer", "rate": 150.0, "billable": true,
   "exported": false, "activity": {"id": 3, "name": "Design"},
   "project": {"id": 2, "name": "Website", "customer": {"id": 1, "name": "Acme", "currency": "EUR"}}},
  {"id": 13, "begin": "2026-03-02T16:00:00+0100", "end": "2026-03-02T16:40:00+0100",
   "duration": 2400, "description": null, "rate": 0, "billable": false, "exported": true,
   "activity": {"id": 4, "name": "Call"},
   "project": {"id": 2, "name": "Website", "customer": {"id": 1, "name": "Acme", "currency": "EUR"}}}
])";

}  // namespace

// Kimai's timesheets, from its CSV export or its API's JSON.
class KimaiImportTest : public test::ImportTest {
    Q_OBJECT

private Q_SLOTS:
    void csvExport() {
        const ImportPlan p = plan(ImportFormat::Kimai, write(kimaiCsv));
        QVERIFY2(p.canImport(), qPrintable(importPreview(p)));
        QCOMPARE(p.toAdd.size(), 4);
        const TimeEntry& design = p.toAdd.at(0).entry;
        QCOMPARE(QStringList({design.client, design.project, design.task}),
                 QStringList({"Acme", "Website", "Design"}));
        QCOMPARE(design.date, startAt(2026, 3, 2, 9, 0));
        QCOMPARE(design.duration, 150);
        QCOMPARE(design.status, EntryStatus::Billable);
        QCOMPARE(design.currency, QStringLiteral("EUR"));
        QCOMPARE(design.rateType, RateType::Normal);
        QCOMPARE(design.rate, 10000);
        // 0.67 h for 66.67: no hourly rate gives that both ways, so fixed.
        QCOMPARE(p.toAdd.at(1).entry.duration, 67);
        QCOMPARE(p.toAdd.at(1).entry.rateType, RateType::Fixed);
        QCOMPARE(p.toAdd.at(1).entry.rate, 6667);
        QCOMPARE(p.toAdd.at(1).note, QStringLiteral("Call with Bob, about \"the launch\""));
        // Past midnight: the day it began, the note over two lines.
        QCOMPARE(p.toAdd.at(2).entry.date, startAt(2026, 3, 2, 23, 30));
        QCOMPARE(p.toAdd.at(2).entry.status, EntryStatus::NonBillable);
        QCOMPARE(p.toAdd.at(2).entry.rate, 0);
        QCOMPARE(p.toAdd.at(2).note, QStringLiteral("Late fix\nover two lines"));
        QCOMPARE(p.toAdd.at(3).line, 6);
        QCOMPARE(p.toAdd.at(3).entry.currency, QStringLiteral("USD"));
        QCOMPARE(p.newClients, QStringList({"Acme", "Globex"}));
        QCOMPARE(p.newProjects, QStringList({"Acme / Website", "Globex / Audit"}));

        QVERIFY(runImport(m_env->store(), p, test::importNoteBytes).succeeded());
        // The hours stored add up to the file's Duration column.
        qint32 total = 0;
        for (const TimeEntry& e : test::allEntries())
            total += e.duration;
        QCOMPARE(total, 150 + 67 + 67 + 100);
        QCOMPARE(plan(ImportFormat::Kimai, write(kimaiCsv)).alreadyStored, 4);
    }

    // Durations as the export writes them, and as they follow from From
    // and To when it has no Duration column, across midnight and the
    // nights the clocks change.
    void durations_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QDateTime>("start");
        QTest::addColumn<int>("hundredths");
        const QByteArray header = "Date,From,To,Duration,Customer,Project\n";
        const auto row = [&header](const QByteArray& from, const QByteArray& duration) {
            return header + "2026-03-02," + from + ",10:00," + duration + ",Acme,Web\n";
        };
        const QDateTime nine(QDate(2026, 3, 2), QTime(9, 0));
        QTest::newRow("0.66 h") << row("09:00", "0.66") << nine << 66;
        QTest::newRow("0.67 h") << row("09:00", "0.67") << nine << 67;
        QTest::newRow("0:40 as H:MM") << row("09:00", "0:40") << nine << 67;
        QTest::newRow("39:36 as H:MM:SS") << row("09:00", "0:39:36") << nine << 66;
        QTest::newRow("655.35 h") << row("09:00", "655.35") << nine << 65535;
        QTest::newRow("seconds in From") << row("09:00:30", "1") << nine.addSecs(30) << 100;
        QTest::newRow("midnight, From and To")
            << olderHeader + olderRow("2026-03-02", "23:30", "00:10")
            << QDateTime(QDate(2026, 3, 2), QTime(23, 30)) << 67;
        QTest::newRow("zero length") << olderHeader + olderRow("2026-03-02", "10:00", "10:00")
                                     << QDateTime(QDate(2026, 3, 2), QTime(10, 0)) << 0;
        // Berlin's clocks skip 02:00-03:00 on 29 March and repeat it on 25 October.
        QTest::newRow("spring forward") << olderHeader + olderRow("2026-03-29", "01:30", "03:30")
                                        << QDateTime(QDate(2026, 3, 29), QTime(1, 30)) << 100;
        QTest::newRow("fall back") << olderHeader + olderRow("2026-10-25", "00:30", "03:30")
                                   << QDateTime(QDate(2026, 10, 25), QTime(0, 30)) << 400;
    }
    void durations() {
        QFETCH(QByteArray, bytes);
        QFETCH(QDateTime, start);
        QFETCH(int, hundredths);
        const test::LocalZone berlin("Europe/Berlin");
        const ImportPlan p = plan(ImportFormat::Kimai, write(bytes));
        QVERIFY2(p.canImport(), qPrintable(importPreview(p)));
        QCOMPARE(p.toAdd.size(), 1);
        QCOMPARE(p.toAdd.first().entry.date, *entryStart(start));
        QCOMPARE(p.toAdd.first().entry.duration, hundredths);
    }

    void olderLayoutExportedIsBilled() {
        const ImportPlan p =
            plan(ImportFormat::Kimai, write(olderHeader + olderRow("2026-03-02", "09:00", "10:00") +
                                            olderRow("2026-03-02", "11:00", "12:00", "1")));
        QVERIFY2(p.canImport(), qPrintable(importPreview(p)));
        // No Billable column: the new-entry default.
        QCOMPARE(p.toAdd.at(0).entry.status, EntryStatus::Billable);
        QCOMPARE(p.toAdd.at(1).entry.status, EntryStatus::Billed);
        QCOMPARE(p.toAdd.at(1).entry.rate, 5000);
    }

    void apiJson() {
        const ImportPlan p = plan(ImportFormat::Kimai, write(kimaiJson, QStringLiteral("in.json")));
        QVERIFY2(p.canImport(), qPrintable(importPreview(p)));
        QCOMPARE(p.toAdd.size(), 2);
        const TimeEntry& design = p.toAdd.at(0).entry;
        QCOMPARE(p.toAdd.at(0).line, 2);
        QCOMPARE(QStringList({design.client, design.project, design.task}),
                 QStringList({"Acme", "Website", "Design"}));
        const QDateTime nineInBerlin(QDate(2026, 3, 2), QTime(9, 0), QTimeZone(3600));
        QCOMPARE(design.date, test::startOf(nineInBerlin));
        QCOMPARE(design.duration, 150);
        QCOMPARE(design.currency, QStringLiteral("EUR"));
        QCOMPARE(design.rate, 10000);
        QCOMPARE(p.toAdd.at(0).note, QStringLiteral("Header and footer"));
        QCOMPARE(p.toAdd.at(1).line, 6);
        QCOMPARE(p.toAdd.at(1).entry.duration, 67);
        QCOMPARE(p.toAdd.at(1).entry.status, EntryStatus::Billed);
        QVERIFY(p.toAdd.at(1).note.isEmpty());
    }

    void refused_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("reason");
        const QByteArray header = "Date,From,To,Duration,Customer,Project,Billable\n";
        const QByteArray good = "2026-03-02,09:00,10:00,1,Acme,Web,1\n";
        QTest::newRow("no Customer column")
            << QByteArray("Date,From,To,Duration,Project\n2026-03-02,09:00,10:00,1,Web\n") << 1
            << "Customer";
        QTest::newRow("no From column")
            << QByteArray("Date,To,Duration,Customer,Project\n") << 1 << "From (or Begin)";
        QTest::newRow("neither Duration nor To")
            << QByteArray("Date,From,Customer,Project\n2026-03-02,09:00,Acme,Web\n") << 1
            << "neither Duration nor To";
        QTest::newRow("still running") << header + good + "2026-03-02,11:00,,0,Acme,Web,1\n"
                                       << 3 << "still running";
        QTest::newRow("decimal comma")
            << header + good + "2026-03-02,11:00,12:00,\"1,5\",Acme,Web,1\n"
            << 3 << "1.50 or 1:30";
        QTest::newRow("31 April") << header + "2026-04-31,09:00,10:00,1,Acme,Web,1\n"
                                  << 2 << "not a date";
        QTest::newRow("billable maybe")
            << header + good + "2026-03-02,11:00,12:00,1,Acme,Web,maybe\n"
            << 3 << "neither 1 nor 0";
        QTest::newRow("Windows-1252 bytes")
            << header + good + "2026-03-02,11:00,12:00,1,Caf\xe9,Web,1\n"
            << 3 << "UTF-8";
        QTest::newRow("JSON with ids only")
            << QByteArray("[\n{\"begin\":\"2026-03-02T09:00:00+0100\",\"project\":2}\n]") << 2
            << "full=true";
        QTest::newRow("JSON still running")
            << QByteArray(
                   "[{\"begin\":\"2026-03-02T09:00:00+0100\",\"end\":null,"
                   "\"project\":{\"name\":\"W\"}}]")
            << 1 << "still running";
    }
    void refused() {
        QFETCH(QByteArray, bytes);
        QFETCH(int, line);
        QFETCH(QString, reason);
        checkRefused(plan(ImportFormat::Kimai, write(bytes)), line, reason);
    }

    void commandLine() {
        const QString profile = m_env->folder();
        m_env->store().close();
        const QString file = write(kimaiCsv);
        test::ProgramRun run = test::runProgram(profile, {"import", "kimai", file});
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(run.out.contains("4 entries added"), run.out.constData());
        run = test::runProgram(profile, {"import", "kimai", file, "--dry-run"});
        QCOMPARE(run.exitCode, 0);
        QVERIFY(run.out.contains("0 entries to add, 4 already in the store"));
        run = test::runProgram(profile, {"import", "kimai", "--help"});
        QVERIFY(run.out.contains("full=true"));
    }
};

TEMPOLATCH_TEST(KimaiImportTest);
#include "KimaiImportTest.moc"
