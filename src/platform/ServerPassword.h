#pragma once

#include <QString>

namespace tempolatch::platform {

// The password of a server store, when libpq's own ways (~/.pgpass,
// PGPASSWORD) give none the server takes: typed by the user when asked,
// handed to libpq for every connection of this run, and never written
// anywhere.
void setServerPassword(const QString& password);
// True when the last connection to a server that failed was refused for
// want of a password (none given, or a wrong one).
bool serverWantsPassword();

}  // namespace tempolatch::platform
