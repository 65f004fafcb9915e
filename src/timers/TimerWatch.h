#pragma once

#include <QObject>
#include <functional>
#include <memory>

#include "platform/desktop/DesktopNotifier.h"
#include "platform/desktop/IdleSource.h"
#include "timers/AwayWatch.h"
#include "timers/LongTimerWatch.h"

class QWidget;

namespace tempolatch {

struct Context;
class TimerKeeper;

// Where the watch finds the desktop's idle time and notifications. Each is
// reached for only when an option needs it, so that a window with both
// options off never talks to the desktop.
struct DesktopServices {
    std::function<std::unique_ptr<platform::IdleSource>()> idleSource = platform::desktopIdleSource;
    std::function<std::unique_ptr<platform::DesktopNotifier>()> notifier = [] {
        return std::make_unique<platform::DBusNotifier>();
    };
};

// Watches the running timers for the main window at every tick: once the
// user comes back after the idle limit of the options, it asks once, for
// every running timer, what to do with the time away; and it tells the
// desktop when a timer has run longer than the hours the options set.
class TimerWatch : public QObject {
    Q_OBJECT
public:
    TimerWatch(Context& context, TimerKeeper& keeper, QWidget* window,
               DesktopServices services = {});
    ~TimerWatch() override;

    // One look at the idle time and the timers' hours.
    void look();

    // The question, with the running timers named; AwayAnswer by the
    // choice (Cancel keeps the time).
    static QString awayQuestion(const AwayTime& away, const EntryTimerTable& table);
    static QStringList awayChoices(const AwayTime& away);

Q_SIGNALS:
    // An entry was saved from a timer stopped where the absence began.
    void entrySaved(quint32 recordId);

private:
    void lookForAway();
    void lookForLongTimers();
    void settle(const AwayTime& away);

    Context& m_context;
    TimerKeeper& m_keeper;
    QWidget* m_window;
    DesktopServices m_services;
    std::unique_ptr<platform::IdleSource> m_idle;
    std::unique_ptr<platform::DesktopNotifier> m_notifier;
    bool m_idleTried = false;
    AwayWatch m_away;
    LongTimerWatch m_long;
    bool m_asking = false;
};

}  // namespace tempolatch
