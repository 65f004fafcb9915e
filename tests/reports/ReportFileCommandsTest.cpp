#include <QCheckBox>
#include <QDialog>
#include <QTest>

#include "common/EnvironmentTest.h"
#include "common/ModalDialog.h"
#include "common/ProgramRun.h"
#include "common/TestRegistry.h"
#include "platform/Profile.h"
#include "platform/StringTable.h"
#include "reports/ReportFileCommands.h"
#include "reports/ReportSamples.h"
#include "reports/ReportsTestSupport.h"
#include "reports/SavedReports.h"
#include "settings/Settings.h"
#include "widgets/CommandIds.h"
#include "widgets/CommandTable.h"

using namespace tempolatch;

class ReportFileCommandsTest : public test::EnvironmentTest {
    Q_OBJECT

    QByteArray m_stderr;
    QStringList m_opened;
    int m_reloads = 0;

    QString path(const QString& name) const { return m_env->filePath(name); }

    int run(const QStringList& args) {
        const test::ProgramRun run =
            test::runProgram(platform::Profile::folder(), args, {.display = false});
        m_stderr = run.errors;
        return run.exitCode;
    }

    ReportFileCommandHost host() {
        return {&m_env->context(), nullptr,
                [](platform::SystemTime& start, platform::SystemTime& end) {
                    start = test::day(2026, 12, 1);
                    end = test::day(2026, 12, 31);
                },
                [this](const QString& file) { m_opened.append(file); }, [this] { ++m_reloads; }};
    }
    static void acceptNextModal() {
        test::onNextModal([](QDialog* dialog) { dialog->accept(); });
    }

private Q_SLOTS:
    void init() {
        EnvironmentTest::init();
        m_opened.clear();
        QVERIFY(m_env->store().openAll());
        QVERIFY(test::fillReportSample(m_env->store()));
    }

    // The command line writes the same XML file as the export, and reports
    // as HTML or PDF.
    void commandLine() {
        m_env->store().close();
        const QString xml = path(QStringLiteral("out.xml"));
        QCOMPARE(run({QStringLiteral("export"), QStringLiteral("xml"), xml}), 0);
        test::compareWithGolden(test::fileBytes(xml),
                                QStringLiteral("reports/entries-default.xml"));
        // Criteria options choose the entries.
        QCOMPARE(
            run({QStringLiteral("export"), QStringLiteral("xml"), xml, QStringLiteral("--client"),
                 QStringLiteral("a<b"), QStringLiteral("--to"), QStringLiteral("2026-12-02")}),
            0);
        QCOMPARE(test::fileBytes(xml).count("<ITEM "), 1);

        const QString html = path(QStringLiteral("invoice.html"));
        QCOMPARE(run({QStringLiteral("report"), QStringLiteral("invoice"), html}), 0);
        QVERIFY(test::fileBytes(html).contains("<td class=\"Data\">Total</td>"));
        QCOMPARE(test::xmllintErrors(html, true), QByteArray());
        QCOMPARE(run({QStringLiteral("report"), QStringLiteral("invoice"), html,
                      QStringLiteral("--invoice-number"), QStringLiteral("2026/17")}),
                 0);
        QVERIFY(test::fileBytes(html).contains("<span>Invoice Number: 2026/17</span>"));

        const QString pdf = path(QStringLiteral("tabular.pdf"));
        QCOMPARE(run({QStringLiteral("report"), QStringLiteral("tabular"), pdf}), 0);
        QVERIFY(test::fileBytes(pdf).startsWith("%PDF"));

        // An unknown saved report fails and leaves an earlier file alone.
        const QByteArray before = test::fileBytes(html);
        QCOMPARE(run({QStringLiteral("report"), QStringLiteral("tabular"), html,
                      QStringLiteral("--layout"), QStringLiteral("Nope")}),
                 1);
        QVERIFY(m_stderr.contains("Nope"));
        QCOMPARE(test::fileBytes(html), before);
        QCOMPARE(run({QStringLiteral("report"), QStringLiteral("tabular")}), 2);
    }

    // Export > XML...: criteria sheet, file (the extension added), written;
    // a file that cannot be written says so with message 76.
    void exportXmlCommand() {
        acceptNextModal();
        m_env->ui().queueFile(path(QStringLiteral("mine")));
        exportXml(host());
        QCOMPARE(m_env->ui().fileFilters(),
                 QStringList{QStringLiteral("XML Files (*.xml)|*.xml|")});
        QVERIFY(m_env->ui().shown().isEmpty());
        QCOMPARE(test::fileBytes(path(QStringLiteral("mine.xml"))).count("<ITEM "), 5);

        acceptNextModal();
        m_env->ui().queueFile(path(QStringLiteral("no/such/folder/x.xml")));
        exportXml(host());
        QCOMPARE(m_env->ui().shownTexts(), QStringList{resourceString(76)});
        QCOMPARE(m_env->ui().shown().first().icon, test::MessageIcon::Stop);
    }

