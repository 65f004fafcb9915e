#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

#include "store/StoreTransaction.h"
#include "transfer/ImportedRows.h"

namespace tempolatch {

class RecordStore;

// The trackers whose exports are read.
enum class ImportFormat { Toggl, Harvest, Timewarrior, Kimai, ICalendar };

// The entries of a tracker's export, read as that tracker writes it.
ImportRead readExport(ImportFormat format, const QByteArray& bytes, EntryStatus defaultStatus);

// What an import of a file would do, worked out before anything is
// written: the entries it adds, those the store holds already (the same
// client, project, task, start and duration), the clients and projects it
// creates, and the rows it cannot read. It writes only when every row is
// read.
struct ImportPlan {
    QList<ImportedRow> toAdd;
    int alreadyStored = 0;
    QStringList newClients;
    QStringList newProjects;  // "Client / Project"
    QList<ImportProblem> problems;
    QList<ImportProblem> notices;

    bool canImport() const { return problems.isEmpty(); }
};

// Reads the export `path` of that tracker (refusing files over
// MaxImportFileBytes) and plans its import into the store; new entries get
// `defaultStatus` where the file does not say.
ImportPlan planImport(RecordStore& store, ImportFormat format, const QString& path,
                      EntryStatus defaultStatus);
ImportPlan planImportOf(RecordStore& store, ImportRead read);

// Adds the plan's entries with their clients, projects and tasks in one
// transaction: all of them or, on any refused write, none. `noteBytes`
// makes the note of a text. Nothing is written for a plan that cannot be
// imported (Refused).
StoreOutcome runImport(RecordStore& store, const ImportPlan& plan,
                       const std::function<QByteArray(const QString&)>& noteBytes);

// The preview: the counts, the clients and projects to create, the first
// `firstRows` entries, the notices and every row that cannot be read with
// its reason.
QString importPreview(const ImportPlan& plan, int firstRows = 5);
// "Line 3: reason", or the reason alone for the whole file.
QString importLineText(const ImportProblem& problem);

}  // namespace tempolatch
