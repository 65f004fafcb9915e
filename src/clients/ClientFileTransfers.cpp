#include "clients/ClientFileTransfers.h"

#include <QDir>

#include "clients/ImportChoiceDialog.h"
#include "platform/FileProblem.h"
#include "platform/StringTable.h"
#include "platform/Ui.h"
#include "settings/BackgroundWork.h"
#include "settings/Context.h"
#include "transfer/ClientStructureOperation.h"
#include "transfer/ListFile.h"
#include "widgets/SaveFileName.h"
#include "widgets/WaitCursor.h"

namespace tempolatch {

using platform::MessageIcon;

namespace {
const QString kWritingFile = QStringLiteral("Writing the file...");
}

ClientTransfers clientFileTransfers(Context& context) {
    ClientTransfers transfers;
    transfers.openListFile = [&context](QWidget* parent) {
        return openClientListFile(context, parent);
    };
    transfers.importStructureFile = [&context](QWidget* parent) {
        return importClientStructure(context, parent);
    };
    transfers.exportChoices = [&context](QWidget* parent, const QStringList& levelNames) {
        runExportChoices(context, parent, levelNames);
    };
    return transfers;
}

bool exportClientStructure(Context& context, QWidget* parent) {
    const QString filter = resourceString(str::ClientStructureFilter);
    const QString path = chooseOutputFile(context.ui, filter, parent).path;
    if (path.isEmpty())
        return false;
    QString error;
    bool cancelled = false;
    const bool ok = runInBackground(
        context, parent, kWritingFile,
        [&](Context& worker) {
            ClientStructureOperation operation(worker.store);
            const bool written = operation.exportTo(path);
            error = operation.errorString();
            return written;
        },
        &cancelled);
    if (cancelled)
        return false;
    if (!ok)
        context.ui.message(
            platform::writeFailureMessage(resourceString(str::BackupFailed), path, error),
            MessageIcon::Stop, parent);
    else
        context.ui.noticeDone(QStringLiteral("Client structure written to"), path);
    return ok;
}

bool importClientStructure(Context& context, QWidget* parent) {
    const QString path = context.ui.openFile(QString(), resourceString(str::ClientStructureFilter),
                                             QString(), parent);
    if (path.isEmpty())
        return false;
    return importClientStructureFrom(context, parent, path);
}

bool importClientStructureFrom(Context& context, QWidget* parent, const QString& path) {
    const std::optional<int> read = resultInBackground(
        context, parent, QStringLiteral("Reading the client structure..."),
        [&](Context& worker) { return ClientStructureOperation(worker.store).importFrom(path); },
        BackupOperation::RestoreOk);
    if (!read)
        return false;
    const int result = *read;
    const ImportMessage message = importResultMessage(result);
    if (!message.text.isEmpty())
        context.ui.message(message.text, message.icon, parent);
    else if (result == BackupOperation::RestoreOk)
        context.ui.noticeDone(QStringLiteral("Client structure read from"), path);
    return result == BackupOperation::RestoreOk;
}

ClientTransfers::ListFile openClientListFile(Context& context, QWidget* parent) {
    using Status = ClientTransfers::ListFile::Status;
    const QString path =
        context.ui.openFile(QString(), resourceString(str::ListFileFilter), QString(), parent);
    if (path.isEmpty())
        return {Status::Cancelled, {}, {}};
    WaitCursor wait;
    ListFileProblem problem = ListFileProblem::Unreadable;
    std::optional<QStringList> names = readListFile(path, &problem);
    if (!names)
        return {Status::Failed,
                {},
                problem == ListFileProblem::NotText ? notTextMessage(path) : QString()};
    return {Status::Read, std::move(*names), {}};
}

bool exportClientList(Context& context, QWidget* parent, const QStringList& names) {
    const QString filter = resourceString(str::ListExportFilter);
    const auto chosen = chooseOutputFile(context.ui, filter, parent);
    const QString& path = chosen.path;
    if (path.isEmpty())
        return false;
    const auto encoding = chosen.filter == 2 ? ListFileEncoding::Utf16 : ListFileEncoding::EightBit;
    bool cancelled = false;
    const bool ok = runInBackground(
        context, parent, kWritingFile, [&](Context&) { return exportList(path, names, encoding); },
        &cancelled);
    if (cancelled)
        return false;
    // A list that did not reach its file is worth a word, as a failed
    // export of the structure is.
    if (!ok)
        context.ui.message(QStringLiteral("The list could not be written to %1.")
                               .arg(QDir::toNativeSeparators(path)),
                           MessageIcon::Stop, parent);
    else
        context.ui.noticeDone(QStringLiteral("List written to"), path,
                              names.size() == 1 ? QStringLiteral("1 name")
                                                : QStringLiteral("%1 names").arg(names.size()));
    return ok;
}

void runExportChoices(Context& context, QWidget* parent, const QStringList& levelNames) {
    ExportChoiceDialog dialog(parent);
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (dialog.choice() == ExportChoice::StructureFile)
        exportClientStructure(context, parent);
    else
        exportClientList(context, parent, levelNames);
}

}  // namespace tempolatch
