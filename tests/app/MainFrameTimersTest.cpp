#include <QFile>
#include <QLabel>
#include <QLocalServer>
#include <QSignalSpy>
#include <QStatusBar>
#include <QSystemTrayIcon>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

#include "app/MainFrame.h"
#include "app/MenuBar.h"
#include "app/SingleInstance.h"
#include "common/EnvironmentTest.h"
#include "common/ModalDialog.h"
#include "common/ProgramRun.h"
#include "common/TestDates.h"
#include "common/TestRegistry.h"
#include "editing/EntryEditor.h"
#include "platform/Clock.h"
#include "platform/Profile.h"
#include "platform/StringTable.h"
#include "settings/Settings.h"
#include "store/RecordStore.h"
#include "store/TimeEntries.h"
#include "timers/AddTimerDialog.h"
#include "timers/EntryTimer.h"
#include "timers/TimerKeeper.h"
#include "timers/TimerStrip.h"
#include "timers/TimerTray.h"
#include "timers/TimersDialog.h"
#include "views/EntryListWidget.h"
#include "views/PeriodView.h"
#include "widgets/CommandIds.h"
#include "widgets/EntryContextMenu.h"

using namespace tempolatch;

namespace {

EntryTimer timer(const QString& client, qint32 elapsed, EntryTimer::State state) {
    EntryTimer t;
    t.state = state;
    t.start = platform::SystemTime::fromDateTime(QDateTime::currentDateTime().addSecs(-elapsed));
    t.elapsedSeconds = elapsed;
    t.client = client;
    t.task = QStringLiteral("Design");
    t.note = QByteArray("kept note");
    return t;
}

// The program itself on the test's profile, without a display.
struct Program : test::Program {
    Program() : test::Program(platform::Profile::folder(), {}) {}
    ~Program() { killHard(); }
    // As a crash ends it: no close, no clean-up.
    void killHard() {
        kill();
        QLocalServer::removeServer(SingleInstance::serverName(platform::Profile::folder()));
    }
};

}  // namespace

class MainFrameTimersTest : public test::EnvironmentTest {
    Q_OBJECT

    QString timersFile() const { return m_env->filePath(QStringLiteral("timers.dat")); }

    // The time the file's elapsed times were taken, once it differs from `before`.
    platform::FileTime waitForSave(platform::FileTime before) {
        platform::FileTime now;
        const bool saved = QTest::qWaitFor(
            [&] {
                const auto saved = TimerKeeper::load(timersFile());
                now = saved ? saved->savedAt : platform::FileTime();
                return saved && now != before;
            },
            20000);
        if (!saved)
            qWarning("the program did not save its timers");
        return now;
    }

    // A stored entry for Acme on Monday 7 December 2026.
    TimeEntry addAcmeEntry(EntryStatus status, const QString& task, const QString& project = {}) {
        if (!m_env->store().isOpen() && !m_env->store().openAll())
            qWarning("the store did not open");
        TimeEntry entry;
        entry.date = test::at(2026, 12, 7, 8);
        entry.status = status;
        entry.client = QStringLiteral("Acme");
        entry.project = project;
        entry.task = task;
        if (TimeEntries(m_env->store()).add(entry) != WriteResult::Written)
            qWarning("the entry was not stored");
        return entry;
    }

private Q_SLOTS:

    // A running program keeps its timers in the profile; killed, the next
    // start finds them, the running one having counted the time between.
    void timersSurviveAKilledProgram() {
        QVERIFY(m_env->store().openAll());
        m_env->store().close();
        EntryTimerTable left;
        left.slot(0) = timer(QStringLiteral("Acme"), 600, EntryTimer::Running);
        left.slot(2) = timer(QStringLiteral("Beta"), 300, EntryTimer::Paused);
        // Written through the program's own keeping, as of two minutes ago.
        const platform::FileTime twoMinutesAgo =
            platform::fileTimeOf(QDateTime::currentDateTime().addSecs(-120));
        QVERIFY(TimerKeeper::save(left, twoMinutesAgo, timersFile()));

        Program first;
        const platform::FileTime firstSave = waitForSave(twoMinutesAgo);
        QVERIFY(firstSave > twoMinutesAgo);
        const auto afterFirst = TimerKeeper::load(timersFile());
        QVERIFY(afterFirst);
        QVERIFY(afterFirst->table.slot(0).elapsedSeconds >= 720);
        QCOMPARE(afterFirst->table.slot(2).elapsedSeconds, 300);
        first.killHard();
        QVERIFY(QFile::exists(timersFile()));

        QTest::qWait(2100);
        Program second;
        waitForSave(firstSave);
        const auto afterSecond = TimerKeeper::load(timersFile());
        QVERIFY(afterSecond);
        const EntryTimer& running = afterSecond->table.slot(0);
        QCOMPARE(running.state, EntryTimer::Running);
        QCOMPARE(running.client, QStringLiteral("Acme"));
        QCOMPARE(running.note, QByteArray("kept note"));
        QCOMPARE(running.start, left.slot(0).start);
        QVERIFY2(running.elapsedSeconds >= afterFirst->table.slot(0).elapsedSeconds + 2,
                 qPrintable(QString::number(running.elapsedSeconds)));
        QCOMPARE(afterSecond->table.slot(2).state, EntryTimer::Paused);
        QCOMPARE(afterSecond->table.slot(2).elapsedSeconds, 300);
        QCOMPARE(afterSecond->table.countInUse(), 2);
        second.killHard();
    }

