#include "settings/BackgroundWork.h"

#include "platform/Profile.h"
#include "platform/Registry.h"
#include "platform/Ui.h"
#include "platform/WorkProgress.h"
#include "settings/Context.h"
#include "settings/Settings.h"
#include "store/RecordStore.h"
#include "widgets/ProgressDialog.h"

namespace tempolatch {

namespace {

// What the work's thread opens for itself, and closes before it ends.
struct WorkerContext {
    explicit WorkerContext(const Settings& settingsCopy) : settings(settingsCopy) {}

    RecordStore store;
    Settings settings;
    platform::ConsoleUi ui;
    platform::Registry registry{platform::Profile::registryPath()};
    Context context{store, settings, ui, registry};
};

}  // namespace

bool runInBackground(Context& context, QWidget* parent, const QString& text,
                     const std::function<bool(Context& worker)>& work, bool* cancelled) {
    platform::WorkProgress progress;
    bool ok = false;
    // Copied here: the window may change its own while the work runs.
    const Settings settings = context.settings;
    ProgressDialog dialog(text, parent);
    const bool finished = dialog.runInBackground(progress, [&] {
        const platform::WorkProgress::Scope scope(progress);
        WorkerContext worker(settings);
        ok = worker.store.openAll() && work(worker.context);
    });
    if (cancelled)
        *cancelled = !finished && !ok;
    context.store.reopenRecreated();
    return ok;
}

std::optional<int> resultInBackground(Context& context, QWidget* parent, const QString& text,
                                      const std::function<int(Context& worker)>& work,
                                      int success) {
    int result = success;
    bool cancelled = false;
    runInBackground(
        context, parent, text,
        [&](Context& worker) {
            result = work(worker);
            return result == success;
        },
        &cancelled);
    if (cancelled)
        return std::nullopt;
    return result;
}

}  // namespace tempolatch
