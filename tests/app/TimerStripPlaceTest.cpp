#include <QBoxLayout>
#include <QComboBox>
#include <QDateTime>
#include <QMenu>

#include "app/MainFrame.h"
#include "common/EnvironmentTest.h"
#include "common/ModalDialog.h"
#include "common/TestRegistry.h"
#include "platform/Registry.h"
#include "settings/Settings.h"
#include "timers/EntryTimer.h"
#include "timers/TimerKeeper.h"
#include "timers/TimerStrip.h"
#include "timers/TimerTray.h"
#include "views/EntryListWidget.h"
#include "widgets/CommandIds.h"

using namespace tempolatch;

namespace {

EntryTimer timer(const QString& client, EntryTimer::State state) {
    EntryTimer t;
    t.state = state;
    t.start = platform::SystemTime::fromDateTime(QDateTime::currentDateTime().addSecs(-600));
    t.elapsedSeconds = 600;
    t.client = client;
    t.project = QStringLiteral("A project with a long name");
    t.task = QStringLiteral("Design");
    return t;
}

}  // namespace

// Where the timer strip sits, how its timers wrap in a narrow window, and
// what the tray's menu does to all timers at once.
class TimerStripPlaceTest : public test::EnvironmentTest {
    Q_OBJECT

    // The strip's place in the window's view area against the list's.
    static int stripBelowList(MainFrame& frame) {
        auto* area = static_cast<QBoxLayout*>(frame.viewArea()->layout());
        const int strip = area->indexOf(frame.timerStrip());
        const int list = area->indexOf(frame.entryList()->widget());
        if (strip < 0 || list < 0)
            return -1;
        return strip > list ? 1 : 0;
    }

private Q_SLOTS:
    // Above the list by default; the Options sheet moves it to the foot,
    // by the status line, stores that, and a new list keeps it there.
    void placeFollowsTheOptions() {
        MainFrame frame(m_env->context());
        QVERIFY(frame.create());
        QCOMPARE(stripBelowList(frame), 0);
        test::onNextModal([](QDialog* sheet) {
            sheet->findChild<QComboBox*>(QStringLiteral("timerStripPlace"))->setCurrentIndex(1);
            sheet->accept();
        });
        frame.onCommand(cmd::Options);
        QCOMPARE(stripBelowList(frame), 1);
        QCOMPARE(m_env->registry().readNumber(QString::fromLatin1(platform::Registry::AppKey),
                                              QStringLiteral("TimerStripPlace")),
                 std::optional<quint32>(1));
        frame.onCommand(cmd::ListStyleTree);
        QCOMPARE(stripBelowList(frame), 1);
    }

    // Four timers in a narrow strip take more rows, each timer whole and
    // inside the strip; a wide strip takes one row.
    void timersWrapWhenNarrow() {
        EntryTimerTable table;
        for (int i = 0; i < EntryTimerTable::SlotCount; ++i)
            table.slot(i) = timer(QStringLiteral("Client %1").arg(i), EntryTimer::Running);
        TimerKeeper keeper(table, m_env->filePath(QStringLiteral("timers.dat")));
        TimerStrip strip(keeper);
        strip.show();
        for (const int width : {2400, 420}) {
            strip.resize(width, strip.heightForWidth(width));
            QVERIFY2(width > 1000 ? strip.rows() == 1 : strip.rows() > 2,
                     qPrintable(QString::number(strip.rows())));
            for (int i = 0; i < EntryTimerTable::SlotCount; ++i) {
                const QWidget* chip = strip.findChild<QWidget*>(QStringLiteral("timer%1").arg(i));
                QVERIFY(chip);
                QVERIFY2(strip.rect().contains(chip->geometry()),
                         qPrintable(QStringLiteral("timer %1 at width %2").arg(i).arg(width)));
                QCOMPARE(chip->width(), chip->sizeHint().width());
            }
        }
    }

    // Pause All pauses the running timers and leaves paused ones paused;
    // Resume All resumes them all; each is offered only when it does something.
    void trayMenuPausesAndResumesAll() {
        EntryTimerTable table;
        table.slot(0) = timer(QStringLiteral("Acme"), EntryTimer::Running);
        table.slot(2) = timer(QStringLiteral("Beta"), EntryTimer::Paused);
        table.slot(3) = timer(QStringLiteral("Zeta"), EntryTimer::Running);
        TimerKeeper keeper(table, m_env->filePath(QStringLiteral("timers.dat")));
        TimerTray tray(keeper);
        const auto action = [&tray](const char* name) {
            return tray.menu()->findChild<QAction*>(QString::fromLatin1(name));
        };
        const auto states = [&table] {
            QList<int> s;
            for (int i = 0; i < EntryTimerTable::SlotCount; ++i)
                s.append(int(table.slot(i).state));
            return s;
        };
        const int idle = int(table.slot(1).state);
        const int run = int(EntryTimer::Running);
        const int paused = int(EntryTimer::Paused);
        QVERIFY(action("pauseAll")->isEnabled() && action("resumeAll")->isEnabled());
        QVERIFY(action("showWindow"));
        action("pauseAll")->trigger();
        QCOMPARE(states(), (QList<int>{paused, idle, paused, paused}));
        QTRY_VERIFY(!action("pauseAll")->isEnabled());
        action("resumeAll")->trigger();
        QCOMPARE(states(), (QList<int>{run, idle, run, run}));
        QTRY_VERIFY(!action("resumeAll")->isEnabled());
    }
};

TEMPOLATCH_TEST(TimerStripPlaceTest);
#include "TimerStripPlaceTest.moc"
