#include <QCommandLineParser>

#include "app/cli/CliCriteria.h"
#include "common/EnvironmentTest.h"
#include "common/TestRegistry.h"
#include "records/EntryCriteria.h"
#include "records/EntryFilter.h"

using namespace tempolatch;

// The criteria options of the command line, turned into the filter that a
// criteria sheet would give.
class CliCriteriaTest : public test::EnvironmentTest {
    Q_OBJECT

private Q_SLOTS:
    void optionsGiveTheFilter_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("error");
        QTest::addColumn<QString>("range");  // "start|end" as timestamps, or empty
        QTest::addColumn<quint32>("flags");
        QTest::newRow("nothing: every entry") << QStringList{} << QString() << QString() << 0x35u;
        QTest::newRow("both days inclusive")
            << QStringList{"--from", "2000-02-29", "--to", "2000-03-01"} << QString()
            << "2000-02-29 00:00:00|2000-03-01 23:59:59" << 0x35u;
        QTest::newRow("one day") << QStringList{"--from", "2026-12-07", "--to", "2026-12-07"}
                                 << QString() << "2026-12-07 00:00:00|2026-12-07 23:59:59" << 0x35u;
        QTest::newRow("open end") << QStringList{"--from", "2026-01-01"} << QString()
                                  << "2026-01-01 00:00:00|9999-12-31 23:59:59" << 0x35u;
        QTest::newRow("open start") << QStringList{"--to", "2026-01-01"} << QString()
                                    << "1601-01-01 00:00:00|2026-01-01 23:59:59" << 0x35u;
        QTest::newRow("no 1900-02-29") << QStringList{"--from", "1900-02-29"}
                                       << "--from needs a date as YYYY-MM-DD" << QString() << 0u;
        // A whole day and nothing else: no time, no spaces, no short forms.
        for (const char* day : {"2026-01-01T00:00", "2026-01-01 ", " 2026-01-01", "2026-1-1",
                                "20260101", "2026-01-01Z"})
            QTest::addRow("not a day: \"%s\"", day)
                << QStringList{"--from", day} << "--from needs a date as YYYY-MM-DD" << QString()
                << 0u;
        QTest::newRow("to before from") << QStringList{"--from", "2026-01-02", "--to", "2026-01-01"}
                                        << "--to is before --from" << QString() << 0u;
        QTest::newRow("statuses") << QStringList{"--status", "billable, Paid"} << QString()
                                  << QString() << 0x5u;
        QTest::newRow("non billable alone")
            << QStringList{"--status", "nonbillable"} << QString() << QString() << 0x10u;
        QTest::newRow("unknown status")
            << QStringList{"--status", "billed,unpaid"}
            << "unknown status \"unpaid\" (nonbillable, billable, billed, paid)" << QString() << 0u;
    }
    void optionsGiveTheFilter() {
        QFETCH(QStringList, args);
        QFETCH(QString, error);
        QFETCH(QString, range);
        QFETCH(quint32, flags);
        QCommandLineParser parser;
        parser.addOptions(criteriaOptions());
        QVERIFY(parser.parse(QStringList{"tempolatch"} + args));
        EntryFilter filter;
        QString message;
        QCOMPARE(criteriaFromOptions(parser, filter, message), error.isEmpty());
        QCOMPARE(message, error);
        if (!error.isEmpty())
            return;
        QCOMPARE(filter.flags(), flags);
        if (range.isEmpty()) {
            QVERIFY(!filter.hasDateRange());
            // Every date, also 0, which older data left on some entries.
            QCOMPARE(criteriaStart(filter).ticks, 0u);
            return;
        }
        QCOMPARE(filter.startDate.timestampText() + "|" + filter.endDate.timestampText(), range);
    }

    void textOptionsAreExact() {
        QCommandLineParser parser;
        parser.addOptions(criteriaOptions());
        QVERIFY(parser.parse({"tempolatch", "--client", "Acme ", "--bill-to", "Jo", "--currency",
                              "EUR", "--project", "P", "--phase", "Ph", "--task", "T"}));
        EntryFilter filter;
        QString message;
        QVERIFY(criteriaFromOptions(parser, filter, message));
        QCOMPARE(QStringList({filter.client, filter.billTo, filter.currency, filter.project,
                              filter.phase, filter.task}),
                 QStringList({"Acme ", "Jo", "EUR", "P", "Ph", "T"}));
    }
};

TEMPOLATCH_TEST(CliCriteriaTest);
#include "CliCriteriaTest.moc"
