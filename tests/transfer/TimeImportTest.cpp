#include <QFile>
#include <QTest>

#include "common/SampleStore.h"
#include "common/TestRegistry.h"
#include "transfer/CommandLineSupport.h"
#include "transfer/ImportTestSupport.h"
#include "transfer/TimeImport.h"

using namespace tempolatch;
using namespace tempolatch::platform;

namespace {

const QByteArray togglHeader =
    "User,Email,Client,Project,Task,Description,Billable,Start date,Start time,End date,"
    "End time,Duration,Tags,Amount (USD)\r\n";

QByteArray togglRow(const QByteArray& start, const QByteArray& duration,
                    const QByteArray& billable = "Yes", const QByteArray& amount = "") {
    return "A,a@x.org,Acme,Web,,Note," + billable + ",2026-03-02," + start + ",,," + duration +
           ",," + amount + "\r\n";
}

using test::startAt;

QByteArray noteBytes(const QString& text) {
    return test::importNoteBytes(text);
}

}  // namespace

// Time entries brought over from other trackers' exports: what is read from
// each column, the preview, all or nothing, and a second import of one file.
class TimeImportTest : public test::ImportTest {
    Q_OBJECT

private Q_SLOTS:
    void togglDetailedReportColumns() {
        const ImportPlan p = plan(ImportFormat::Toggl,
                                  test::testDataPath(QStringLiteral("import/toggl-detailed.csv")));
        QVERIFY2(p.canImport(), qPrintable(importPreview(p)));
        QCOMPARE(p.toAdd.size(), 5);
        const TimeEntry& design = p.toAdd.at(0).entry;
        QCOMPARE(design.client, QStringLiteral("Acme"));
        QCOMPARE(design.project, QStringLiteral("Website"));
        QCOMPARE(design.task, QStringLiteral("Design"));
        QCOMPARE(design.date, startAt(2026, 3, 2, 9, 0));
        QVERIFY(design.hasStartTime());
        QCOMPARE(design.duration, 150);
        QCOMPARE(design.status, EntryStatus::Billable);
        QCOMPARE(design.currency, QStringLiteral("EUR"));
        QCOMPARE(design.rateType, RateType::Normal);
        QCOMPARE(design.rate, 10000);
        // 40 minutes are 0.67 h; no hourly rate gives 66.67 for them both
        // ways the program reckons ten-minute fractions, so the amount is fixed.
        const TimeEntry& call = p.toAdd.at(1).entry;
        QCOMPARE(call.duration, 67);
        QCOMPARE(call.rateType, RateType::Fixed);
        QCOMPARE(call.rate, 6667);
        QCOMPARE(p.toAdd.at(1).note, QStringLiteral("Call with Bob, about \"the launch\""));
        // A note over two lines: the next row starts two lines further.
        QCOMPARE(p.toAdd.at(2).line, 4);
        QCOMPARE(p.toAdd.at(2).note, QStringLiteral("Two lines:\r\nfirst, second"));
        QCOMPARE(p.toAdd.at(2).entry.status, EntryStatus::NonBillable);
        QCOMPARE(p.toAdd.at(2).entry.rate, 0);
        QCOMPARE(p.toAdd.at(3).line, 6);
        QVERIFY(p.toAdd.at(3).entry.client.isEmpty());
        // The leap of 2026 that is not: 28 February is followed by 1 March.
        QCOMPARE(p.toAdd.at(4).entry.date, startAt(2026, 2, 28, 22, 0));
        QCOMPARE(p.toAdd.at(4).entry.duration, 233);
        QCOMPARE(p.newClients, QStringList({"Acme", "Globex"}));
        QCOMPARE(p.newProjects,
                 QStringList({"Acme / Website", "Globex / Audit", "Acme / Support"}));
    }

