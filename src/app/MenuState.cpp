#include "app/MenuState.h"

#include "platform/StringTable.h"
#include "settings/Settings.h"
#include "timers/EntryTimer.h"
#include "widgets/CommandIds.h"

namespace tempolatch {

ViewMenuState viewMenuState(const Settings& settings) {
    ViewMenuState state;
    // Values out of range (a hand-edited registry) check nothing rather
    // than some unrelated item.
    state.checkedListStyle =
        settings.listStyle <= 2 ? cmd::ListStyleBase + int(settings.listStyle) : 0;
    state.checkedPeriod =
        settings.view >= 1 && settings.view <= 4 ? cmd::PeriodBase + int(settings.view) : 0;
    state.checkedArrangeBy = settings.sort <= 8 ? cmd::ArrangeDefault + settings.sort : 0;
    state.customizeEnabled = settings.listStyle != 1;
    state.arrangeByEnabled = settings.listStyle != 2;
    state.customFieldNames = {settings.custom1, settings.custom2, settings.custom3};
    return state;
}

int tapCommand(const Settings& settings) {
    return settings.hasFlag(TapPreviews) ? cmd::Preview : cmd::EditSelected;
}

bool mustAskBeforeClose(const Settings& settings, const EntryTimerTable& timers) {
    return settings.askClose && timers.anyInUse();
}

QString timersMenuText(int slotsInUse) {
    return resourceString(str::TimersCount)
        .replace(QLatin1String("%d"), QString::number(slotsInUse));
}

}  // namespace tempolatch
