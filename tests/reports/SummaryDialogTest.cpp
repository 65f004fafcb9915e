#include <QComboBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QTableWidget>

#include "common/EnvironmentTest.h"
#include "common/ModalDialog.h"
#include "common/TestDates.h"
#include "common/TestRegistry.h"
#include "platform/StringTable.h"
#include "reports/ReportCommands.h"
#include "reports/ReportsTestSupport.h"
#include "reports/SummaryDialog.h"
#include "store/Client.h"
#include "store/ClientNames.h"
#include "store/Project.h"
#include "store/RecordStore.h"
#include "store/TimeEntries.h"
#include "widgets/CommandIds.h"
#include "widgets/WindowPlace.h"

using namespace tempolatch;

namespace {

QStringList items(const QComboBox* combo) {
    QStringList list;
    for (int i = 0; i < combo->count(); ++i)
        list.append(combo->itemText(i));
    return list;
}

}  // namespace

class SummaryDialogTest : public test::EnvironmentTest {
    Q_OBJECT

private Q_SLOTS:
    void init() {
        EnvironmentTest::init();
        RecordStore& store = m_env->store();
        QVERIFY(store.openAll());
        ClientStructureStore& s = store.clientStructure();
        for (const char* name : {"Acme", "Beta"}) {
            Client client{0, QString::fromLatin1(name), 0};
            QVERIFY(addClient(s.clients, client));
            QVERIFY(addProjectTask(s.projects, client.clientId, QStringLiteral("Web"),
                                   QStringLiteral("Code")));
            QVERIFY(addProjectTask(s.projects, client.clientId, QStringLiteral("Web"),
                                   QStringLiteral("Design")));
            QVERIFY(addProjectTask(s.projects, client.clientId, QString::fromLatin1(name) + "-only",
                                   QStringLiteral("Plan")));
            QVERIFY(addTask(s.tasks, client.clientId, QStringLiteral("Mail")));
        }
    }

    void choiceListsFollowTheClientAndProject() {
        const QString all = resourceString(str::AllItems);
        test::onNextModal([&](QDialog* dialog) {
            auto* client = dialog->findChild<QComboBox*>(QStringLiteral("client"));
            auto* project = dialog->findChild<QComboBox*>(QStringLiteral("project"));
            auto* task = dialog->findChild<QComboBox*>(QStringLiteral("task"));
            QCOMPARE(items(client), (QStringList{QStringLiteral("Acme"), QStringLiteral("Beta")}));
            QCOMPARE(items(project),
                     (QStringList{all, QStringLiteral("Acme-only"), QStringLiteral("Web")}));
            QCOMPARE(items(task), (QStringList{all, QStringLiteral("Mail")}));
            client->setCurrentIndex(1);
            QCOMPARE(items(project),
                     (QStringList{all, QStringLiteral("Beta-only"), QStringLiteral("Web")}));
            project->setCurrentIndex(2);
            QCOMPARE(items(task),
                     (QStringList{all, QStringLiteral("Code"), QStringLiteral("Design")}));
            task->setCurrentIndex(2);
            dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
        });
        ClientSummaryChoice choice;
        QVERIFY(chooseClientSummary(m_env->context(), nullptr, choice));
        QCOMPARE(choice.client, QStringLiteral("Beta"));
        QCOMPARE(choice.project, QStringLiteral("Web"));
        QCOMPARE(choice.task, QStringLiteral("Design"));

        // "(All)" chooses nothing.
        test::onNextModal([](QDialog* dialog) { dialog->accept(); });
        QVERIFY(chooseClientSummary(m_env->context(), nullptr, choice));
        QCOMPARE(choice.client, QStringLiteral("Acme"));
        QVERIFY(choice.project.isEmpty());
        QVERIFY(choice.task.isEmpty());
    }

    void quickSummaryWindowShowsAndExportsItsRows() {
        TimeEntries entries(m_env->store());
        TimeEntry e;
        e.client = QStringLiteral("Acme");
        e.project = QStringLiteral("Web");
        e.task = QStringLiteral("Code");
        e.status = EntryStatus::Billable;
        e.duration = 1250;
        e.date = test::at(2026, 12, 7);
        e.modified = e.date;
        QCOMPARE(entries.add(e), WriteResult::Written);
        SummaryPeriod period;
        period.periodType = 1;
        period.start = test::localTime(2026, 12, 7);
        period.end = test::localTime(2026, 12, 7, 23, 59, 59);

        const QString chosen = m_env->filePath(QStringLiteral("quick"));
        m_env->ui().queueFile(chosen);
        m_env->ui().queueFile(m_env->filePath(QStringLiteral("no/such/folder.csv")));
        test::onNextModal([&](QDialog* dialog) {
            auto* summary = qobject_cast<SummaryDialog*>(dialog);
            QVERIFY(summary);
            QTableWidget* list = summary->list();
            QCOMPARE(list->columnCount(), 3);
            QCOMPARE(list->rowCount(), int(summary->rows().size()));
            QCOMPARE(list->item(5, 0)->text(), QStringLiteral("Hours:"));
            QCOMPARE(list->item(5, 1)->text(), QStringLiteral("12.50h"));
            summary->runCommand(cmd::ExportCsv);
            QVERIFY(m_env->ui().shown().isEmpty());
            summary->runCommand(cmd::ExportCsv);
        });
        openQuickSummary(m_env->context(), nullptr, period, {e.recordId});

        // The extension is added, and the file holds the window's rows.
        const QList<QStringList> rows = test::readCsvWithPython(chosen + QStringLiteral(".csv"));
        QCOMPARE(rows.value(5),
                 (QStringList{QStringLiteral("Hours:"), QStringLiteral("12.50 "), QString()}));
        QCOMPARE(m_env->ui().fileFilters().value(0), QStringLiteral("CSV Files (*.csv)|*.csv|"));
        // A failed export says so.
        QCOMPARE(m_env->ui().shownTexts(), QStringList{resourceString(str::ExportFailed)});
    }

