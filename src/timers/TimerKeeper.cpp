#include "timers/TimerKeeper.h"

#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QTimer>
#include <algorithm>
#include <limits>

#include "platform/Clock.h"
#include "platform/OutputFile.h"
#include "platform/Profile.h"

namespace tempolatch {

using platform::FileTime;

namespace {

constexpr quint32 Magic = 0x544C544D;  // "TLTM"
constexpr quint32 Version = 1;

void writeSlot(QDataStream& out, int index, const EntryTimer& t) {
    out << qint32(index) << quint32(t.state) << t.start.toBytes() << t.elapsedSeconds << t.note
        << t.client << t.project << t.phase << t.task << bool(t.templateEntry);
    if (t.templateEntry) {
        out << platform::encodeProperties(t.templateEntry->propertiesForAdd(0))
            << t.templateEntry->changeFlags;
    }
}

bool readSlot(QDataStream& in, EntryTimerTable& table) {
    qint32 index = -1;
    quint32 state = 0;
    QByteArray start;
    EntryTimer t;
    bool hasTemplate = false;
    in >> index >> state >> start >> t.elapsedSeconds >> t.note >> t.client >> t.project >>
        t.phase >> t.task >> hasTemplate;
    if (hasTemplate) {
        QByteArray properties;
        TimeEntry entry;
        in >> properties >> entry.changeFlags;
        const auto props = platform::decodeProperties(properties);
        if (!props)
            return false;
        entry.setFromProperties(*props);
        t.templateEntry = entry;
    }
    const auto when = platform::SystemTime::fromBytes(start);
    if (in.status() != QDataStream::Ok || index < 0 || index >= EntryTimerTable::SlotCount ||
        state < EntryTimer::Running || state > EntryTimer::Completed || !when)
        return false;
    t.state = EntryTimer::State(state);
    t.start = *when;
    t.elapsedSeconds = std::max(0, t.elapsedSeconds);
    table.slot(index) = t;
    return true;
}

}  // namespace

TimerKeeper::TimerKeeper(EntryTimerTable& table, const QString& path, QObject* parent)
    : QObject(parent), m_table(table), m_path(path) {}

QString TimerKeeper::defaultPath() {
    return platform::Profile::timersPath();
}

void TimerKeeper::startTicking() {
    if (m_timer)
        return;
    m_timer = new QTimer(this);
    m_timer->setInterval(1000);
    connect(m_timer, &QTimer::timeout, this, &TimerKeeper::tick);
    m_timer->start();
}

void TimerKeeper::tick() {
    const FileTime now = platform::Clock::nowFileTime();
    m_table.tick(now);
    // A clock set back makes the last save look recent for too long.
    const qint64 since = (qint64(now.ticks) - qint64(m_lastSave.ticks)) / FileTime::TicksPerSecond;
    if (m_table.anyRunning() && (since >= SaveIntervalSeconds || since < 0))
        saveNow(now);
    Q_EMIT ticked();
}

void TimerKeeper::changed() {
    saveNow(platform::Clock::nowFileTime());
    Q_EMIT timersChanged();
}

void TimerKeeper::togglePause(int slot) {
    EntryTimer& timer = m_table.slot(slot);
    if (timer.state == EntryTimer::Running)
        timer.state = EntryTimer::Paused;
    else if (timer.state == EntryTimer::Paused)
        timer.state = EntryTimer::Running;
    changed();
}

void TimerKeeper::saveNow(FileTime now) {
    // The elapsed times are those of the last tick.
    const FileTime taken = m_table.previousTick().isNull() ? now : m_table.previousTick();
    QString why;
    const bool saved = save(m_table, taken, m_path, &why);
    m_lastSave = now;
    const bool firstFailure = !saved && !m_saveFailing;
    m_saveFailing = !saved;  // before the signal, whose message box lets ticks run
    if (firstFailure)
        Q_EMIT saveFailed(why);
}

int TimerKeeper::restore() {
    const std::optional<Saved> saved = load(m_path);
    if (!saved)
        return 0;
    const FileTime now = platform::Clock::nowFileTime();
    const qint64 away = std::max<qint64>(
        0, (qint64(now.ticks) - qint64(saved->savedAt.ticks)) / FileTime::TicksPerSecond);
    int restored = 0;
    for (int i = 0; i < EntryTimerTable::SlotCount; ++i) {
        EntryTimer t = saved->table.slot(i);
        if (!t.inUse() || m_table.slot(i).inUse())
            continue;
        if (t.state == EntryTimer::Running)
            t.elapsedSeconds = qint32(
                std::min<qint64>(t.elapsedSeconds + away, std::numeric_limits<qint32>::max()));
        else if (t.state == EntryTimer::Completed)
            t.state = EntryTimer::Paused;
        m_table.slot(i) = t;
        ++restored;
    }
    changed();
    return restored;
}

void TimerKeeper::pauseAll() {
    for (int i = 0; i < EntryTimerTable::SlotCount; ++i) {
        if (m_table.slot(i).state == EntryTimer::Running)
            m_table.slot(i).state = EntryTimer::Paused;
    }
    changed();
}

void TimerKeeper::quit(AtQuit what) {
    if (m_timer)
        m_timer->stop();
    switch (what) {
        case AtQuit::KeepRunning:
            // Saved as of the last tick: the next start counts the time since.
            changed();
            break;
        case AtQuit::Pause:
            pauseAll();
            break;
        case AtQuit::End:
            discard();
            break;
    }
}

void TimerKeeper::discard() {
    m_table.clearAll();
    QFile::remove(m_path);
    Q_EMIT timersChanged();
}

bool TimerKeeper::save(const EntryTimerTable& table, FileTime savedAt, const QString& path,
                       QString* error) {
    if (!table.anyInUse())
        return !QFile::exists(path) || QFile::remove(path);
    platform::OutputFile file(path, platform::OutputFile::ProfileFile);
    const auto failed = [&] {
        if (error)
            *error = file.errorString();
        return false;
    };
    if (!file.open())
        return failed();
    QDataStream out(&file);
    out.setVersion(QDataStream::Qt_6_4);
    out << Magic << Version << quint64(savedAt.ticks) << qint32(table.countInUse());
    for (int i = 0; i < EntryTimerTable::SlotCount; ++i) {
        if (table.slot(i).inUse())
            writeSlot(out, i, table.slot(i));
    }
    return (out.status() == QDataStream::Ok && file.commit()) || failed();
}

std::optional<TimerKeeper::Saved> TimerKeeper::load(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QDataStream in(&file);
    in.setVersion(QDataStream::Qt_6_4);
    quint32 magic = 0, version = 0;
    quint64 savedAt = 0;
    qint32 count = 0;
    in >> magic >> version >> savedAt >> count;
    if (in.status() != QDataStream::Ok || magic != Magic || version != Version || count < 0 ||
        count > EntryTimerTable::SlotCount)
        return std::nullopt;
    Saved saved;
    // The time since the save is taken from this: kept to the dates the
    // program shows, a damaged one cannot overflow the subtraction.
    saved.savedAt = FileTime{savedAt}.clampedToShown();
    for (int i = 0; i < count; ++i) {
        if (!readSlot(in, saved.table))
            return std::nullopt;
    }
    return saved;
}

}  // namespace tempolatch
