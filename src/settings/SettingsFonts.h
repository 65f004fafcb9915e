#pragma once

#include <QFont>
#include <QString>

namespace tempolatch {

class Settings;

// Fonts made from the settings. The handheld's 7, 8 and 9 point "Tahoma"
// map to the desktop's own UI family at its default size -1, 0 and +1 points.
QFont createListFont(const Settings& settings, bool strikeOut);
QFont createFont(const QString& face, int tenthsOfPoint, bool bold, bool italic);

// A point size as a font height at the given resolution (negative: the
// character height, not the cell height).
int fontHeight(double points, int logicalDpi);

// Every font made from here on prefers antialiasing when the desktop's
// ClearType value is on (Settings::clearType).
void useClearType(bool on);

}  // namespace tempolatch