    // Report > Tabular...: layout dialog, sheet, file; the file is shown.
    // A Group By layout set as the Tabular default writes a Group By page.
    void reportCommand() {
        CommandTable table;
        registerReportFileCommands(table, host());
        QVERIFY(table.has(cmd::ReportGroupBy) && table.has(cmd::ReportInvoice) &&
                table.has(cmd::ExportXml));
        SavedReports reports(m_env->store());
        reports.write(QStringLiteral("Grouped"), ReportLayout::builtInDefault(0), 0);
        m_env->settings().defaultReports[1] = QStringLiteral("Grouped");
        acceptNextModal();                                   // the layout dialog
        QTimer::singleShot(200, [] { acceptNextModal(); });  // the criteria sheet
        m_env->ui().queueFile(path(QStringLiteral("week")));
        QVERIFY(table.run(cmd::ReportTabular));
        QCOMPARE(m_opened, QStringList{path(QStringLiteral("week.html"))});
        QVERIFY(test::fileBytes(m_opened.first()).contains("<h3>a&lt;b</h3>"));
        QCOMPARE(
            m_env->ui().fileFilters(),
            QStringList{QStringLiteral("HTML Files (*.html)|*.html|PDF Files (*.pdf)|*.pdf|")});

        // A file that cannot be written: message 157, nothing shown.
        acceptNextModal();
        QTimer::singleShot(200, [] { acceptNextModal(); });
        m_env->ui().queueFile(path(QStringLiteral("no/such/folder/r.html")));
        QVERIFY(table.run(cmd::ReportInvoice));
        QCOMPARE(m_env->ui().shownTexts(), QStringList{resourceString(157)});
        QCOMPARE(m_opened.size(), 1);
    }

    // Report > Invoice...: its criteria offer the client's billable
    // expenses (the other reports' do not); once written, Yes to the
    // question marks the invoice's Billable entries and expenses Billed and
    // the view reloads, before the invoice is shown.
    void invoiceWithExpensesMarksBilled() {
        ExpenseEntry expense;
        expense.date = test::at(2026, 12, 2, 12, 0);
        expense.client = QStringLiteral("a<b");
        expense.description = QStringLiteral("Parking");
        expense.currency = QStringLiteral("USD");
        expense.amount = 1250;
        expense.status = EntryStatus::Billable;
        QCOMPARE(Expenses(m_env->store()).add(expense), WriteResult::Written);
        CommandTable table;
        registerReportFileCommands(table, host());
        acceptNextModal();
        QTimer::singleShot(200, [] {
            test::onNextModal([](QDialog* sheet) {
                auto* box = sheet->findChild<QCheckBox*>(QStringLiteral("withExpenses"));
                QVERIFY(box && !box->isHidden() && !box->isChecked());
                box->setChecked(true);
                sheet->accept();
            });
        });
        m_env->ui().queueFile(path(QStringLiteral("invoice")));
        m_env->ui().queueAnswer(platform::Answer::Yes);
        QVERIFY(table.run(cmd::ReportInvoice));
        QCOMPARE(m_opened, QStringList{path(QStringLiteral("invoice.html"))});
        const QByteArray page = test::fileBytes(m_opened.first());
        QVERIFY(page.contains("<h3>Expenses</h3>") && page.contains(">USD 12.50<"));
        QCOMPARE(m_reloads, 1);
        QCOMPARE(Expenses(m_env->store()).find(expense.recordId)->status, EntryStatus::Billed);
        int billable = 0;
        TimeEntries(m_env->store()).forEach([&](const TimeEntry& e) {
            billable += e.status == EntryStatus::Billable;
            return true;
        });
        QCOMPARE(billable, 0);

        // A Tabular report's criteria have no such box.
        acceptNextModal();
        QTimer::singleShot(200, [] {
            test::onNextModal([](QDialog* sheet) {
                QVERIFY(sheet->findChild<QCheckBox*>(QStringLiteral("withExpenses"))->isHidden());
                sheet->accept();
            });
        });
        m_env->ui().queueFile(path(QStringLiteral("tabular")));
        QVERIFY(table.run(cmd::ReportTabular));
        QCOMPARE(m_reloads, 1);
    }
};

TEMPOLATCH_TEST(ReportFileCommandsTest);
#include "ReportFileCommandsTest.moc"
