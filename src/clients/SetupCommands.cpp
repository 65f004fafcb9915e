#include "clients/SetupCommands.h"

#include "clients/ClientsSetupDialog.h"
#include "clients/DropListsDialog.h"
#include "clients/RatesSetupDialog.h"
#include "clients/ReplaceTextDialog.h"
#include "widgets/CommandIds.h"
#include "widgets/CommandTable.h"

namespace tempolatch {

void registerSetupCommands(CommandTable& table, Context& context, QWidget* parent,
                           std::function<StoreWatcher*()> watcher) {
    table.add(cmd::SetupClients, [&context, parent](int) { runClientsSetup(context, parent); });
    table.add(cmd::SetupRates, [&context, parent, watcher = std::move(watcher)](int) {
        runRatesSetup(context, parent, watcher());
    });
}

void registerListCommands(CommandTable& table, Context& context, QWidget* parent,
                          std::function<void()> changed) {
    table.add(cmd::ReplaceFieldText, [&context, parent, changed = std::move(changed)](int) {
        if (runReplaceFieldText(context, parent) && changed)
            changed();
    });
    table.add(cmd::EditDropLists, [&context, parent](int) { runEditDropLists(context, parent); });
}

}  // namespace tempolatch