    void importTwiceAddsNothingTheSecondTime() {
        const QString path = test::testDataPath(QStringLiteral("import/toggl-detailed.csv"));
        const ImportPlan first = plan(ImportFormat::Toggl, path);
        QVERIFY(runImport(m_env->store(), first, noteBytes).succeeded());
        const QList<TimeEntry> stored = test::allEntries();
        QCOMPARE(stored.size(), 5);
        // The hours stored add up to those of the file's rows, each rounded
        // to hundredths: 1.50 + 0.67 + 0.73 + 0.50 + 2.33.
        qint32 total = 0;
        for (const TimeEntry& e : stored)
            total += e.duration;
        QCOMPARE(total, 573);
        const auto withNote = std::find_if(stored.begin(), stored.end(), [](const TimeEntry& e) {
            return e.task == QLatin1String("Design");
        });
        QCOMPARE(noteToPlainText(withNote->note), QStringLiteral("Header and footer"));
        const QStringList structure = test::structureLines();
        QVERIFY(structure.contains(QStringLiteral("client Globex")));
        QVERIFY(structure.contains(QStringLiteral("pair Audit/Review")));
        QVERIFY(structure.contains(QStringLiteral("pair Support/")));

        const ImportPlan second = plan(ImportFormat::Toggl, path);
        QCOMPARE(second.toAdd.size(), 0);
        QCOMPARE(second.alreadyStored, 5);
        QVERIFY(second.newClients.isEmpty() && second.newProjects.isEmpty());
        QVERIFY(runImport(m_env->store(), second, noteBytes).succeeded());
        QCOMPARE(test::allEntries().size(), 5);
    }

