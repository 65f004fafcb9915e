// Archive files, as Load Archive reads them: the entries and expenses of
// the file are added to the store. Whatever a file holds, every date that
// reaches the store lies in the range the program shows, and a file that
// is refused adds nothing.
#include <cstdlib>

#include "FuzzStore.h"
#include "store/Expenses.h"
#include "store/TimeEntries.h"
#include "transfer/ArchiveOperation.h"

namespace {

using tempolatch::platform::FileTime;

bool shown(FileTime date) {
    return date >= FileTime::firstShown() && date <= FileTime::lastShown();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tempolatch::RecordStore& records = tempolatch::fuzz::store();
    const QString path = tempolatch::fuzz::inputFile(data, size, "input.tla");
    if (path.isEmpty())
        return 0;
    const int result = tempolatch::ArchiveOperation(records).loadArchive(path);
    const quint32 entries = records.entries().recordCount();
    const quint32 expenses = records.expenses().recordCount();
    if (result != tempolatch::BackupOperation::RestoreOk) {
        if (entries != 0 || expenses != 0)
            std::abort();  // a refused file added something
        return 0;
    }
    bool inRange = true;
    tempolatch::TimeEntries(records).forEach([&](const tempolatch::TimeEntry& e) {
        inRange = inRange && shown(e.date);
        return true;
    });
    tempolatch::Expenses(records).forEach([&](const tempolatch::ExpenseEntry& x) {
        inRange = inRange && shown(x.date);
        return true;
    });
    if (!inRange)
        std::abort();
    // Each input starts from an empty store.
    if (entries != 0 || expenses != 0)
        records.deleteAllData();
    return 0;
}
