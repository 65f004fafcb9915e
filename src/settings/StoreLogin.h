#pragma once

#include <QString>
#include <functional>
#include <optional>

class QObject;
class QWidget;

namespace tempolatch {

class RecordStore;

// Asks for the password of the server at the shown address; nullopt when
// the user cancelled.
using PasswordPrompt = std::function<std::optional<QString>(const QString& shownAddress)>;

// The desktop's password box.
PasswordPrompt passwordDialog(QWidget* parent);

// Opens every database of the store. When its server wants a password that
// libpq's own ways (~/.pgpass, PGPASSWORD) do not give, `ask` is asked for
// one, which is handed to libpq for this run only, until the store opens
// or the user cancels. False when it did not open (openError() says why).
bool openStoreAskingPassword(RecordStore& store, QObject* notifyTarget, const PasswordPrompt& ask);

}  // namespace tempolatch
