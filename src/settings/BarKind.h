#pragma once

#include "settings/Settings.h"
#include "widgets/DialogBar.h"

namespace tempolatch {

// The form of a dialog's command bar that the settings ask for (the soft-key
// menu style).
inline DialogBar::Kind dialogBarKind(const Settings& settings) {
    return settings.hasFlag(SoftKeyMenus) ? DialogBar::Kind::SoftKeys : DialogBar::Kind::Classic;
}

}  // namespace tempolatch
