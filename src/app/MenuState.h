#pragma once

#include <QString>
#include <array>
#include <optional>

namespace tempolatch {

class Settings;
class EntryTimerTable;

// What the View popup shows when it opens: which list style, period type and
// arrange-by order carry the radio check, what is greyed, and the user's
// names for the custom fields on the arrange-by items.
struct ViewMenuState {
    int checkedListStyle = 0;  // command id, 42100..42102
    int checkedPeriod = 0;     // command id, 42001..42004; 0 when the type is unknown
    int checkedArrangeBy = 0;  // command id, 40108..40116
    bool customizeEnabled = true;
    bool arrangeByEnabled = true;
    std::array<QString, 3> customFieldNames;  // texts of 40114..40116
};

ViewMenuState viewMenuState(const Settings& settings);

// "Client Summary..." needs at least one client.
inline bool clientSummaryEnabled(int clientCount) {
    return clientCount > 0;
}

// The command a tap on an entry of the Default list runs: Preview or Edit.
int tapCommand(const Settings& settings);

// True when closing must first ask whether to give up the running timers.
bool mustAskBeforeClose(const Settings& settings, const EntryTimerTable& timers);

// Text of the Timers item of the soft-key menu, "Timers... (n)".
QString timersMenuText(int slotsInUse);

}  // namespace tempolatch
