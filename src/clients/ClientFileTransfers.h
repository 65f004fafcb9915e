#pragma once

#include <QStringList>

#include "clients/ClientsSetupDialog.h"

class QWidget;

namespace tempolatch {

struct Context;

// The clients setup's imports and exports of files, on the context's store
// and Ui.
ClientTransfers clientFileTransfers(Context& context);

// Export client structure: asks for a .tlc file and writes it. False when
// cancelled or failed (the failure is reported).
bool exportClientStructure(Context& context, QWidget* parent);
// Import a client structure file: asks for one and merges it into the
// store, reporting a failure. True when the store may have changed.
bool importClientStructure(Context& context, QWidget* parent);
// The same for the client structure file `path` (opened from the desktop).
bool importClientStructureFrom(Context& context, QWidget* parent, const QString& path);
// Asks for a list file and reads its names.
ClientTransfers::ListFile openClientListFile(Context& context, QWidget* parent);
// Export selected list to text file: asks for the file and the format (the
// first filter 8-bit text, the second Unicode) and writes the names.
bool exportClientList(Context& context, QWidget* parent, const QStringList& names);
// The "Export" choice dialog and what it chooses; `levelNames` are the
// names of the tree level the selection stands for.
void runExportChoices(Context& context, QWidget* parent, const QStringList& levelNames);

}  // namespace tempolatch
