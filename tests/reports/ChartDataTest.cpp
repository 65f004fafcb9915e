#include <QDate>
#include <QTabWidget>

#include "common/EnvironmentTest.h"
#include "common/ProgramRun.h"
#include "common/TestDates.h"
#include "common/TestRegistry.h"
#include "records/EntryFilter.h"
#include "records/MoneyTotals.h"
#include "reports/ChartData.h"
#include "reports/ChartsDialog.h"
#include "reports/ReportsTestSupport.h"
#include "reports/Summaries.h"
#include "store/RecordStore.h"
#include "store/TimeEntries.h"
#include "store/TimeEntry.h"

using namespace tempolatch;
using test::at;

namespace {

// Python's own reading of a PNG file: every chunk's CRC, the image data
// inflated to exactly the size its header gives; prints "WIDTHxHEIGHT".
const char* const kPngReader = R"(
import struct, sys, zlib
data = open(sys.argv[1], 'rb').read()
assert data[:8] == b'\x89PNG\r\n\x1a\n', 'no PNG signature'
pos, idat, header = 8, b'', None
while pos < len(data):
    length, kind = struct.unpack('>I4s', data[pos:pos + 8])
    body = data[pos + 8:pos + 8 + length]
    crc, = struct.unpack('>I', data[pos + 8 + length:pos + 12 + length])
    assert zlib.crc32(kind + body) == crc, 'bad CRC in ' + kind.decode()
    if kind == b'IHDR':
        header = struct.unpack('>IIBBBBB', body)
    elif kind == b'IDAT':
        idat += body
    pos += 12 + length
    if kind == b'IEND':
        break
width, height, depth, colour = header[:4]
channels = {2: 3, 6: 4, 0: 1, 4: 2}[colour]
assert len(zlib.decompress(idat)) == height * (1 + width * channels * depth // 8), 'short data'
print('%dx%d' % (width, height))
)";

}  // namespace

// The numbers the charts are drawn from, against the entries they count,
// and the chart files of the command line read back by other programs.
class ChartDataTest : public test::EnvironmentTest {
    Q_OBJECT

    QList<TimeEntry> m_entries;

    void add(int day, const QString& client, qint32 duration, EntryStatus status,
             const QString& currency = QStringLiteral("USD"), qint32 rate = 5050) {
        TimeEntry e;
        e.date = at(2026, 3, day, 9);
        e.client = client;
        e.task = QStringLiteral("Work");
        e.duration = duration;
        e.status = status;
        e.currency = currency;
        e.rate = rate;
        QCOMPARE(TimeEntries(m_env->store()).add(e), WriteResult::Written);
        m_entries.append(e);
    }

    static EntryFilter march(int from, int to) {
        EntryFilter criteria;
        criteria.reset();
        criteria.startDate = test::day(2026, 3, from);
        criteria.endDate = test::day(2026, 3, to);
        return criteria;
    }

    int runProgram(const QStringList& args, QByteArray* errors = nullptr) {
        const test::ProgramRun run =
            test::runProgram(m_env->folder(), args, {.display = false, .usLocale = true});
        if (errors)
            *errors = run.errors;
        return run.exitCode;
    }

private Q_SLOTS:
    void init() {
        EnvironmentTest::init();
        QVERIFY(m_env->store().openAll());
        m_entries.clear();
        // Ten clients and an entry of none: the four of fewest hours share
        // "Other clients".
        for (int c = 0; c < 10; ++c)
            add(2 + c % 5, QStringLiteral("Client %1").arg(c), 100 + 10 * c, EntryStatus::Billable);
        add(2, QStringLiteral("Client 9"), 67, EntryStatus::NonBillable);
        add(2, QStringLiteral("Client 9"), 66, EntryStatus::Paid, QStringLiteral("EUR"), 7550);
        add(2, QString(), 33, EntryStatus::Billed, QString(), 12345);
        add(31, QStringLiteral("Client 0"), 800, EntryStatus::Billed);  // outside 1-30
    }

    // Each day's stack is the hours of its entries, each client's bar its
    // own hours; the folded clients add up under "Other clients".
    void hoursPerDayAddsUpTheEntries() {
        const ChartTable table = hoursPerDay(chosenEntries(m_env->store(), march(1, 30)),
                                             QDate(2026, 3, 1), QDate(2026, 3, 30));
        QCOMPARE(table.categories.size(), 30);
        QCOMPARE(table.categories.first(), QStringLiteral("1"));
        QCOMPARE(table.series.size(), ChartMostClients);
        QCOMPARE(table.series.first(), QStringLiteral("Client 9"));  // 1.90 + 0.67 + 0.66 h
        QCOMPARE(table.series.last(), QStringLiteral("Other clients"));
        // Clients 2, 1, 0 and the entry of no client have the fewest hours.
        QCOMPARE(table.total(ChartMostClients - 1), 120 + 110 + 100 + 33);
        for (int day = 1; day <= 30; ++day) {
            qint64 expected = 0;
            for (const TimeEntry& e : std::as_const(m_entries))
                if (e.date.ticks == at(2026, 3, day, 9).ticks)
                    expected += e.duration;
            qint64 stacked = 0;
            for (const QList<qint64>& client : table.hundredths)
                stacked += client[day - 1];
            QCOMPARE(stacked, expected);
        }
    }

