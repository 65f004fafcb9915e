#pragma once

#include <QString>

#include "platform/Ui.h"

class QObject;

namespace tempolatch {

// The file name a save dialog gave, with the extension of the chosen filter
// ("CSV Files (*.csv)|*.csv|": "csv") added when the name has none, as the
// dialog's default extension would. `filterIndex` counts from 1; an empty
// path stays empty (the dialog was cancelled).
QString withFilterExtension(const QString& path, const QString& filter, int filterIndex = 1);

// The extension of the filter at `filterIndex` (from 1); empty when its
// pattern names none.
QString extensionOfFilter(const QString& filter, int filterIndex);

// The save dialog for `filter`, with the chosen filter's extension added,
// asked again (after a message saying why) while the file is one the
// program must not write: a file of the profile in use, a folder. An empty
// path when the dialog was cancelled.
platform::Ui::ChosenFile chooseOutputFile(platform::Ui& ui, const QString& filter, QObject* parent,
                                          const QString& suggestedPath = {});

}  // namespace tempolatch
