#include <QFile>
#include <QTest>

#include "common/EnvironmentTest.h"
#include "common/TestDates.h"
#include "common/TestRegistry.h"
#include "editing/EntryValues.h"
#include "platform/Clock.h"
#include "settings/Settings.h"
#include "timers/EntryTimer.h"
#include "timers/TimerKeeper.h"

using namespace tempolatch;
using namespace tempolatch::test;

namespace {

// The tick times of a test, in seconds after 10:00 of the test's day.
platform::FileTime second(qint64 s) {
    return at(2026, 12, 7, 10).addTicks(s * platform::FileTime::TicksPerSecond);
}

EntryTimer runningTimer(const QString& client, qint32 elapsed,
                        EntryTimer::State state = EntryTimer::Running) {
    EntryTimer t;
    t.state = state;
    t.start = localTime(2026, 12, 7, 9, 15);
    t.elapsedSeconds = elapsed;
    t.client = client;
    t.task = QStringLiteral("Design");
    return t;
}

}  // namespace

class EntryTimerTest : public test::EnvironmentTest {
    Q_OBJECT

    QString timersFile() const { return m_env->filePath(QStringLiteral("timers.dat")); }

private Q_SLOTS:

    // Ticks at the given seconds; the running timer's and the paused
    // timer's elapsed seconds afterwards.
    void tickRule_data() {
        QTest::addColumn<QList<qint64>>("ticks");
        QTest::addColumn<int>("running");
        QTest::addColumn<int>("paused");
        QTest::newRow("first tick counts one") << QList<qint64>{0} << 1 << 0;
        QTest::newRow("one a second") << QList<qint64>{0, 1, 2, 3} << 4 << 0;
        QTest::newRow("sleep counts whole") << QList<qint64>{0, 600} << 601 << 0;
        QTest::newRow("part seconds cut") << QList<qint64>{0, 1, 1, 2} << 4 << 0;
        QTest::newRow("clock set back") << QList<qint64>{0, 3600, -3600, -3599} << 3603 << 0;
        QTest::newRow("back one second") << QList<qint64>{0, 1, 0} << 3 << 0;
    }
    void tickRule() {
        QFETCH(QList<qint64>, ticks);
        EntryTimerTable table;
        table.slot(0) = runningTimer(QStringLiteral("Acme"), 0);
        table.slot(2) = runningTimer(QStringLiteral("Paused Co"), 100, EntryTimer::Paused);
        table.slot(3) = runningTimer(QStringLiteral("Done"), 50, EntryTimer::Completed);
        for (const qint64 s : ticks)
            table.tick(second(s));
        QTEST(table.slot(0).elapsedSeconds, "running");
        QTEST(table.slot(2).elapsedSeconds - 100, "paused");
        QCOMPARE(table.slot(3).elapsedSeconds, 50);
        QCOMPARE(table.slot(1).elapsedSeconds, 0);
    }

    // Paused for ten minutes of an hour: the timer shows fifty minutes.
    void pausedTimeIsNotCounted() {
        EntryTimerTable table;
        const int slot = table.start({QStringLiteral("Acme"), {}, {}, QStringLiteral("Design"), {}},
                                     std::nullopt, localTime(2026, 12, 7, 10));
        QCOMPARE(slot, 0);
        qint64 s = 0;
        for (; s <= 1200; s += 60)
            table.tick(second(s));
        table.slot(0).state = EntryTimer::Paused;
        for (; s <= 1800; s += 60)
            table.tick(second(s));
        table.slot(0).state = EntryTimer::Running;
        for (; s <= 3600; s += 60)
            table.tick(second(s));
        QCOMPARE(table.slot(0).elapsedSeconds, 3600 - 600 + 1);
        QCOMPARE(table.slot(0).start, localTime(2026, 12, 7, 10));
    }

    void elapsedText_data() {
        QTest::addColumn<int>("seconds");
        QTest::addColumn<QString>("text");
        QTest::newRow("zero") << 0 << "00:00:00";
        QTest::newRow("3725") << 3725 << "01:02:05";
        QTest::newRow("59") << 59 << "00:00:59";
        QTest::newRow("3599") << 3599 << "00:59:59";
        QTest::newRow("100 hours") << 360000 << "100:00:00";
    }
    void elapsedText() {
        QFETCH(int, seconds);
        QTEST(timers::elapsedText(seconds), "text");
    }

