#pragma once

#include <QByteArray>
#include <QString>
#include <functional>

#include "transfer/TimeImport.h"

class QWidget;

namespace tempolatch {

struct Context;
class CommandTable;

namespace cmd {
// Tools > Import: the time entries of other trackers.
inline constexpr int ImportToggl = 40291;
inline constexpr int ImportTimewarrior = 40292;
inline constexpr int ImportHarvest = 40293;
inline constexpr int ImportKimai = 40294;
inline constexpr int ImportICalendar = 40295;
}  // namespace cmd

class Settings;

// The note of an imported entry's text.
QByteArray importedNote(const QString& text);
// The status of imported entries whose file does not say: that of new entries.
EntryStatus importedStatus(const Settings& settings);

// Shows the preview of an import; true when the user chose Import.
using ImportConfirm =
    std::function<bool(const ImportPlan& plan, const QString& path, QWidget* parent)>;
bool confirmInPreviewDialog(const ImportPlan& plan, const QString& path, QWidget* parent);

// Tools > Import: asks for the tracker's export file, shows the preview,
// and imports on the user's word. True when the data changed.
bool importTimeEntries(Context& context, QWidget* parent, ImportFormat format,
                       const ImportConfirm& confirm = confirmInPreviewDialog);

// Registers Import > "Toggl Track CSV...", "Harvest CSV...", "Timewarrior
// JSON...", "Kimai CSV or JSON..." and "iCalendar (.ics)..."; `changed` runs
// after entries were added.
void registerImportCommands(CommandTable& table, Context& context, QWidget* parent,
                            std::function<void()> changed);

}  // namespace tempolatch
