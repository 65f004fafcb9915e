#pragma once

class QWidget;

namespace tempolatch {

struct Context;

// Start-up repair of data from versions before 261: when the loaded
// settings and the open store need it, runs the upgrade in its progress
// dialog over `parent`, and once its repairs are kept stores the settings,
// with the current version. True when it ran.
bool runDataUpgradeIfNeeded(Context& context, QWidget* parent);

// Runs the upgrade in its progress dialog; false when the repairs could not
// be kept (the user has been told).
bool runDataUpgrade(Context& context, QWidget* parent);

}  // namespace tempolatch