    // A start given in Add Timer counts from then; one still to come is
    // refused by the dialog and never counts backwards here.
    void givenStart_data() {
        QTest::addColumn<int>("hour");
        QTest::addColumn<int>("minute");
        QTest::addColumn<bool>("future");
        QTest::addColumn<int>("elapsed");
        // Now is 10:00:30.
        QTest::newRow("an hour ago") << 9 << 0 << false << 3630;
        QTest::newRow("this minute") << 10 << 0 << false << 30;
        QTest::newRow("next minute") << 10 << 1 << true << 0;
        QTest::newRow("midnight") << 0 << 0 << false << 36030;
    }
    void givenStart() {
        QFETCH(int, hour);
        QFETCH(int, minute);
        const platform::SystemTime now = localTime(2026, 12, 7, 10, 0, 30);
        const platform::SystemTime start = timers::startToday(now, hour, minute);
        QTEST(timers::isFutureStart(start, now), "future");
        EntryTimerTable table;
        TimerStart what;
        what.givenStart = start;
        QCOMPARE(table.start(what, std::nullopt, now), 0);
        QTEST(table.slot(0).elapsedSeconds, "elapsed");
    }

    void startTakesTheFirstFreeSlot() {
        EntryTimerTable table;
        for (int i = 0; i < 4; ++i)
            QCOMPARE(table.start({}, std::nullopt, localTime(2026, 12, 7, 10)), i);
        QCOMPARE(table.start({}, std::nullopt, localTime(2026, 12, 7, 10)), -1);
        table.clear(1);
        QCOMPARE(table.firstFreeSlot(), 1);
        QCOMPARE(table.start({}, std::nullopt, localTime(2026, 12, 7, 10)), 1);
    }

    // Elapsed seconds to hundredths of an hour, with and without the
    // 15-minute granularity (always up to the next step).
    void entryDuration_data() {
        QTest::addColumn<int>("elapsed");
        QTest::addColumn<bool>("granularity");
        QTest::addColumn<int>("duration");
        QTest::newRow("5400 s") << 5400 << false << 150;
        QTest::newRow("4000 s, 15 min") << 4000 << true << 125;
        QTest::newRow("4500 s, 15 min exact") << 4500 << true << 125;
        QTest::newRow("4501 s, 15 min") << 4501 << true << 150;
        QTest::newRow("4000 s") << 4000 << false << 111;
        QTest::newRow("1 s, 15 min") << 1 << true << 25;
        QTest::newRow("0 s") << 0 << true << 0;
    }
    void entryDuration() {
        QFETCH(int, elapsed);
        QFETCH(bool, granularity);
        Settings& settings = m_env->settings();
        settings.setFlag(DurationGranularity, granularity);
        settings.minTime = 15;
        EntryTimer timer = runningTimer(QStringLiteral("Acme"), elapsed);
        QTEST(timers::entryOf(timer, settings).duration, "duration");
    }

    // The entry carries the timer's start (as a start time), texts and
    // note over its template; it is a new entry.
    void entryOfTimer() {
        TimeEntry from;
        from.recordId = 0x1234;
        from.client = QStringLiteral("Old");
        from.billTo = QStringLiteral("Jane");
        from.rate = 9000;
        from.date = at(2026, 11, 2, 8, 0, 1);
        EntryTimer timer = runningTimer(QStringLiteral("Acme"), 5400);
        timer.project = QStringLiteral("Web");
        timer.phase = QStringLiteral("Build");
        timer.note = QByteArray("note bytes");
        timer.templateEntry = from;
        const TimeEntry entry = timers::entryOf(timer, m_env->settings());
        QCOMPARE(entry.recordId, 0u);
        QCOMPARE(entry.client, QStringLiteral("Acme"));
        QCOMPARE(entry.project, QStringLiteral("Web"));
        QCOMPARE(entry.phase, QStringLiteral("Build"));
        QCOMPARE(entry.task, QStringLiteral("Design"));
        QCOMPARE(entry.note, QByteArray("note bytes"));
        QCOMPARE(entry.billTo, QStringLiteral("Jane"));
        QCOMPARE(entry.rate, 9000);
        QVERIFY(entry.hasStartTime());
        const platform::SystemTime when = entryvalues::dateTimeOf(entry);
        QCOMPARE(when.date(), QDate(2026, 12, 7));
        QCOMPARE(QTime(when.hour, when.minute), QTime(9, 15));
    }

    void templateLowersBilledAndPaid_data() {
        QTest::addColumn<int>("status");
        QTest::addColumn<int>("lowered");
        QTest::newRow("non billable") << 0 << 0;
        QTest::newRow("billable") << 1 << 1;
        QTest::newRow("billed") << 2 << 1;
        QTest::newRow("paid") << 3 << 1;
    }
    void templateLowersBilledAndPaid() {
        QFETCH(int, status);
        TimeEntry entry;
        entry.status = EntryStatus(status);
        QTEST(int(timers::templateOf(entry).status), "lowered");
    }

