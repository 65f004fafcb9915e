#include "clients/SetupCommands.h"

#include "clients/ClientsSetupDialog.h"
#include "clients/RatesSetupDialog.h"
#include "widgets/CommandIds.h"
#include "widgets/CommandTable.h"

namespace tempolatch {

void registerSetupCommands(CommandTable& table, QWidget* parent,
                           std::function<StoreWatcher*()> watcher) {
    table.add(cmd::SetupClients, [parent](int) { runClientsSetup(parent); });
    table.add(cmd::SetupRates,
              [parent, watcher = std::move(watcher)](int) { runRatesSetup(parent, watcher()); });
}

}  // namespace tempolatch
