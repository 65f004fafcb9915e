#include "timers/TimerTray.h"

#include <QIcon>
#include <QMenu>
#include <QSystemTrayIcon>

#include "timers/EntryTimer.h"
#include "timers/TimerKeeper.h"

namespace tempolatch {

TimerTray::TimerTray(TimerKeeper& keeper, QObject* parent) : QObject(parent), m_keeper(keeper) {
    connect(&keeper, &TimerKeeper::timersChanged, this, &TimerTray::timersChanged);
    connect(&keeper, &TimerKeeper::ticked, this, &TimerTray::ticked);
    // The menu is made whether or not a tray shows it, and made again as it
    // opens and after each change of the timers: later, since the change
    // may come from one of its own items.
    m_menu = new QMenu;
    m_menu->setObjectName(QStringLiteral("trayMenu"));
    connect(m_menu, &QMenu::aboutToShow, this, &TimerTray::rebuildMenu);
    rebuildMenu();
    timersChanged();
}

TimerTray::~TimerTray() {
    delete m_icon;
    delete m_menu;
}

QString TimerTray::tooltip(const EntryTimerTable& table) {
    QStringList lines;
    for (int i = 0; i < EntryTimerTable::SlotCount; ++i) {
        const EntryTimer& t = table.slot(i);
        if (!t.inUse())
            continue;
        QString line =
            QStringLiteral("%1  %2").arg(timers::elapsedText(t.elapsedSeconds),
                                         t.client.isEmpty() ? QStringLiteral("-") : t.client);
        if (t.state != EntryTimer::Running)
            line += QStringLiteral(" (paused)");
        lines.append(line);
    }
    return lines.join(QLatin1Char('\n'));
}

bool TimerTray::anyInUse(const EntryTimerTable& table) {
    for (int i = 0; i < EntryTimerTable::SlotCount; ++i)
        if (table.slot(i).inUse())
            return true;
    return false;
}

void TimerTray::timersChanged() {
    // Paused timers keep the icon, so that they can be resumed from it.
    const bool wanted = anyInUse(m_keeper.table()) && QSystemTrayIcon::isSystemTrayAvailable();
    QMetaObject::invokeMethod(this, &TimerTray::rebuildMenu, Qt::QueuedConnection);
    if (!wanted) {
        delete m_icon;
        m_icon = nullptr;
        return;
    }
    if (!m_icon) {
        m_icon = new QSystemTrayIcon(QIcon(QStringLiteral(":/icons/timer-running.svg")));
        m_icon->setContextMenu(m_menu);
        connect(
            m_icon, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::DoubleClick)
                    Q_EMIT openTimersRequested();
            });
        m_icon->show();
    }
    ticked();
}

void TimerTray::ticked() {
    if (m_icon)
        m_icon->setToolTip(tooltip(m_keeper.table()));
}

void TimerTray::setAllPaused(bool paused) {
    const EntryTimerTable& table = m_keeper.table();
    const EntryTimer::State from = paused ? EntryTimer::Running : EntryTimer::Paused;
    for (int i = 0; i < EntryTimerTable::SlotCount; ++i)
        if (table.slot(i).state == from)
            m_keeper.togglePause(i);
}

void TimerTray::rebuildMenu() {
    m_menu->clear();
    m_menu
        ->addAction(QStringLiteral("Show Tempolatch"), this,
                    [this] { Q_EMIT showWindowRequested(); })
        ->setObjectName(QStringLiteral("showWindow"));
    m_menu->addAction(QStringLiteral("Open Timers..."), this,
                      [this] { Q_EMIT openTimersRequested(); });
    m_menu->addSeparator();
    EntryTimerTable& table = m_keeper.table();
    int running = 0;
    int paused = 0;
    for (int i = 0; i < EntryTimerTable::SlotCount; ++i) {
        running += table.slot(i).state == EntryTimer::Running;
        paused += table.slot(i).state == EntryTimer::Paused;
    }
    QAction* pauseAll =
        m_menu->addAction(QStringLiteral("Pause All"), this, [this] { setAllPaused(true); });
    pauseAll->setObjectName(QStringLiteral("pauseAll"));
    pauseAll->setEnabled(running > 0);
    QAction* resumeAll =
        m_menu->addAction(QStringLiteral("Resume All"), this, [this] { setAllPaused(false); });
    resumeAll->setObjectName(QStringLiteral("resumeAll"));
    resumeAll->setEnabled(paused > 0);
    m_menu->addSeparator();
    for (int i = 0; i < EntryTimerTable::SlotCount; ++i) {
        const EntryTimer& t = table.slot(i);
        if (t.state != EntryTimer::Running && t.state != EntryTimer::Paused)
            continue;
        const QString what = t.client.isEmpty() ? t.task : t.client;
        const bool running = t.state == EntryTimer::Running;
        m_menu->addAction(
            (running ? QStringLiteral("Pause %1") : QStringLiteral("Resume %1")).arg(what), this,
            [this, i] { m_keeper.togglePause(i); });
    }
    m_menu->addSeparator();
    m_menu->addAction(QStringLiteral("Quit"), this, [this] { Q_EMIT quitRequested(); });
}

}  // namespace tempolatch
