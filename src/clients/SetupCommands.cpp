#include "clients/SetupCommands.h"

#include "clients/ClientsSetupDialog.h"
#include "clients/RatesSetupDialog.h"
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

}  // namespace tempolatch
