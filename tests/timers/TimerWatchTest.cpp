#include <QApplication>
#include <QPointer>
#include <QTest>

#include "common/EnvironmentTest.h"
#include "common/ModalDialog.h"
#include "common/TestRegistry.h"
#include "editing/EntryCommands.h"
#include "editing/EntryEditor.h"
#include "platform/Clock.h"
#include "settings/Settings.h"
#include "timers/TimerKeeper.h"
#include "timers/TimerWatch.h"

using namespace tempolatch;
using namespace tempolatch::test;

namespace {

// The idle time the test sets.
class FakeIdle : public platform::IdleSource {
public:
    explicit FakeIdle(qint64* idleMs) : m_idleMs(idleMs) {}
    std::optional<qint64> idleMilliseconds() override { return *m_idleMs; }
    QString name() const override { return QStringLiteral("test"); }

private:
    qint64* m_idleMs;
};

// Keeps what it was told; `answers` false is a desktop without the service.
class FakeNotifier : public platform::DesktopNotifier {
public:
    FakeNotifier(QStringList* told, bool answers) : m_told(told), m_answers(answers) {}
    bool notify(const QString& summary, const QString& body) override {
        m_told->append(summary + u'|' + body);
        return m_answers;
    }

private:
    QStringList* m_told;
    bool m_answers;
};

QDateTime at(int hour, int minute, int second = 0) {
    return QDateTime(QDate(2026, 12, 7), QTime(hour, minute, second));
}

}  // namespace

// Timers that notice the user was away, and timers that run long.
class TimerWatchTest : public EnvironmentTest {
    Q_OBJECT

    EntryTimerTable m_table;
    std::unique_ptr<TimerKeeper> m_keeper;
    std::unique_ptr<TimerWatch> m_watch;
    qint64 m_idleMs = 0;
    QStringList m_told;
    bool m_notifierAnswers = true;
    int m_idleSourcesMade = 0;

    // The keeper's tick at that time, the user idle since `idleSince`
    // (none: at work). The watch looks at every tick.
    void tickAt(const QDateTime& now, std::optional<QDateTime> idleSince = std::nullopt) {
        platform::Clock::setFixed(now);
        m_idleMs = idleSince ? idleSince->msecsTo(now) : 0;
        m_keeper->tick();
    }
    // Two running timers from 12:00 and one paused, the limit at ten minutes;
    // a task, which an entry needs.
    void startTimers() {
        m_env->settings().idleMinutes = 10;
        tickAt(at(12, 0));
        for (const char* client : {"Acme", "Globex", "Initech"})
            m_table.start({client, {}, {}, "Design", {}}, std::nullopt, platform::Clock::now());
        m_table.slot(2).state = EntryTimer::Paused;
    }
    // At work till 12:20, back at 12:50:40; looked at every few minutes.
    void awayAndBack() {
        tickAt(at(12, 10));
        for (const QDateTime& t : {at(12, 20), at(12, 25), at(12, 31), at(12, 50)})
            tickAt(t, at(12, 20));
        tickAt(at(12, 51), at(12, 50, 40));
    }
    // Accepts the entry editors that open, one after the other, `count` of
    // them; an accepted editor is hidden, so the next one found is another.
    void acceptEditors(int count, const std::function<void()>& check) {
        onNextModalOf<EntryEditor>([this, count, check](EntryEditor* editor) {
            check();
            editor->accept();
            if (count > 1)
                acceptEditors(count - 1, check);
        });
    }

private Q_SLOTS:
    void init() {
        EnvironmentTest::init();
        QVERIFY(m_env->store().openAll());
        m_table.clearAll();
        m_told.clear();
        m_notifierAnswers = true;
        m_idleSourcesMade = 0;
        m_keeper =
            std::make_unique<TimerKeeper>(m_table, m_env->filePath(QStringLiteral("timers.dat")));
        DesktopServices services;
        services.idleSource = [this] {
            ++m_idleSourcesMade;
            return std::make_unique<FakeIdle>(&m_idleMs);
        };
        services.notifier = [this] {
            return std::make_unique<FakeNotifier>(&m_told, m_notifierAnswers);
        };
        m_watch = std::make_unique<TimerWatch>(m_env->context(), *m_keeper, nullptr, services);
    }
    void cleanup() {
        m_watch.reset();
        m_keeper.reset();
        EnvironmentTest::cleanup();
    }

