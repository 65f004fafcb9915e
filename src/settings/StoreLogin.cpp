#include "settings/StoreLogin.h"

#include <QInputDialog>
#include <QLineEdit>

#include "platform/Profile.h"
#include "platform/ServerPassword.h"
#include "platform/StoreAddress.h"
#include "store/RecordStore.h"

namespace tempolatch {

PasswordPrompt passwordDialog(QWidget* parent) {
    return [parent](const QString& shownAddress) -> std::optional<QString> {
        bool ok = false;
        const QString password = QInputDialog::getText(
            parent, QStringLiteral("Store Password"),
            QStringLiteral("The server asks for your password to open\n%1\n\nPassword:")
                .arg(shownAddress),
            QLineEdit::Password, QString(), &ok);
        if (!ok)
            return std::nullopt;
        return password;
    };
}

bool openStoreAskingPassword(RecordStore& store, QObject* notifyTarget, const PasswordPrompt& ask) {
    while (!store.openAll(notifyTarget)) {
        if (!platform::serverWantsPassword())
            return false;
        const std::optional<QString> password =
            ask(platform::shownAddress(platform::Profile::storeAddress()));
        if (!password)
            return false;
        platform::setServerPassword(*password);
        // The failed opening is forgotten, so that the next one tries anew.
        store.close();
    }
    return true;
}

}  // namespace tempolatch
