#pragma once

#include <QString>
#include <functional>
#include <optional>

class QWidget;

namespace tempolatch {

struct Context;

// Long work of the window (reports, exports, backups, archives, bulk
// changes) runs here, off the window's thread, under a progress dialog
// that counts its records and offers Cancel. A store connection belongs
// to the thread that opened it, so the work gets a context of its own,
// made on its thread: the profile's store and registry opened anew, a
// copy of the settings, and no message boxes (the window shows what the
// work reports once it has ended).
//
// Returns what `work` returned; a work the user cancelled has written
// nothing lasting (see WorkProgress) and gives false with `cancelled` set.
// The window's own store sees what the work changed, databases deleted and
// made anew included.
bool runInBackground(Context& context, QWidget* parent, const QString& text,
                     const std::function<bool(Context& worker)>& work, bool* cancelled = nullptr);

// The same for work that ends with a result code, `success` when it did
// what it should; nullopt when the user cancelled it.
std::optional<int> resultInBackground(Context& context, QWidget* parent, const QString& text,
                                      const std::function<int(Context& worker)>& work, int success);

}  // namespace tempolatch