    // Restored timers are said once, in the Timers command's status, until
    // the user opens them. A quit leaves them to the next start unless the
    // user ends them: without the question they keep running, with it the
    // user keeps them running, pauses or ends them, or stays (Cancel).
    void restoredTimersAreSaidAndLeftToTheNextStart_data() {
        QTest::addColumn<bool>("ask");
        QTest::addColumn<int>("choice");
        QTest::addColumn<bool>("closes");
        QTest::addColumn<int>("runningState");  // of the running timer in the file
        QTest::newRow("no question") << false << -2 << true << int(EntryTimer::Running);
        QTest::newRow("keep running") << true << 0 << true << int(EntryTimer::Running);
        QTest::newRow("pause") << true << 1 << true << int(EntryTimer::Paused);
        QTest::newRow("end") << true << 2 << true << int(EntryTimer::Free);
        QTest::newRow("cancel") << true << -1 << false << int(EntryTimer::Running);
    }
    void restoredTimersAreSaidAndLeftToTheNextStart() {
        QFETCH(bool, ask);
        QFETCH(int, choice);
        QFETCH(bool, closes);
        QFETCH(int, runningState);
        EntryTimerTable left;
        left.slot(0) = timer(QStringLiteral("Beta"), 600, EntryTimer::Running);
        left.slot(1) = timer(QStringLiteral("Acme"), 60, EntryTimer::Paused);
        QVERIFY(TimerKeeper::save(left, platform::Clock::nowFileTime(), timersFile()));
        m_env->settings().askClose = ask;
        m_env->settings().save(m_env->registry());

        MainFrame frame(m_env->context());
        QVERIFY(frame.create());
        frame.show();
        QCOMPARE(frame.timerTable().slot(1).client, QStringLiteral("Acme"));
        MenuBar* bar = frame.commandBar();
        const QString notice = QStringLiteral("2 timers were restored from the last run.");
        QCOMPARE(bar->command(cmd::Timers)->statusTip(), notice);
        QCOMPARE(frame.statusBar()->currentMessage(), notice);
        QCOMPARE(bar->timersImage(), int(MenuBar::TimerRunning));
        // The notice and the period's totals each have their place.
        frame.resize(900, 600);
        const auto* totals = frame.findChild<QLabel*>(QStringLiteral("periodTotals"));
        QVERIFY(totals);
        const int noticeEnd = frame.statusBar()->fontMetrics().horizontalAdvance(notice);
        QTRY_VERIFY(totals->isVisible() && totals->x() > noticeEnd);

        test::onNextModalOf<TimersDialog>([](TimersDialog* d) {
            QCOMPARE(d->list()->topLevelItemCount(), 2);
            d->accept();
        });
        QVERIFY(frame.onCommand(cmd::Timers));
        QVERIFY(bar->command(cmd::Timers)->statusTip().isEmpty());

        if (choice >= -1)
            m_env->ui().queueChoice(choice);
        QCOMPARE(frame.close(), closes);
        QCOMPARE(m_env->ui().shown().size(), ask ? 1 : 0);
        if (ask)
            QCOMPARE(m_env->ui().offeredChoices().size(), 3);
        const auto saved = TimerKeeper::load(timersFile());
        QCOMPARE(bool(saved), runningState != EntryTimer::Free);
        QCOMPARE(frame.timerTable().anyInUse(), runningState != EntryTimer::Free);
        if (!saved)
            return;
        QCOMPARE(int(saved->table.slot(0).state), runningState);
        QVERIFY(saved->table.slot(0).elapsedSeconds >= 600);
        QCOMPARE(saved->table.slot(1).state, EntryTimer::Paused);
        QCOMPARE(saved->table.slot(1).note, QByteArray("kept note"));
    }

