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

void TimerTray::timersChanged() {
    const bool wanted = m_keeper.table().anyRunning() && QSystemTrayIcon::isSystemTrayAvailable();
    if (!wanted) {
        delete m_icon;
        m_icon = nullptr;
        return;
    }
    if (!m_icon) {
        m_menu = m_menu ? m_menu : new QMenu;
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
    rebuildMenu();
    ticked();
}

void TimerTray::ticked() {
    if (m_icon)
        m_icon->setToolTip(tooltip(m_keeper.table()));
}

void TimerTray::rebuildMenu() {
    m_menu->clear();
    m_menu->addAction(QStringLiteral("Open Timers..."), this,
                      [this] { Q_EMIT openTimersRequested(); });
    m_menu->addSeparator();
    EntryTimerTable& table = m_keeper.table();
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
