#include "settings/SettingsFonts.h"

#include <QApplication>

#include "settings/Settings.h"

namespace tempolatch {

namespace {

bool g_clearType = false;

QFont desktopFont(double points, bool bold) {
    QFont font = QApplication::font();
    const double base = font.pointSizeF() > 0 ? font.pointSizeF() : 9.0;
    font.setPointSizeF(std::max(4.0, base + (points - 8.0)));
    font.setWeight(bold ? QFont::Bold : QFont::Normal);
    font.setStyleStrategy(g_clearType ? QFont::PreferAntialias : QFont::PreferDefault);
    return font;
}

}  // namespace

QFont createListFont(const Settings& settings, bool strikeOut) {
    QFont font = desktopFont(settings.fontSize + 7, settings.hasFlag(BoldListFont));
    font.setStrikeOut(strikeOut);
    return font;
}

QFont createFont(const QString& face, int tenthsOfPoint, bool bold, bool italic) {
    const double points = tenthsOfPoint / 10.0;
    QFont font = desktopFont(points, bold);
    if (face.compare(QLatin1String("Tahoma"), Qt::CaseInsensitive) != 0 && !face.isEmpty())
        font.setFamily(face);
    font.setItalic(italic);
    return font;
}

void useClearType(bool on) {
    g_clearType = on;
}

int fontHeight(double points, int logicalDpi) {
    return -int(points * 10 * logicalDpi * 0.001388888888888889 + 0.5);
}

}  // namespace tempolatch
