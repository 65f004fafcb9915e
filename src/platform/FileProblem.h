#pragma once

#include <QString>

namespace tempolatch::platform {

// Why a file the user named could not be read or written, in words the user
// can act on ("it does not exist", "the folder is read-only", "the disk is
// full"); empty when nothing in the file system explains it, and the
// content of the file (or the store) is to blame.
QString readProblem(const QString& path);
// `systemError` is what the system said of the failed write, if anything.
QString writeProblem(const QString& path, const QString& systemError);

// Whether a system error text says the disk is full.
bool isDiskFull(const QString& systemError);

// The message for a file the window could not write: `usual` (which speaks
// of space) when the disk is full or nothing else explains the failure,
// else its cause ("Cannot write F: the folder is read-only.").
QString writeFailureMessage(const QString& usual, const QString& path, const QString& systemError);

}  // namespace tempolatch::platform
