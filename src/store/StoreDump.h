#pragma once

#include <QTextStream>

namespace tempolatch {

namespace platform {
class ObjectStore;
}

// Writes every database and record of the store as text, for users and
// support. The format is stable:
//
//   database "<name>" type 0x<8 hex> sort 0x<8 hex>[,0x<8 hex>] records <n>
//     record 0x<8 hex id>
//       0x<8 hex prop id> <TYPE> <value>
//       = <record kind>
//         <field name>: <value>
//
// Texts are quoted with \\, \" \n and \r escaped; FILETIME values print as
// local date-time and raw ticks; BLOBs print their size and first 32 bytes.
// Records of time entries, expenses and the client structure follow their
// raw properties with their decoded fields ("= TimeEntry", "= Client", ...);
// dates print as local date-times or "none", hundredths as "1.50".
// Records follow the database's first sort order. Nothing is written to the
// store.
void dumpStore(platform::ObjectStore& store, QTextStream& out);

// The same for the store of the current profile, opened read-only on its
// own, so that it works while the program runs and never changes a byte.
// False, with the reason in `error`, when the store cannot be opened.
bool dumpProfileStore(QTextStream& out, QString* error);

}  // namespace tempolatch
