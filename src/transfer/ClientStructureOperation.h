#pragma once

#include "platform/Ui.h"
#include "transfer/BackupOperation.h"

namespace tempolatch {

// Client structure files (.tlc): "DataVersion" (300, kind 4) and "Clients"
// exactly as a backup has it. Importing merges the clients by name and adds
// the projects and tasks, tasks and contacts they lack; rates stay out.
class ClientStructureOperation : public BackupOperation {
public:
    using BackupOperation::BackupOperation;

    bool writeFileKind(platform::CompoundStream& stream) override;
    bool acceptFileKind(quint32 kind) const override;

    // Writes the file; it appears at `path` only when complete.
    bool exportTo(const QString& path) { return backup(path); }
    // A RestoreResult: 2 for a data version below 300, 3 for another kind
    // of file. Nothing is added unless all is.
    int importFrom(const QString& path) { return restore(path); }

protected:
    bool writeContent(platform::CompoundStorage& root) override;
    quint32 oldestReadable() const override;
    bool readContent(const platform::CompoundStorage& root, quint32 dataVersion) override;
};

// What an import's result is reported with: nothing for success, the
// restore's messages for a damaged or too old file, and for a file of
// another kind (a backup, an archive) why nothing was added.
struct ImportMessage {
    QString text;
    platform::MessageIcon icon = platform::MessageIcon::Stop;
};
ImportMessage importResultMessage(int result);

}  // namespace tempolatch
