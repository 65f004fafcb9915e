#include <QCheckBox>
#include <QDateEdit>
#include <QFile>
#include <QLabel>

#include "app/MainFrame.h"
#include "clients/ModalDriver.h"
#include "common/EnvironmentTest.h"
#include "common/TestRegistry.h"
#include "platform/Clock.h"
#include "platform/StringTable.h"
#include "store/TimeEntries.h"
#include "transfer/ArchiveCommands.h"
#include "transfer/ArchiveRangeDialog.h"
#include "transfer/BackupOperation.h"
#include "transfer/TransferTestSupport.h"
#include "views/EntryList.h"
#include "views/PeriodView.h"
#include "widgets/CommandIds.h"

using namespace tempolatch;
using namespace tempolatch::platform;

class ArchiveCommandsTest : public test::EnvironmentTest {
    Q_OBJECT

    test::ScriptedUi& ui() { return m_env->ui(); }
    QString path(const QString& name) const { return m_env->filePath(name); }

    void addEntryNow(const QString& client) {
        TimeEntry e;
        e.date = Clock::nowFileTime();  // in the period the main window shows
        e.client = client;
        e.modified = e.date;
        QVERIFY(TimeEntries(m_env->store()).add(e) == WriteResult::Written);
    }

private Q_SLOTS:
    void init() {
        EnvironmentTest::init();
        QVERIFY(m_env->store().openAll());
    }

    // Archive Entries... offers the shown period, deletes what it archived
    // and the view follows; Load Archive... brings the entry back.
    void mainWindowArchivesAndLoads() {
        addEntryNow(QStringLiteral("A"));
        MainFrame frame(m_env->context());
        QVERIFY(frame.create());
        const auto rowsShown = [&] { return frame.periodView()->list()->recordIds().size(); };
        QCOMPARE(rowsShown(), 1);
        SystemTime start;
        SystemTime end;
        frame.periodView()->getPeriod(start, end);

        const QString file = path(QStringLiteral("week"));
        ui().queueFile(file);
        QStringList labels;
        test::whenModal<ArchiveRangeDialog>([&](ArchiveRangeDialog& dialog) {
            for (QLabel* label : dialog.findChildren<QLabel*>())
                labels << label->text();
            auto* box = dialog.findChild<QCheckBox*>(QStringLiteral("deleteWhenArchived"));
            QCOMPARE(box->text(), QStringLiteral("Delete when archived"));
            QVERIFY(box->isChecked());
            QCOMPARE(dialog.findChild<QDateEdit*>(QStringLiteral("archiveStart"))->date(),
                     start.date());
            QCOMPARE(dialog.findChild<QDateEdit*>(QStringLiteral("archiveEnd"))->date(),
                     end.date());
            QCOMPARE(dialog.start(), start);
            QCOMPARE(dialog.end(), end);
            dialog.accept();
        });
        frame.onCommand(cmd::ArchiveEntries);
        labels.sort();
        QCOMPARE(labels, (QStringList{"End:", "Start:"}));
        QCOMPARE(ui().fileFilters(), QStringList{QStringLiteral("Archive Files (*.tla)|*.tla|")});
        QVERIFY(ui().shown().isEmpty());
        QVERIFY(QFile::exists(file + QStringLiteral(".tla")));
        QVERIFY(test::allEntries().isEmpty());
        QCOMPARE(rowsShown(), 0);

        ui().queueFile(file + QStringLiteral(".tla"));
        frame.onCommand(cmd::ArchiveLoad);
        QCOMPARE(ui().shownTexts(), QStringList{QStringLiteral("Archive file has been restored.")});
        QCOMPARE(ui().shown().first().icon, MessageIcon::Information);
        QCOMPARE(rowsShown(), 1);
    }

    void cancelledRangeAsksNothingMore() {
        addEntryNow(QStringLiteral("A"));
        test::whenModal<ArchiveRangeDialog>([](ArchiveRangeDialog& dialog) { dialog.reject(); });
        QVERIFY(!archiveEntries(m_env->context(), nullptr, test::day(2026, 1, 1),
                                test::localTime(2026, 12, 31, 23, 59, 59)));
        QVERIFY(ui().fileFilters().isEmpty());
        QCOMPARE(test::allEntries().size(), 1);
    }

    void failedWriteDeletesNothing() {
        addEntryNow(QStringLiteral("A"));
        ui().queueFile(path(QStringLiteral("no/such/folder.tla")));
        QVERIFY(archiveEntriesInRange(m_env->context(), nullptr,
                                      {test::day(1990, 1, 1), test::day(2100, 1, 1), true}));
        QVERIFY2(ui().shownTexts().value(0).endsWith(QStringLiteral("no/such does not exist.")),
                 qPrintable(ui().shownTexts().value(0)));
        QCOMPARE(ui().shown().first().icon, MessageIcon::Stop);
        QCOMPARE(test::allEntries().size(), 1);
    }

    void loadingABackupIsRefused() {
        addEntryNow(QStringLiteral("A"));
        const QString file = path(QStringLiteral("full.tld"));
        QVERIFY(BackupOperation(m_env->store()).backup(file));
        ui().queueFile(file);
        QVERIFY(loadArchive(m_env->context(), nullptr));
        QCOMPARE(ui().shownTexts(),
                 QStringList{QStringLiteral("Only Archive file with data can be restored.")});
        QCOMPARE(ui().shown().first().icon, MessageIcon::Warning);
        QCOMPARE(test::allEntries().size(), 1);

        ui().clear();
        QVERIFY(!loadArchive(m_env->context(), nullptr));  // cancelled
        QVERIFY(ui().shown().isEmpty());
    }

    void f1OpensTheArchiveTopic() {
        ArchiveRangeDialog dialog(test::day(2026, 1, 1), test::day(2026, 1, 31));
        QCOMPARE(test::helpTopicOnF1(dialog), QStringLiteral("deldata"));
    }
};

TEMPOLATCH_TEST(ArchiveCommandsTest);
#include "ArchiveCommandsTest.moc"
