#include "timers/TimerStrip.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>

#include "timers/EntryTimer.h"
#include "timers/TimerKeeper.h"
#include "widgets/FlowLayout.h"

namespace tempolatch {

TimerStrip::TimerStrip(TimerKeeper& keeper, QWidget* parent) : QWidget(parent), m_keeper(keeper) {
    setObjectName(QStringLiteral("timerStrip"));
    // The timers wrap into more rows when the window is narrow.
    m_chips = new FlowLayout(this, 12);
    m_chips->setContentsMargins(4, 2, 4, 2);
    m_idle = new QLabel(QStringLiteral("No timer running."), this);
    m_idle->setObjectName(QStringLiteral("noTimers"));
    m_continue = new QToolButton(this);
    m_continue->setObjectName(QStringLiteral("continueWork"));
    // Alt+E is the Edit menu's.
    m_continue->setText(QStringLiteral("&Start Timer for Entry"));
    m_continue->setToolTip(QStringLiteral("A new timer for the work of the selected entry"));
    m_continue->setToolButtonStyle(Qt::ToolButtonTextOnly);
    m_chips->addWidget(m_idle);
    m_chips->addRightWidget(m_continue);
    connect(m_continue, &QToolButton::clicked, this, &TimerStrip::continueRequested);
    connect(&m_keeper, &TimerKeeper::timersChanged, this, &TimerStrip::rebuild);
    connect(&m_keeper, &TimerKeeper::ticked, this, &TimerStrip::updateTimes);
    rebuild();
}

int TimerStrip::rows() const {
    return m_chips->rowsAt(width());
}

QString TimerStrip::timerText(const EntryTimerTable& table, int slot) {
    const EntryTimer& t = table.slot(slot);
    QString work = t.client.isEmpty() ? QStringLiteral("-") : t.client;
    if (!t.project.isEmpty())
        work += QStringLiteral(" / ") + t.project;
    QString text = timers::elapsedText(t.elapsedSeconds) + u' ' + work;
    if (t.state == EntryTimer::Paused)
        text += QStringLiteral(" (paused)");
    return text;
}

QString TimerStrip::windowTitle(const EntryTimerTable& table, const QString& title) {
    for (int i = 0; i < EntryTimerTable::SlotCount; ++i) {
        const EntryTimer& t = table.slot(i);
        if (t.state == EntryTimer::Running)
            return QStringLiteral("%1 %2 - %3")
                .arg(timers::elapsedText(t.elapsedSeconds),
                     t.client.isEmpty() ? QStringLiteral("-") : t.client, title);
    }
    return title;
}

TimerStrip::Chip TimerStrip::makeChip(int slot) {
    Chip chip;
    chip.slot = slot;
    chip.box = new QWidget(this);
    chip.box->setObjectName(QStringLiteral("timer%1").arg(slot));
    auto* row = new QHBoxLayout(chip.box);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(2);
    chip.text = new QLabel(chip.box);
    chip.pause = new QToolButton(chip.box);
    chip.pause->setObjectName(QStringLiteral("pause"));
    chip.pause->setCheckable(true);
    auto* complete = new QToolButton(chip.box);
    complete->setObjectName(QStringLiteral("complete"));
    complete->setText(QStringLiteral("Complete"));
    complete->setToolTip(QStringLiteral("Make an entry of this timer"));
    row->addWidget(chip.text);
    row->addWidget(chip.pause);
    row->addWidget(complete);
    connect(chip.pause, &QToolButton::clicked, this, [this, slot] { m_keeper.togglePause(slot); });
    connect(complete, &QToolButton::clicked, this,
            [this, slot] { Q_EMIT completeRequested(slot); });
    return chip;
}

void TimerStrip::rebuild() {
    const EntryTimerTable& table = m_keeper.table();
    QList<int> inUse;
    for (int i = 0; i < EntryTimerTable::SlotCount; ++i)
        if (table.slot(i).inUse())
            inUse.append(i);
    QList<int> shown;
    for (const Chip& chip : std::as_const(m_shown))
        shown.append(chip.slot);
    if (inUse != shown) {
        // Later: the change may come from a click on the very chip.
        for (const Chip& chip : std::as_const(m_shown)) {
            m_chips->removeWidget(chip.box);
            chip.box->hide();
            chip.box->deleteLater();
        }
        m_shown.clear();
        for (const int slot : std::as_const(inUse)) {
            m_shown.append(makeChip(slot));
            m_chips->insertWidget(int(m_shown.size()) - 1, m_shown.last().box);
        }
    }
    m_idle->setVisible(m_shown.isEmpty());
    m_continue->setEnabled(m_shown.size() < EntryTimerTable::SlotCount);
    updateTimes();
}

void TimerStrip::updateTimes() {
    const EntryTimerTable& table = m_keeper.table();
    for (const Chip& chip : std::as_const(m_shown)) {
        const bool paused = table.slot(chip.slot).state == EntryTimer::Paused;
        chip.text->setText(timerText(table, chip.slot));
        chip.pause->setChecked(paused);
        chip.pause->setText(paused ? QStringLiteral("Resume") : QStringLiteral("Pause"));
    }
}

}  // namespace tempolatch
