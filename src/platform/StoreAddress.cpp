#include "platform/StoreAddress.h"

#include <QUrl>
#include <QUrlQuery>

namespace tempolatch::platform {

bool isServerAddress(const QString& address) {
    return address.startsWith(QLatin1String("postgresql://")) ||
           address.startsWith(QLatin1String("postgres://"));
}

QString shownAddress(const QString& address) {
    if (!isServerAddress(address))
        return address;
    QUrl url(address);
    if (!url.isValid())
        return QStringLiteral("postgresql://?");
    url.setPassword(QString());
    QUrlQuery query(url);
    query.removeAllQueryItems(QStringLiteral("password"));
    url.setQuery(query);
    return url.toString();
}

}  // namespace tempolatch::platform
