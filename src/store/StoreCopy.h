#pragma once

#include <QString>

namespace tempolatch {

// Copies every database and record of the store at `from` into the empty
// store at `to` (each a file path or a server address), keeping their ids,
// so that timers and settings that name a record still find it. The copy
// lands in one transaction: all of it or, on any failure, nothing; `error`
// says why. The source is read in one snapshot and not changed.
bool copyStore(const QString& from, const QString& to, QString* error);

}  // namespace tempolatch
