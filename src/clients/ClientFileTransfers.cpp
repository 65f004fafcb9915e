#include "clients/ClientFileTransfers.h"

#include <QDir>

#include "clients/ImportChoiceDialog.h"
#include "platform/FileProblem.h"
#include "platform/StringTable.h"
#include "platform/Ui.h"
#include "settings/Context.h"
#include "transfer/ClientStructureOperation.h"
#include "transfer/ListFile.h"
#include "widgets/SaveFileName.h"
#include "widgets/WaitCursor.h"

namespace tempolatch {

using platform::MessageIcon;

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
    bool ok = false;
    ClientStructureOperation operation(context.store);
    {
        WaitCursor wait;
        ok = operation.exportTo(path);
    }
    if (!ok)
        context.ui.message(platform::writeFailureMessage(resourceString(str::BackupFailed), path,
                                                         operation.errorString()),
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
    int result = BackupOperation::RestoreFailed;
    {
        WaitCursor wait;
        result = ClientStructureOperation(context.store).importFrom(path);
    }
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
    bool ok = false;
    {
        WaitCursor wait;
        ok = exportList(path, names, encoding);
    }
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