    // Shown, at its first size or at one the user left it at, a summary's
    // columns are as wide as their texts and share the window's width.
    void columnsFitTheirTexts_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QSize>("remembered");
        QTest::newRow("quick") << int(SummaryDialog::Kind::Quick) << QSize();
        QTest::newRow("quick, remembered") << int(SummaryDialog::Kind::Quick) << QSize(700, 520);
        QTest::newRow("expense quick, remembered")
            << int(SummaryDialog::Kind::ExpenseQuick) << QSize(380, 300);
        QTest::newRow("client") << int(SummaryDialog::Kind::Client) << QSize(640, 400);
    }
    void columnsFitTheirTexts() {
        QFETCH(int, kind);
        QFETCH(QSize, remembered);
        if (remembered.isValid()) {
            QWidget before;
            before.setGeometry(QRect(QPoint(40, 40), remembered));
            saveWindowPlace(&before, m_env->registry(), QStringLiteral("Summary"));
        }
        SummaryDialog dialog(SummaryDialog::Kind(kind), m_env->context());
        const bool client = kind == int(SummaryDialog::Kind::Client);
        SummaryRows rows = {{QStringLiteral("Period:"), QStringLiteral("12/1/26 - 12/31/26")},
                            {QStringLiteral("Number of Items:"), QStringLiteral("118")},
                            {QStringLiteral("Quarterly infrastructure review"),
                             QStringLiteral("1234.50h"), QStringLiteral("100.0%")}};
        if (client)
            rows.removeLast();
        dialog.setRows(rows);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        if (remembered.isValid())
            QCOMPARE(dialog.size(), remembered);
        QTableWidget* list = dialog.list();
        int sum = 0;
        for (int c = 0; c < list->columnCount(); ++c) {
            int widest = 0;
            for (int r = 0; r < list->rowCount(); ++r) {
                if (const QTableWidgetItem* item = list->item(r, c))
                    widest = std::max(widest, list->fontMetrics().horizontalAdvance(item->text()));
            }
            QVERIFY2(list->columnWidth(c) > widest, qPrintable(QStringLiteral("column %1: %2 < %3")
                                                                   .arg(c)
                                                                   .arg(list->columnWidth(c))
                                                                   .arg(widest)));
            sum += list->columnWidth(c);
        }
        QVERIFY(sum >= list->viewport()->width() - list->columnCount());
    }

    // Export > CSV...: the criteria sheet on the view's period, the save
    // dialog, the file; cancelling either writes nothing.
    void exportCsvCommandWritesThePeriodsEntries() {
        TimeEntries entries(m_env->store());
        for (int day : {1, 2, 8, 9}) {
            TimeEntry e;
            e.client = QStringLiteral("Acme");
            e.task = QStringLiteral("Day %1").arg(day);
            e.duration = 100;
            e.date = test::at(2026, 3, day, day == 8 ? 23 : 0, day == 8 ? 59 : 0);
            e.modified = e.date;
            QCOMPARE(entries.add(e), WriteResult::Written);
        }
        SummaryPeriod week;
        week.start = test::localTime(2026, 3, 2);
        week.end = test::localTime(2026, 3, 8, 23, 59, 59);
        const QString path = m_env->filePath(QStringLiteral("week.csv"));

        test::onNextModal([](QDialog* sheet) { sheet->reject(); });
        exportEntriesCsv(m_env->context(), nullptr, week);
        QVERIFY(m_env->ui().fileFilters().isEmpty());

        test::onNextModal([](QDialog* sheet) { sheet->accept(); });
        m_env->ui().queueFile(QString());  // the save dialog cancelled
        exportEntriesCsv(m_env->context(), nullptr, week);
        QVERIFY(!QFile::exists(path));

        test::onNextModal([](QDialog* sheet) { sheet->accept(); });
        m_env->ui().queueFile(path);
        exportEntriesCsv(m_env->context(), nullptr, week);
        const QList<QStringList> rows = test::readCsvWithPython(path);
        QCOMPARE(rows.size(), 3);
        QCOMPARE(rows[1][4], QStringLiteral("Day 2"));
        QCOMPARE(rows[2][4], QStringLiteral("Day 8"));
        QVERIFY(m_env->ui().shown().isEmpty());

        test::onNextModal([](QDialog* sheet) { sheet->accept(); });
        m_env->ui().queueFile(m_env->filePath(QStringLiteral("no/such/folder.csv")));
        exportEntriesCsv(m_env->context(), nullptr, week);
        QCOMPARE(m_env->ui().shownTexts(), QStringList{resourceString(str::ExportFailed)});
    }
};

TEMPOLATCH_TEST(SummaryDialogTest);
#include "SummaryDialogTest.moc"
