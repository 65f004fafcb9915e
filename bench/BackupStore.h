#pragma once

namespace tempolatch {
class RecordStore;
}

namespace tempolatch::bench {

// The data set of the backup and archive benchmarks: `entries` time
// entries at 40 a week (a tenth with a note), one expense per ten entries,
// and 200 clients with their projects, tasks, contacts and rates.
void fillBackupStore(RecordStore& store, int entries);
// How many records that is.
int backupRecordsOf(int entries);

}  // namespace tempolatch::bench