    // Create New Timer from the selected paid entry, completed at once:
    // the new entry is saved with the new-entry status, shown and selected,
    // and the Timers button is idle again.
    void createNewTimerAndCompleteIt() {
        const TimeEntry paid = addAcmeEntry(EntryStatus::Paid, QStringLiteral("Work"));
        MainFrame frame(m_env->context());
        QVERIFY(frame.create());
        frame.periodView()->reload(1, paid.recordId);
        QCOMPARE(frame.entryList()->selectedRecordId(), paid.recordId);
        std::unique_ptr<EntryContextMenu> menu(frame.createEntryContextMenu(paid.recordId));
        QVERIFY(menu->command(cmd::CreateNewTimer)->isEnabled());

        test::onNextModalOf<TimersDialog>([&frame](TimersDialog* d) {
            test::onNextModalOf<AddTimerDialog>([](AddTimerDialog* add) { add->accept(); });
            QTRY_COMPARE(d->list()->topLevelItemCount(), 1);
            frame.timerTable().slot(0).elapsedSeconds = 1800;
            test::onNextModalOf<EntryEditor>([](EntryEditor* editor) { editor->accept(); });
            QVERIFY(d->execute(TimersDialog::CompleteTimer));
        });
        QVERIFY(frame.onCommand(cmd::CreateNewTimer));
        const quint32 added = frame.entryList()->selectedRecordId();
        QVERIFY(added != 0 && added != paid.recordId);
        QVERIFY(frame.entryList()->recordIds().contains(added));
        const TimeEntry entry = TimeEntries(m_env->store()).find(added).value_or(TimeEntry());
        QCOMPARE(entry.client, QStringLiteral("Acme"));
        QCOMPARE(entry.duration, 50);
        QCOMPARE(entry.status, EntryStatus::NonBillable);
        QVERIFY(!frame.timerTable().anyInUse());
        QCOMPARE(frame.commandBar()->timersImage(), int(MenuBar::TimerIdle));
    }

    // The strip above the list: a timer continues the selected entry's work
    // with one click, shows its time there and in the window title, pauses
    // with one click and completes into an entry.
    void timerStripContinuesPausesAndCompletes() {
        const TimeEntry done =
            addAcmeEntry(EntryStatus::Billed, QStringLiteral("Design"), QStringLiteral("Website"));
        MainFrame frame(m_env->context());
        QVERIFY(frame.create());
        frame.show();
        TimerStrip* strip = frame.timerStrip();
        QVERIFY(strip && strip->isVisible());
        auto button = [strip](const char* name) {
            return strip->findChild<QToolButton*>(QString::fromLatin1(name));
        };
        frame.periodView()->reload(1, done.recordId);
        button("continueWork")->click();
        QCOMPARE(frame.timerTable().countInUse(), 1);
        const EntryTimer& timer = frame.timerTable().slot(0);
        QCOMPARE(timer.state, EntryTimer::Running);
        QCOMPARE(timer.project, QStringLiteral("Website"));
        QVERIFY(QFile::exists(timersFile()));
        QVERIFY(!strip->findChild<QLabel*>(QStringLiteral("noTimers"))->isVisible());
        QCOMPARE(frame.windowTitle(), QStringLiteral("00:00:00 Acme - Tempolatch"));

        button("pause")->click();
        QCOMPARE(timer.state, EntryTimer::Paused);
        QCOMPARE(frame.windowTitle(), QStringLiteral("Tempolatch"));
        QCOMPARE(button("pause")->text(), QStringLiteral("Resume"));

        test::onNextModalOf<EntryEditor>([](EntryEditor* editor) { editor->accept(); });
        button("complete")->click();
        QTRY_VERIFY(!frame.timerTable().anyInUse());
        const quint32 added = frame.entryList()->selectedRecordId();
        QVERIFY(added != 0 && added != done.recordId);
        const TimeEntry entry = TimeEntries(m_env->store()).find(added).value_or(TimeEntry());
        QCOMPARE(entry.task, QStringLiteral("Design"));
        QCOMPARE(entry.status, EntryStatus::NonBillable);  // the new-entry default
    }

    // The tray's tooltip: each timer's time and client, paused ones marked.
    void trayTooltipNamesEachTimer() {
        EntryTimerTable table;
        QCOMPARE(TimerTray::tooltip(table), QString());
        table.slot(1) = timer(QStringLiteral("Acme"), 3725, EntryTimer::Running);
        table.slot(3) = timer(QString(), 59, EntryTimer::Paused);
        QCOMPARE(TimerTray::tooltip(table), QStringLiteral("01:02:05  Acme\n00:00:59  - (paused)"));
        // Without a tray (as here) the program shows none and goes on.
        TimerKeeper keeper(table, timersFile());
        TimerTray tray(keeper);
        QCOMPARE(tray.icon() != nullptr, QSystemTrayIcon::isSystemTrayAvailable());
    }
};

TEMPOLATCH_TEST(MainFrameTimersTest);
#include "MainFrameTimersTest.moc"
