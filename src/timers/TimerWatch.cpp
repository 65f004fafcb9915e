#include "timers/TimerWatch.h"

#include "platform/Clock.h"
#include "platform/Locale.h"
#include "platform/Ui.h"
#include "settings/Context.h"
#include "settings/Settings.h"
#include "timers/TimerCommands.h"
#include "timers/TimerKeeper.h"
#include "timers/TimerStrip.h"

namespace tempolatch {

namespace {

QString clockTime(platform::FileTime time) {
    const auto st = platform::toSystemTime(time);
    return st ? platform::Locale::timeWithoutSeconds(*st) : QString();
}

}  // namespace

TimerWatch::TimerWatch(Context& context, TimerKeeper& keeper, QWidget* window,
                       DesktopServices services)
    : QObject(window),
      m_context(context),
      m_keeper(keeper),
      m_window(window),
      m_services(std::move(services)) {
    connect(&keeper, &TimerKeeper::ticked, this, &TimerWatch::look);
}

TimerWatch::~TimerWatch() = default;

void TimerWatch::look() {
    // The question is modal and the ticks go on beneath it.
    if (m_asking)
        return;
    lookForAway();
    lookForLongTimers();
}

void TimerWatch::lookForAway() {
    const int limit = m_context.settings.idleMinutes;
    const bool running = m_keeper.table().anyRunning();
    if (limit > 0 && running && !m_idleTried) {
        m_idleTried = true;
        m_idle = m_services.idleSource();
    }
    // Nothing to ask about: the desktop is left alone.
    if (!running && !m_away.isAway())
        return;
    const auto idleMs = m_idle ? m_idle->idleMilliseconds() : std::nullopt;
    if (!idleMs)
        return;
    const auto away = m_away.look(platform::Clock::nowFileTime(), *idleMs, running, limit);
    if (away && running)
        settle(*away);
}

void TimerWatch::settle(const AwayTime& away) {
    m_asking = true;
    const int choice =
        m_context.ui.choose(awayQuestion(away, m_keeper.table()), awayChoices(away), 0, m_window);
    const AwayAnswer answer = choice == 1   ? AwayAnswer::Drop
                              : choice == 2 ? AwayAnswer::Stop
                                            : AwayAnswer::Keep;
    const QList<int> slots = settleAway(m_keeper.table(), answer, away.seconds);
    m_keeper.changed();
    if (answer == AwayAnswer::Stop) {
        for (const int slot : slots) {
            if (const auto saved =
                    timercommands::completeTimer(m_context, m_window, m_keeper, slot))
                Q_EMIT entrySaved(*saved);
        }
    }
    m_asking = false;
}

void TimerWatch::lookForLongTimers() {
    const QList<int> due = m_long.due(m_keeper.table(), m_context.settings.longTimerHours);
    if (due.isEmpty())
        return;
    if (!m_notifier)
        m_notifier = m_services.notifier();
    for (const int slot : due) {
        const QString body = longTimerBody(m_keeper.table().slot(slot));
        // Without a notification service the status line says it.
        if (!m_notifier || !m_notifier->notify(longTimerSummary(), body))
            m_context.ui.notice(body);
    }
}

QString TimerWatch::awayQuestion(const AwayTime& away, const EntryTimerTable& table) {
    QStringList timers;
    for (int i = 0; i < EntryTimerTable::SlotCount; ++i) {
        if (table.slot(i).state == EntryTimer::Running)
            timers.append(QStringLiteral("    ") + TimerStrip::timerText(table, i));
    }
    const platform::FileTime back{away.since.ticks +
                                  quint64(away.seconds) * platform::FileTime::TicksPerSecond};
    return QStringLiteral(
               "You were away from %1 to %2 (%3 hours) while %4:\n%5\n\n"
               "Keep the time, drop it (the timers pause from %1), or stop the "
               "timers at %1 and complete their entries?")
        .arg(clockTime(away.since), clockTime(back), timers::hoursMinutesText(away.seconds),
             timers.size() == 1 ? QStringLiteral("this timer ran")
                                : QStringLiteral("these timers ran"),
             timers.join(u'\n'));
}

QStringList TimerWatch::awayChoices(const AwayTime& away) {
    return {QStringLiteral("&Keep the Time"), QStringLiteral("&Drop the Time"),
            QStringLiteral("&Stop at %1").arg(clockTime(away.since))};
}

}  // namespace tempolatch