    // One question for all running timers once the user is back; what each
    // answer does to the running ones (the paused one is left alone).
    void askedOnceOnReturn_data() {
        QTest::addColumn<int>("choice");
        QTest::addColumn<int>("elapsed");
        QTest::addColumn<int>("state");
        // 51 minutes counted; away 30:40 of them.
        QTest::newRow("keep") << 0 << 3060 << int(EntryTimer::Running);
        QTest::newRow("cancel keeps") << -1 << 3060 << int(EntryTimer::Running);
        QTest::newRow("drop") << 1 << 1220 << int(EntryTimer::Paused);
    }
    void askedOnceOnReturn() {
        QFETCH(int, choice);
        startTimers();
        m_env->ui().queueChoice(choice);
        awayAndBack();
        QCOMPARE(m_env->ui().offeredChoices(),
                 QStringList({"&Keep the Time", "&Drop the Time", "&Stop at 12:20 PM"}));
        const QString question = m_env->ui().shownTexts().value(0);
        QVERIFY2(question.startsWith(QStringLiteral(
                     "You were away from 12:20 PM to 12:50 PM (0:30 hours) while these timers "
                     "ran:\n    00:51:00 Acme\n    00:51:00 Globex\n\n")),
                 qPrintable(question));
        for (int slot : {0, 1}) {
            QTEST(m_table.slot(slot).elapsedSeconds, "elapsed");
            QTEST(int(m_table.slot(slot).state), "state");
        }
        QCOMPARE(m_table.slot(2).elapsedSeconds, 0);
        QCOMPARE(m_table.slot(2).state, EntryTimer::Paused);
        // Asked once: further ticks at work ask nothing.
        tickAt(at(12, 52));
        tickAt(at(12, 53));
        QCOMPARE(m_env->ui().shownTexts().size(), 1);
        // The file follows at once.
        QCOMPARE(TimerKeeper::load(m_keeper->path())->table.slot(0).state, m_table.slot(0).state);
    }

    // Stop: each running timer becomes its entry, at the time it had when
    // the user left.
    void stopCompletesEachEntry() {
        startTimers();
        m_env->ui().queueChoice(2);
        QList<quint32> saved;
        connect(m_watch.get(), &TimerWatch::entrySaved, this,
                [&saved](quint32 id) { saved.append(id); });
        // Neither timer counts on while the other's entry is edited.
        QList<int> states;
        acceptEditors(2, [this, &states] {
            if (states.isEmpty())
                states << m_table.slot(0).state << m_table.slot(1).state;
        });
        awayAndBack();
        QCOMPARE(states, QList<int>({EntryTimer::Paused, EntryTimer::Paused}));
        QCOMPARE(saved.size(), 2);
        for (const quint32 id : saved) {
            const TimeEntry entry =
                entrycommands::readStoredEntry(m_env->store(), id).value_or(TimeEntry());
            // 20:20 of work, 20 minutes as a timer reckons them: 0.33 h.
            QCOMPARE(entry.duration, 33);
        }
        QVERIFY(!m_table.slot(0).inUse() && !m_table.slot(1).inUse());
        QCOMPARE(m_table.slot(2).state, EntryTimer::Paused);
    }

    // Nothing is asked below the limit, with the option off, or when no
    // timer was running; and the desktop is not asked while off.
    void notAsked_data() {
        QTest::addColumn<int>("limit");
        QTest::addColumn<QDateTime>("idleSince");
        QTest::addColumn<bool>("pauseFirst");
        QTest::newRow("9:59 idle") << 10 << at(12, 40, 41) << false;
        QTest::newRow("option off") << 0 << at(12, 0) << false;
        QTest::newRow("timers paused") << 10 << at(12, 0) << true;
    }
    void notAsked() {
        QFETCH(int, limit);
        QFETCH(QDateTime, idleSince);
        QFETCH(bool, pauseFirst);
        startTimers();
        m_env->settings().idleMinutes = quint16(limit);
        if (pauseFirst)
            m_keeper->pauseAll();
        tickAt(at(12, 50, 40), idleSince);
        tickAt(at(12, 51));
        QVERIFY(m_env->ui().shownTexts().isEmpty());
        QCOMPARE(m_idleSourcesMade, limit > 0 && !pauseFirst ? 1 : 0);
    }

    // Told once per timer after the hours set; a new timer in the slot anew.
    void longTimerToldOnce() {
        m_env->settings().longTimerHours = 2;
        tickAt(at(9, 0));
        m_table.start({"Acme", "Website", {}, {}, {}}, std::nullopt, platform::Clock::now());
        tickAt(at(11, 0));
        QVERIFY(m_told.isEmpty());
        tickAt(at(11, 0, 1));
        QCOMPARE(m_told, QStringList({"A timer is still running|The timer for Acme / Website "
                                      "has run for 2:00 hours."}));
        tickAt(at(13, 0));
        QCOMPARE(m_told.size(), 1);
        m_table.clear(0);
        tickAt(at(13, 0, 1));
        m_table.start({}, std::nullopt, platform::Clock::now());
        tickAt(at(15, 0, 2));
        QCOMPARE(m_told.value(1), QStringLiteral("A timer is still running|A timer has run for "
                                                 "2:00 hours."));
        QVERIFY(m_env->ui().notices().isEmpty());
    }

    // Where the desktop shows no notifications, the status line says it.
    void longTimerOnStatusLine() {
        m_notifierAnswers = false;
        m_env->settings().longTimerHours = 1;
        tickAt(at(9, 0));
        m_table.start({}, std::nullopt, platform::Clock::now());
        tickAt(at(10, 30));
        QCOMPARE(m_env->ui().notices(), QStringList({"A timer has run for 1:30 hours."}));
    }
};

TEMPOLATCH_TEST(TimerWatchTest);
#include "TimerWatchTest.moc"
