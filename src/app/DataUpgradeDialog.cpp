#include "app/DataUpgradeDialog.h"

#include "platform/Clock.h"
#include "platform/StringTable.h"
#include "platform/Ui.h"
#include "settings/Context.h"
#include "settings/Settings.h"
#include "store/DataUpgrade.h"
#include "store/RecordStore.h"
#include "widgets/ProgressDialog.h"

namespace tempolatch {

bool runDataUpgradeIfNeeded(Context& context, QWidget* parent) {
    if (!DataUpgrade::needsUpgrade(context.settings.version, context.store))
        return false;
    context.settings.dataUpgradePending = !runDataUpgrade(context, parent);
    // The repair is kept: say so at once, so that a program that does not
    // get to its orderly end does not walk every entry again at the next
    // start. The whole settings go, so that the version never stands over
    // options still in an older layout.
    if (!context.settings.dataUpgradePending)
        context.settings.save(context.registry);
    return true;
}

bool runDataUpgrade(Context& context, QWidget* parent) {
    RecordStore& store = context.store;
    DataUpgrade::Result result;
    ProgressDialog dialog(resourceString(str::UpdatingData), parent);
    dialog.run(
        [&](ProgressDialog&) { result = DataUpgrade::run(store, platform::Clock::nowFileTime()); });
    if (result.ok)
        return true;
    context.ui.message(QStringLiteral("Error: %1").arg(result.error), platform::MessageIcon::Stop,
                       parent);
    return false;
}

}  // namespace tempolatch
