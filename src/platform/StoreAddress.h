#pragma once

#include <QString>

namespace tempolatch::platform {

// A store is a file of the profile or a database on a server, named by a
// libpq address (postgresql://USER@HOST:PORT/DATABASE?sslmode=...).
bool isServerAddress(const QString& address);
// The address as it may be shown or logged: without a password.
QString shownAddress(const QString& address);

}  // namespace tempolatch::platform
