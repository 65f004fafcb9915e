#include <QTest>

#include "common/EnvironmentTest.h"
#include "common/ProgramRun.h"
#include "common/TestRegistry.h"
#include "platform/Clock.h"
#include "records/InvoiceItems.h"
#include "reports/ReportFileCommands.h"
#include "reports/ReportFiles.h"
#include "reports/ReportSamples.h"
#include "reports/ReportsTestSupport.h"
#include "settings/Context.h"
#include "store/Expenses.h"
#include "store/RecordStore.h"
#include "store/StoreDump.h"
#include "store/StoreTestSupport.h"
#include "store/TimeEntries.h"

using namespace tempolatch;

// Marking an invoice's entries and expenses Billed once it is written:
// exactly those it listed, all in one transaction.
class InvoiceBillingTest : public test::EnvironmentTest {
    Q_OBJECT

    std::optional<InvoiceItems> m_sample;

    // Every entry's and expense's status by record id (their ids never
    // meet: they are unique across the store).
    QMap<quint32, EntryStatus> statuses() {
        QMap<quint32, EntryStatus> out;
        TimeEntries(m_env->store()).forEach([&](const TimeEntry& e) {
            out.insert(e.recordId, e.status);
            return true;
        });
        Expenses(m_env->store()).forEach([&](const ExpenseEntry& e) {
            out.insert(e.recordId, e.status);
            return true;
        });
        return out;
    }
    QMap<quint32, EntryStatus> billed(QMap<quint32, EntryStatus> statuses) {
        for (const quint32 id : m_sample->entries + m_sample->expenses)
            statuses[id] = EntryStatus::Billed;
        return statuses;
    }
    QString dump() {
        QString text;
        QTextStream out(&text);
        dumpStore(*m_env->store().objectStore(), out);
        return text;
    }
    test::ProgramRun invoiceCommand(const QStringList& more) {
        return test::runProgram(m_env->folder(),
                                QStringList{QStringLiteral("report"), QStringLiteral("invoice"),
                                            m_env->filePath(QStringLiteral("invoice.html")),
                                            QStringLiteral("--from"), QStringLiteral("2026-11-01"),
                                            QStringLiteral("--to"), QStringLiteral("2026-11-30"),
                                            QStringLiteral("--client"), QStringLiteral("Globex")} +
                                    more,
                                {.display = false, .usLocale = true});
    }

private Q_SLOTS:
    void init() {
        EnvironmentTest::init();
        QVERIFY(m_env->store().openAll());
        m_sample = test::fillInvoiceSample(m_env->store());
        QVERIFY(m_sample);
    }

    // report invoice --mark-billed: the invoice's Billable entries and
    // expenses become Billed, stamped, and nothing else changes; without
    // --with-expenses the expenses stay as they are; a second run finds
    // nothing left to mark, and the invoice still lists the entries (the
    // criteria take any status) but no expense (only Billable ones).
    void commandLine() {
        const auto before = statuses();
        test::ProgramRun run = invoiceCommand({QStringLiteral("--mark-billed")});
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(run.errors.contains("3 entries and 0 expenses marked Billed"), run.errors);
        auto expected = before;
        for (const quint32 id : m_sample->entries)
            expected[id] = EntryStatus::Billed;
        QCOMPARE(statuses(), expected);

        run = invoiceCommand({QStringLiteral("--with-expenses"), QStringLiteral("--mark-billed")});
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(run.errors.contains("0 entries and 3 expenses marked Billed"), run.errors);
        QCOMPARE(statuses(), billed(before));
        const auto expense = Expenses(m_env->store()).find(m_sample->expenses.first());
        QVERIFY(expense && expense->modified > platform::FileTime(test::at(2026, 12, 1)));

        run = invoiceCommand({QStringLiteral("--with-expenses"), QStringLiteral("--mark-billed")});
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(run.errors.contains("0 entries and 0 expenses marked Billed"), run.errors);
        QCOMPARE(statuses(), billed(before));
        const QByteArray page = test::fileBytes(m_env->filePath(QStringLiteral("invoice.html")));
        QCOMPARE(page.count("<td class=\"Data\">Audit</td>"), 5);
        // Expenses billed before are not taken in again.
        QVERIFY(!page.contains("<h3>Expenses</h3>"));
    }

    // A refused write part-way through takes back every one written before
    // it: the store is as it was, byte for byte, and the error is told.
    void refusedWriteChangesNothing() {
        const QString before = dump();
        QVERIFY(test::refuseRewriteOf(*m_env->store().objectStore(), m_sample->expenses.last()));
        const entrymarking::BulkResult result =
            markInvoiceBilled(m_env->store(), *m_sample, platform::Clock::nowFileTime());
        QCOMPARE(result.result, WriteResult::Refused);
        QCOMPARE(result.written, 0);
        QVERIFY(result.error != 0);
        QCOMPARE(dump(), before);
    }

    // The window asks once the invoice is written: No leaves every record
    // as it was, Yes marks the listed ones and reloads the view; a refused
    // write says so and changes nothing.
    void windowAsks() {
        test::ScriptedUi& ui = m_env->ui();
        int reloads = 0;
        ReportFileCommandHost host{&m_env->context(), nullptr, {}, {}, [&] { ++reloads; }};
        WrittenInvoice invoice{QStringLiteral("INV-7"), *m_sample};
        const auto before = statuses();
        const QString unchanged = dump();

        ui.queueAnswer(platform::Answer::No);
        offerToMarkBilled(host, invoice);
        QCOMPARE(ui.shownTexts().size(), 1);
        QVERIFY2(ui.shownTexts().first().contains(
                     QStringLiteral("3 Billable entries and 3 expenses of invoice INV-7")),
                 qPrintable(ui.shownTexts().first()));
        QCOMPARE(dump(), unchanged);

        QVERIFY(test::refuseRewriteOf(*m_env->store().objectStore(), m_sample->entries.last()));
        ui.queueAnswer(platform::Answer::Yes);
        offerToMarkBilled(host, invoice);
        QVERIFY(ui.shownTexts().last().contains(QStringLiteral("Nothing was marked Billed")));
        QCOMPARE(dump(), unchanged);

        const QByteArray drop =
            "DROP TRIGGER refuse_record_" + QByteArray::number(m_sample->entries.last());
        QVERIFY(test::sqliteOf(*m_env->store().objectStore()).exec(drop.constData()));
        ui.queueAnswer(platform::Answer::Yes);
        offerToMarkBilled(host, invoice);
        QCOMPARE(statuses(), billed(before));
        QVERIFY(reloads >= 1);
        QCOMPARE(ui.notices().last(), QStringLiteral("3 entries and 3 expenses marked Billed"));

        // Nothing listed: nothing asked.
        const qsizetype asked = ui.shownTexts().size();
        offerToMarkBilled(host, WrittenInvoice{});
        QCOMPARE(ui.shownTexts().size(), asked);
    }
};

TEMPOLATCH_TEST(InvoiceBillingTest);
#include "InvoiceBillingTest.moc"
