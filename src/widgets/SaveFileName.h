#pragma once

#include <QString>

namespace tempolatch {

// The file name a save dialog gave, with the extension of the chosen filter
// ("CSV Files (*.csv)|*.csv|": "csv") added when the name has none, as the
// dialog's default extension would. `filterIndex` counts from 1; an empty
// path stays empty (the dialog was cancelled).
QString withFilterExtension(const QString& path, const QString& filter, int filterIndex = 1);

// The extension of the filter at `filterIndex` (from 1); empty when its
// pattern names none.
QString extensionOfFilter(const QString& filter, int filterIndex);

}  // namespace tempolatch
