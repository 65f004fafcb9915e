// Backup files: the compound file reader and every record decoder behind a
// restore, into a profile of the run's own. A restore that succeeds
// replaces all data, so each input starts from the same kind of store.
#include <QFile>
#include <QLocale>

#include "FuzzSupport.h"
#include "platform/Locale.h"
#include "platform/Profile.h"
#include "store/RecordStore.h"
#include "transfer/BackupOperation.h"

namespace {

tempolatch::RecordStore& store() {
    static tempolatch::RecordStore* const s = [] {
        tempolatch::fuzz::application();
        tempolatch::platform::Profile::setFolder(tempolatch::fuzz::scratch().filePath("profile"));
        tempolatch::platform::Locale::set(QLocale(QLocale::English, QLocale::UnitedStates));
        return new tempolatch::RecordStore;
    }();
    return *s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tempolatch::RecordStore& records = store();
    const QString path = tempolatch::fuzz::scratch().filePath("input.tld");
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 0;
    file.write(reinterpret_cast<const char*>(data), qint64(size));
    file.close();
    (void)tempolatch::BackupOperation(records).restore(path, true);
    return 0;
}
