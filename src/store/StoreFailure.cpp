#include "store/StoreFailure.h"

#include <QThread>

#include "platform/postgres/PostgresObjectStore.h"
#include "store/RecordStore.h"

namespace tempolatch {

using Server = platform::PostgresObjectStore;

QString storeErrorText(int error) {
    const QString code = QStringLiteral("Error: %1").arg(error);
    switch (error) {
        case Server::ErrorConnectionLost:
            return code + QStringLiteral(
                              ". The connection to the store's server was lost; nothing was "
                              "written. The next try connects anew.");
        case Server::ErrorConflict:
            return code + QStringLiteral(
                              ". Others were changing the same records at the same time; "
                              "nothing was changed. Please try again.");
        case Server::ErrorDiskFull:
            return code + QStringLiteral(". The store's disk is full; nothing was written.");
        default:
            return code;
    }
}

bool storeIsReadOnly(RecordStore& store) {
    const platform::ObjectStore* objects = store.isOpen() ? store.objectStore() : nullptr;
    return objects && objects->isReadOnly();
}

bool isConflict(int error) {
    return error == Server::ErrorConflict;
}

void pauseAfterConflict(int tries) {
    QThread::msleep(ulong(25 * tries * tries));
}

}  // namespace tempolatch
