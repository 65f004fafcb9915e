#include "editing/SaveConflict.h"

#include "platform/Ui.h"
#include "store/StoreFailure.h"

namespace tempolatch {

ConflictChoice askAboutConflict(platform::Ui& ui, const QString& what, QObject* parent) {
    const QString text =
        QStringLiteral(
            "Someone else has changed this %1 since you opened it, and it was not saved.\n\n"
            "Reload shows the %1 as it is stored now; your changes are dropped.\n"
            "Overwrite saves your changes over theirs.\n"
            "Cancel goes back to your changes.")
            .arg(what);
    switch (ui.choose(text, {QStringLiteral("&Reload"), QStringLiteral("&Overwrite")}, 0, parent)) {
        case 0:
            return ConflictChoice::Reload;
        case 1:
            return ConflictChoice::Overwrite;
        default:
            return ConflictChoice::KeepEditing;
    }
}

bool SaveTry::changedElsewhere() const {
    return result == WriteResult::Refused && error == ErrorChangedElsewhere;
}

SaveTry saveSettlingConflict(platform::Ui& ui, const QString& what, QObject* parent,
                             const std::function<SaveTry(bool overwrite)>& save, bool& reload) {
    reload = false;
    const SaveTry tried = save(false);
    if (!tried.changedElsewhere())
        return tried;
    switch (askAboutConflict(ui, what, parent)) {
        case ConflictChoice::Reload:
            reload = true;
            return tried;
        case ConflictChoice::Overwrite:
            return save(true);
        case ConflictChoice::KeepEditing:
            return tried;
    }
    return tried;
}

}  // namespace tempolatch
