#include "widgets/SetupIcons.h"

#include <QString>

// The resource's init function lives in the global namespace.
static void loadClientResources() {
    static const bool loaded = [] {
        Q_INIT_RESOURCE(clients);
        return true;
    }();
    Q_UNUSED(loaded);
}

namespace {
QIcon icon(const char* name) {
    loadClientResources();
    return QIcon(QStringLiteral(":/icons/%1.svg").arg(QLatin1String(name)));
}
}  // namespace

namespace tempolatch {

QIcon clientTreeIcon(int kind) {
    static const char* const names[] = {"clients-client", "clients-project", "clients-task",
                                        "clients-contact", "clients-group"};
    return kind >= 0 && kind < 5 ? icon(names[kind]) : QIcon();
}

QIcon rateTreeIcon(int image) {
    static const char* const names[] = {"clients-client", "rate-normal", "rate-overtime",
                                        "rate-weekend",   "rate-fixed",  "rate-discount"};
    return image >= 0 && image < 6 ? icon(names[image]) : QIcon();
}

}  // namespace tempolatch
