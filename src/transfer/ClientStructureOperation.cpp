#include "transfer/ClientStructureOperation.h"

#include "platform/compound/CompoundFile.h"
#include "transfer/BackupFile.h"

namespace tempolatch {

bool ClientStructureOperation::writeFileKind(platform::CompoundStream& stream) {
    return stream.writeUInt32(quint32(BackupFile::Kind::ClientStructure));
}

bool ClientStructureOperation::acceptFileKind(quint32 kind) const {
    return kind == quint32(BackupFile::Kind::ClientStructure);
}

bool ClientStructureOperation::writeContent(platform::CompoundStorage& root) {
    return writeClients(root);
}

quint32 ClientStructureOperation::oldestReadable() const {
    return BackupFile::CurrentVersion;
}

bool ClientStructureOperation::readContent(const platform::CompoundStorage& root,
                                           quint32 dataVersion) {
    return readClientsWithoutRates(root, dataVersion);
}

ImportMessage importResultMessage(int result) {
    if (result == ClientStructureOperation::RestoreKindRefused)
        return {QStringLiteral("Not a client structure file. Nothing was added: a backup is read "
                               "with Restore Backup..., an archive with Load Archive...."),
                platform::MessageIcon::Warning};
    return {restoreResultText(result), platform::MessageIcon::Stop};
}

}  // namespace tempolatch