    // Amounts per client and currency as each entry's amount shows, Non
    // Billable entries left out, currencies never added together.
    void amountPerClientKeepsCurrenciesApart() {
        EntryFilter criteria = march(1, 30);
        const ChartTable table =
            amountPerClient(chosenEntries(m_env->store(), criteria), false);
        QCOMPARE(table.series, (QStringList{QStringLiteral("USD"), QStringLiteral("EUR"),
                                            QStringLiteral("(no currency)")}));
        QMap<QString, qint64> expected;
        for (const TimeEntry& e : std::as_const(m_entries))
            if (e.status != EntryStatus::NonBillable && e.date.ticks < at(2026, 3, 31).ticks)
                expected[e.currency.isEmpty() ? QStringLiteral("(no currency)") : e.currency] +=
                    centsOf(e.amount(false));
        for (int s = 0; s < table.series.size(); ++s)
            QCOMPARE(table.total(s), expected.value(table.series[s]));
        // 0.66 h at 75.50 is 49.83, which no other currency's bar shows.
        const qsizetype client9 = table.categories.indexOf(QStringLiteral("Client 9"));
        QVERIFY(client9 >= 0);
        QCOMPARE(table.hundredths[1][client9], 4983);
        QCOMPARE(table.hundredths[0][client9], centsOf(1.90 * 50.50));
    }

    // The window charts the entries its list shows, and exports the page
    // shown as the file type chosen.
    void windowExportsTheChartShown() {
        QList<quint32> shown;
        for (const TimeEntry& e : std::as_const(m_entries))
            if (e.client == QStringLiteral("Client 9"))
                shown.append(e.recordId);
        const SummaryPeriod period{3, test::day(2026, 3, 1), test::day(2026, 3, 31)};
        ChartsDialog dialog(m_env->context(), period, shown);
        QCOMPARE(dialog.table(0).series, QStringList{QStringLiteral("Client 9")});
        QCOMPARE(dialog.table(0).total(0), 190 + 67 + 66);
        QCOMPARE(dialog.table(1).categories, QStringList{QStringLiteral("Client 9")});
        dialog.findChild<QTabWidget*>()->setCurrentIndex(1);
        const QString chosen = m_env->filePath(QStringLiteral("client 9"));
        m_env->ui().queueFile(chosen);
        m_env->ui().queueFilter(2);
        dialog.exportShown();
        QCOMPARE(test::xmllintErrors(chosen + QStringLiteral(".svg"), false), QByteArray());
        QVERIFY(test::fileBytes(chosen + QStringLiteral(".svg")).contains("Amount per client"));
    }

    // The command line writes what the window draws, as PNG and SVG that
    // python and xmllint read; a bad name or span is a usage error.
    void commandLineFilesReadBack() {
        const QString png = m_env->filePath(QStringLiteral("hours.png"));
        QCOMPARE(runProgram({QStringLiteral("chart"), QStringLiteral("hours-per-day"), png,
                             QStringLiteral("--from"), QStringLiteral("2026-03-01"),
                             QStringLiteral("--to"), QStringLiteral("2026-03-30")}),
                 0);
        const test::ToolRun python =
            test::runTool(QStringLiteral("python3"), {QStringLiteral("-c"), kPngReader, png});
        QCOMPARE(python.err, QByteArray());
        QCOMPARE(python.out.trimmed(), QByteArray("1000x600"));

        const QString svg = m_env->filePath(QStringLiteral("amounts.svg"));
        QCOMPARE(runProgram({QStringLiteral("chart"), QStringLiteral("amount-per-client"), svg,
                             QStringLiteral("--client"), QStringLiteral("Client 9")}),
                 0);
        QCOMPARE(test::xmllintErrors(svg, false), QByteArray());
        const QByteArray texts =
            test::xmllintXPath(svg, QStringLiteral("string(//*[local-name()='title'])"));
        QVERIFY2(texts.startsWith("Amount per client"), texts.constData());
        const QByteArray svgText = test::fileBytes(svg);
        QVERIFY(svgText.contains("Client 9"));
        QVERIFY(svgText.contains("EUR"));
        QVERIFY(!svgText.contains("Client 1<"));

        QByteArray errors;
        QCOMPARE(runProgram({QStringLiteral("chart"), QStringLiteral("hours-per-day"),
                             m_env->filePath(QStringLiteral("hours.jpg"))},
                            &errors),
                 2);
        QVERIFY(errors.contains(".png or .svg"));
        QCOMPARE(runProgram({QStringLiteral("chart"), QStringLiteral("hours-per-day"), png,
                             QStringLiteral("--from"), QStringLiteral("2025-03-01")},
                            &errors),
                 2);
        QVERIFY(errors.contains("at most 366"));
    }
};

TEMPOLATCH_TEST(ChartDataTest);
#include "ChartDataTest.moc"
