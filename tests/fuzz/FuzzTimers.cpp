// The timers file of the profile, as a crash, a full disk or another
// version may leave it: read at every start, it must never bring the
// program down, and whatever it gives back must survive being kept again.
#include <QFile>
#include <cstdlib>

#include "FuzzSupport.h"
#include "timers/TimerKeeper.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using tempolatch::TimerKeeper;
    tempolatch::fuzz::application();
    const QString path = tempolatch::fuzz::scratch().filePath("timers.dat");
    const QString again = tempolatch::fuzz::scratch().filePath("again.dat");
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        file.write(tempolatch::fuzz::bytes(data, size));
    }
    const auto saved = TimerKeeper::load(path);
    if (!saved)
        return 0;
    // What was read is kept and read back unchanged.
    if (!TimerKeeper::save(saved->table, saved->savedAt, again))
        return 0;
    const auto reread = TimerKeeper::load(again);
    if (saved->table.anyInUse() != reread.has_value())
        std::abort();
    for (int i = 0; reread && i < tempolatch::EntryTimerTable::SlotCount; ++i) {
        const tempolatch::EntryTimer& a = saved->table.slot(i);
        const tempolatch::EntryTimer& b = reread->table.slot(i);
        if (a.state != b.state || a.elapsedSeconds != b.elapsedSeconds || a.note != b.note ||
            a.client != b.client || a.task != b.task)
            std::abort();
    }
    return 0;
}
