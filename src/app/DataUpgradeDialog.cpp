#include "app/DataUpgradeDialog.h"

#include "platform/Clock.h"
#include "platform/StringTable.h"
#include "platform/Ui.h"
#include "settings/Settings.h"
#include "store/DataUpgrade.h"
#include "store/RecordStore.h"
#include "widgets/ProgressDialog.h"

namespace tempolatch {

bool runDataUpgradeIfNeeded(QWidget* parent) {
    if (!DataUpgrade::needsUpgrade(Settings::instance(), RecordStore::instance()))
        return false;
    Settings::instance().dataUpgradePending = !runDataUpgrade(parent);
    return true;
}

bool runDataUpgrade(QWidget* parent) {
    RecordStore& store = RecordStore::instance();
    DataUpgrade::Result result;
    ProgressDialog dialog(resourceString(str::UpdatingData), parent);
    dialog.run(
        [&](ProgressDialog&) { result = DataUpgrade::run(store, platform::Clock::nowFileTime()); });
    if (result.ok)
        return true;
    platform::Ui::instance().message(QStringLiteral("Error: %1").arg(result.error),
                                     platform::MessageIcon::Stop, parent);
    return false;
}

}  // namespace tempolatch
