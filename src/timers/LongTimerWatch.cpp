#include "timers/LongTimerWatch.h"

#include <QStringList>

namespace tempolatch {

QList<int> LongTimerWatch::due(const EntryTimerTable& table, int hours) {
    QList<int> slots;
    for (int i = 0; i < EntryTimerTable::SlotCount; ++i) {
        const EntryTimer& timer = table.slot(i);
        std::optional<platform::SystemTime>& told = m_told[std::size_t(i)];
        if (!timer.inUse()) {
            told.reset();
            continue;
        }
        if (hours <= 0 || timer.elapsedSeconds <= qint64(hours) * 3600 ||
            (told && *told == timer.start))
            continue;
        told = timer.start;
        slots.append(i);
    }
    return slots;
}

QString longTimerSummary() {
    return QStringLiteral("A timer is still running");
}

QString longTimerBody(const EntryTimer& timer) {
    QStringList names{timer.client, timer.project, timer.task};
    names.removeAll(QString());
    const QString elapsed = timers::hoursMinutesText(timer.elapsedSeconds);
    return names.isEmpty() ? QStringLiteral("A timer has run for %1 hours.").arg(elapsed)
                           : QStringLiteral("The timer for %1 has run for %2 hours.")
                                 .arg(names.join(QStringLiteral(" / ")), elapsed);
}

}  // namespace tempolatch
