#include "views/ViewIcons.h"

#include <QHash>
#include <QPainter>
#include <QSvgRenderer>

#include "views/EntryRow.h"

static void initViewIconResources() {
    Q_INIT_RESOURCE(views_icons);
}

namespace tempolatch {

namespace {

constexpr int kSizes[] = {16, 24, 32, 48};

QString pathOf(const QString& name) {
    return QStringLiteral(":/icons/") + name + QStringLiteral(".svg");
}

QIcon compose(const QString& name, bool withNote) {
    QIcon icon;
    for (int size : kSizes) {
        QPixmap pm = ViewIcons::pixmap(name, size);
        if (withNote) {
            QPainter painter(&pm);
            painter.drawPixmap(0, 0, ViewIcons::pixmap(QStringLiteral("note-overlay"), size));
        }
        icon.addPixmap(pm);
    }
    return icon;
}

QIcon cached(const QString& name, bool withNote) {
    static QHash<QString, QIcon> icons;
    const QString key = withNote ? name + QStringLiteral("+note") : name;
    auto it = icons.find(key);
    if (it == icons.end())
        it = icons.insert(key, compose(name, withNote));
    return *it;
}

}  // namespace

QPixmap ViewIcons::pixmap(const QString& name, int size) {
    static const bool resourcesReady = [] {
        initViewIconResources();
        return true;
    }();
    Q_UNUSED(resourcesReady);
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QSvgRenderer renderer(pathOf(name));
    if (renderer.isValid()) {
        QPainter painter(&pm);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter);
    }
    return pm;
}

QIcon ViewIcons::icon(const QString& name) {
    return cached(name, false);
}

QString ViewIcons::statusName(int status) {
    static const char* const kNames[] = {"status-nonbillable", "status-billable", "status-billed",
                                         "status-paid"};
    if (status < 0 || status > 3)
        return {};
    return QString::fromLatin1(kNames[status]);
}

QString ViewIcons::treeImageName(int image) {
    static const char* const kGroups[] = {"tree-date",  "tree-client", "tree-project",
                                          "tree-phase", "tree-task",   "tree-amount"};
    if (image >= TreeImageDate && image <= TreeImageAmount)
        return QString::fromLatin1(kGroups[image - TreeImageDate]);
    if (image == TreeImageTime)
        return QStringLiteral("tree-time");
    return statusName(image - TreeImageStatus);
}

QIcon ViewIcons::statusIcon(int status, bool withNote) {
    const QString name = statusName(status);
    return name.isEmpty() ? QIcon() : cached(name, withNote);
}

QIcon ViewIcons::treeIcon(int image, bool withNote) {
    const QString name = treeImageName(image);
    return name.isEmpty() ? QIcon() : cached(name, withNote);
}

}  // namespace tempolatch