    // Everything of a slot survives the file, the template included.
    void keptFileRoundTrip() {
        EntryTimerTable table;
        table.slot(1) = runningTimer(QStringLiteral("Acme ü"), 725);
        table.slot(1).note = QByteArray(70000, '\x01');
        TimeEntry from;
        from.client = QStringLiteral("Acme ü");
        from.status = EntryStatus::Billable;
        from.billTo = QStringLiteral("Jane");
        from.rate = 12000;
        from.date = at(2026, 11, 2, 8, 0, 1);
        table.slot(1).templateEntry = from;
        table.slot(3) = runningTimer(QStringLiteral("Beta"), 10, EntryTimer::Paused);
        QVERIFY(TimerKeeper::save(table, second(5), timersFile()));
        const auto saved = TimerKeeper::load(timersFile());
        QVERIFY(saved);
        QCOMPARE(saved->savedAt, second(5));
        QCOMPARE(saved->table.countInUse(), 2);
        for (int i = 0; i < EntryTimerTable::SlotCount; ++i)
            QCOMPARE(saved->table.slot(i), table.slot(i));

        // No timer in use: no file.
        QVERIFY(TimerKeeper::save(EntryTimerTable(), second(6), timersFile()));
        QVERIFY(!QFile::exists(timersFile()));
    }

    void damagedFileRestoresNothing_data() {
        QTest::addColumn<int>("cut");
        QTest::newRow("empty") << 0;
        QTest::newRow("header only") << 20;
        QTest::newRow("cut in a slot") << 60;
    }
    void damagedFileRestoresNothing() {
        QFETCH(int, cut);
        EntryTimerTable table;
        table.slot(0) = runningTimer(QStringLiteral("Acme"), 725);
        QVERIFY(TimerKeeper::save(table, second(5), timersFile()));
        QFile file(timersFile());
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.resize(cut));
        file.close();
        QVERIFY(!TimerKeeper::load(timersFile()));
        EntryTimerTable restored;
        TimerKeeper keeper(restored, timersFile());
        QCOMPARE(keeper.restore(), 0);
        QVERIFY(!restored.anyInUse());
    }

    // A run that ended without closing left its timers: running ones have
    // counted the time since they were saved, paused ones not, and one that
    // was being completed comes back paused.
    void restoreCountsTheTimeAway() {
        EntryTimerTable left;
        left.slot(0) = runningTimer(QStringLiteral("Acme"), 600);
        left.slot(1) = runningTimer(QStringLiteral("Beta"), 300, EntryTimer::Paused);
        left.slot(2) = runningTimer(QStringLiteral("Gamma"), 200, EntryTimer::Completed);
        // Saved at 09:58, now is 10:00.
        QVERIFY(TimerKeeper::save(left, second(-120), timersFile()));

        EntryTimerTable table;
        TimerKeeper keeper(table, timersFile());
        QCOMPARE(keeper.restore(), 3);
        QCOMPARE(table.slot(0).elapsedSeconds, 720);
        QCOMPARE(table.slot(1).elapsedSeconds, 300);
        QCOMPARE(table.slot(1).state, EntryTimer::Paused);
        QCOMPARE(table.slot(2).state, EntryTimer::Paused);
        QCOMPARE(table.slot(2).elapsedSeconds, 200);
        // The file follows at once, so a second crash loses nothing more.
        const auto again = TimerKeeper::load(timersFile());
        QVERIFY(again);
        QCOMPARE(again->table.slot(0).elapsedSeconds, 720);
        QCOMPARE(again->savedAt, second(0));

        keeper.discard();
        QVERIFY(!table.anyInUse());
        QVERIFY(!QFile::exists(timersFile()));
    }

    // While timers run the file follows at most once a minute.
    void runningTimersSavedOnceAMinute() {
        EntryTimerTable table;
        TimerKeeper keeper(table, timersFile());
        table.slot(0) = runningTimer(QStringLiteral("Acme"), 0);
        platform::Clock::setFixed(platform::dateTimeOf(second(0)));
        keeper.changed();
        auto elapsedInFile = [&] {
            return TimerKeeper::load(timersFile())->table.slot(0).elapsedSeconds;
        };
        QCOMPARE(elapsedInFile(), 0);
        for (qint64 s = 1; s <= 59; ++s) {
            platform::Clock::setFixed(platform::dateTimeOf(second(s)));
            keeper.tick();
        }
        QCOMPARE(elapsedInFile(), 0);
        platform::Clock::setFixed(platform::dateTimeOf(second(60)));
        keeper.tick();
        QCOMPARE(elapsedInFile(), table.slot(0).elapsedSeconds);
        QCOMPARE(table.slot(0).elapsedSeconds, 60);
    }
};

TEMPOLATCH_TEST(EntryTimerTest);
#include "EntryTimerTest.moc"