    void badTogglInputChangesNothing_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("reason");
        const QByteArray good = togglRow("09:00:00", "01:00:00");
        QTest::newRow("no Duration column")
            << QByteArray("Client,Project,Start date,Start time\r\nAcme,Web,2026-03-02,09:00\r\n")
            << 1 << "Duration";
        QTest::newRow("30 February")
            << togglHeader + good + QByteArray(good).replace("03-02", "02-30") << 3 << "not a date";
        QTest::newRow("75 minutes")
            << togglHeader + togglRow("09:00:00", "1:75:00") << 2 << "H:MM:SS";
        QTest::newRow("billable maybe")
            << togglHeader + togglRow("09:00:00", "1:00:00", "Maybe") << 2 << "neither";
        QTest::newRow("amount with comma")
            << togglHeader + togglRow("09:00:00", "1:00:00", "Yes", "\"1,50\"") << 2 << "amount";
        // 655.35 h is the most an entry holds; 655:21:00 rounds to 655.35.
        QTest::newRow("655.36 hours")
            << togglHeader + togglRow("09:00:00", "655:21:36") << 2 << "655.35";
        QTest::newRow("quote never closed")
            << togglHeader + good + "A,a,Acme,Web,,\"open,Yes\r\n" + good << 3 << "never closed";
        QTest::newRow("Latin-1 bytes")
            << togglHeader + good + togglRow("10:00:00", "1:00:00").replace("Note", "Caf\xe9") << 3
            << "UTF-8";
        QTest::newRow("empty file") << QByteArray() << 1 << "empty";
    }
    // The preview's counts read as words do at one and at two.
    void previewCountsReadAsWords() {
        ImportPlan p;
        p.toAdd.append(ImportedRow{});
        p.problems.append({3, QStringLiteral("broken")});
        QVERIFY(importPreview(p).startsWith(
            QStringLiteral("1 entry to add, 0 already in the store, 1 row that cannot be read.")));
        p.toAdd.append(ImportedRow{});
        p.problems.append({4, QStringLiteral("broken")});
        p.alreadyStored = 1;
        QVERIFY(importPreview(p).startsWith(QStringLiteral(
            "2 entries to add, 1 already in the store, 2 rows that cannot be read.")));
    }
    void badTogglInputChangesNothing() {
        QFETCH(QByteArray, bytes);
        QFETCH(int, line);
        QFETCH(QString, reason);
        const ImportPlan p = plan(ImportFormat::Toggl, write(bytes));
        QVERIFY(!p.canImport());
        QCOMPARE(p.problems.first().line, line);
        QVERIFY2(p.problems.first().reason.contains(reason), qPrintable(p.problems.first().reason));
        QVERIFY(importPreview(p).contains(QStringLiteral("Line %1: ").arg(line)));
        QVERIFY(!runImport(m_env->store(), p, noteBytes).succeeded());
        QCOMPARE(test::allEntries().size(), 0);
        QVERIFY(test::structureLines().filter(QStringLiteral("client ")).isEmpty());
    }

    void togglLimitsAndEncodings() {
        // 655:21:00 is 655.35 h, the longest entry there is.
        ImportPlan p =
            plan(ImportFormat::Toggl, write(togglHeader + togglRow("09:00", "655:21:00")));
        QVERIFY(p.canImport());
        QCOMPARE(p.toAdd.first().entry.duration, 65535);
        // UTF-16 with its mark reads as UTF-8 does.
        const QString text = QString::fromUtf8(togglHeader + togglRow("09:00:00", "0:06:00"))
                                 .replace(QStringLiteral("Note"), QStringLiteral("Café"));
        QByteArray utf16("\xff\xfe");
        utf16.append(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
        p = plan(ImportFormat::Toggl, write(utf16));
        QVERIFY(p.canImport());
        QCOMPARE(p.toAdd.first().note, QStringLiteral("Café"));
        QCOMPARE(p.toAdd.first().entry.duration, 10);
        // Files over the limit are refused before they are read.
        QFile big(m_env->filePath(QStringLiteral("big.csv")));
        QVERIFY(big.open(QIODevice::WriteOnly) && big.resize(MaxImportFileBytes + 1));
        big.close();
        p = plan(ImportFormat::Toggl, big.fileName());
        QVERIFY(!p.canImport());
        QVERIFY(p.problems.first().reason.contains(QStringLiteral("over 64 MB")));
    }

    void timewarriorExport() {
        const ImportPlan p = plan(ImportFormat::Timewarrior,
                                  test::testDataPath(QStringLiteral("import/timew-export.json")));
        QVERIFY2(p.canImport(), qPrintable(importPreview(p)));
        QCOMPARE(p.toAdd.size(), 4);
        const TimeEntry& design = p.toAdd.at(0).entry;
        QCOMPARE(QStringList({design.client, design.project, design.task}),
                 QStringList({"Acme", "Website", "Design"}));
        const QDateTime utc(QDate(2026, 3, 2), QTime(8, 0), Qt::UTC);
        QCOMPARE(design.date, *entryStart(utc.toLocalTime()));
        QCOMPARE(design.duration, 150);
        QCOMPARE(design.status, EntryStatus::Billable);
        QCOMPARE(p.toAdd.at(0).note, QStringLiteral("Header and footer"));
        QCOMPARE(p.toAdd.at(1).entry.duration, 67);
        QCOMPARE(p.toAdd.at(2).line, 4);
        QCOMPARE(p.toAdd.at(2).note, QStringLiteral("Audit, \"quoted\" {braces}"));
        QVERIFY(p.toAdd.at(3).entry.client.isEmpty());
        QVERIFY(runImport(m_env->store(), p, noteBytes).succeeded());
        const ImportPlan again =
            plan(ImportFormat::Timewarrior,
                 test::testDataPath(QStringLiteral("import/timew-export.json")));
        QCOMPARE(again.toAdd.size(), 0);
        QCOMPARE(again.alreadyStored, 4);
    }

    void harvestTimeReport() {
        const QString path = test::testDataPath(QStringLiteral("import/harvest-time-report.csv"));
        const ImportPlan p = plan(ImportFormat::Harvest, path);
        QVERIFY2(p.canImport(), qPrintable(importPreview(p)));
        QCOMPARE(p.toAdd.size(), 3);
        const TimeEntry& design = p.toAdd.at(0).entry;
        // Harvest keeps days, not start times.
        QCOMPARE(design.date, *toFileTime(SystemTime{2026, 3, 0, 2, 0, 0, 0, 0}));
        QVERIFY(!design.hasStartTime());
        QCOMPARE(design.duration, 150);
        QCOMPARE(design.rate, 10000);
        QCOMPARE(design.currency, QStringLiteral("EUR"));
        QCOMPARE(design.status, EntryStatus::Billable);
        QCOMPARE(p.toAdd.at(1).entry.duration, 67);
        QCOMPARE(p.toAdd.at(1).entry.status, EntryStatus::Billed);
        QCOMPARE(p.toAdd.at(1).note, QStringLiteral("Second block, same day"));
        QCOMPARE(p.toAdd.at(2).entry.status, EntryStatus::NonBillable);
        QCOMPARE(p.toAdd.at(2).entry.currency, QStringLiteral("USD"));
        QCOMPARE(p.toAdd.at(2).entry.rate, 0);
        QVERIFY(runImport(m_env->store(), p, noteBytes).succeeded());
        QCOMPARE(plan(ImportFormat::Harvest, path).alreadyStored, 3);

        const ImportPlan bad =
            plan(ImportFormat::Harvest,
                 write("Date,Client,Project,Hours,Invoiced?\n2026-03-02,A,P,1.5,No\n2026-03-02,A,P,"
                       "1.5,Sometimes\n"));
        QVERIFY(!bad.canImport());
        QCOMPARE(bad.problems.first().line, 3);
        QVERIFY(bad.problems.first().reason.startsWith(QStringLiteral("Invoiced? is")));
    }

    void badTimewarriorInput_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("reason");
        const QByteArray good = "{\"start\":\"20260302T080000Z\",\"end\":\"20260302T090000Z\"}";
        QTest::newRow("open interval")
            << "[\n" + good + ",\n{\"start\":\"20260302T100000Z\",\"tags\":[\"A\"]}\n]" << 3
            << "still open";
        QTest::newRow("end before start")
            << "[\n" + good + ",\n" + good + ",\n" +
                   QByteArray(good).replace("T090000Z", "T070000Z") + "\n]"
            << 4 << "after the start";
        QTest::newRow("broken date")
            << "[\n" + QByteArray(good).replace("0302", "0230") + "\n]" << 2 << "not a time";
        QTest::newRow("cut short") << "[\n" + good + ",\n" + good.left(20) << 3 << "JSON";
        QTest::newRow("not an array") << QByteArray("{\"start\":1}") << 1 << "array";
    }
    void badTimewarriorInput() {
        QFETCH(QByteArray, bytes);
        QFETCH(int, line);
        QFETCH(QString, reason);
        const ImportPlan p =
            plan(ImportFormat::Timewarrior, write(bytes, QStringLiteral("in.json")));
        QVERIFY(!p.canImport());
        QCOMPARE(p.problems.first().line, line);
        QVERIFY2(p.problems.first().reason.contains(reason), qPrintable(p.problems.first().reason));
        QVERIFY(!runImport(m_env->store(), p, noteBytes).succeeded());
        QCOMPARE(test::allEntries().size(), 0);
    }

    void commandLineDryRunThenImport() {
        const QString profile = m_env->folder();
        m_env->store().close();
        const QString file = test::testDataPath(QStringLiteral("import/toggl-detailed.csv"));
        test::ProgramRun run = test::runProgram(profile, {"import", "toggl", file, "--dry-run"});
        QCOMPARE(run.exitCode, 0);
        QVERIFY(run.out.contains("5 entries to add, 0 already in the store"));
        QVERIFY(run.out.contains("New clients: Acme, Globex"));
        QVERIFY(test::openProfile(profile));
        QCOMPARE(test::allEntries().size(), 0);
        m_env->store().close();
        run = test::runProgram(profile, {"import", "toggl", file});
        QCOMPARE(run.exitCode, 0);
        QVERIFY(run.out.contains("5 entries added"));
        run = test::runProgram(profile, {"import", "toggl", file});
        QCOMPARE(run.exitCode, 0);
        QVERIFY(run.out.contains("0 entries to add, 5 already in the store"));
        run = test::runProgram(profile, {"import", "timew", file});
        QCOMPARE(run.exitCode, 1);
        QVERIFY(run.errors.contains("Line 1: Not the JSON of timew export"));
        QVERIFY(run.errors.contains("nothing was imported"));
        QVERIFY(test::openProfile(profile));
        QCOMPARE(test::allEntries().size(), 5);
    }
};

TEMPOLATCH_TEST(TimeImportTest);
#include "TimeImportTest.moc"
