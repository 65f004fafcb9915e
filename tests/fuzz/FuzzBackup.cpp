// Backup files: the compound file reader and every record decoder behind a
// restore, into a profile of the run's own. A restore that succeeds
// replaces all data, so each input starts from the same kind of store.
#include "FuzzStore.h"
#include "transfer/BackupOperation.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tempolatch::RecordStore& records = tempolatch::fuzz::store();
    const QString path = tempolatch::fuzz::inputFile(data, size, "input.tld");
    if (!path.isEmpty())
        (void)tempolatch::BackupOperation(records).restore(path, true);
    return 0;
}
