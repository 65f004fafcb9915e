#include "clients/ClientFileTransfers.h"

#include <QFileInfo>

#include "clients/ImportChoiceDialog.h"
#include "platform/StringTable.h"
#include "platform/Ui.h"
#include "settings/Context.h"
#include "transfer/ClientStructureOperation.h"
#include "widgets/WaitCursor.h"

namespace tempolatch {

using platform::MessageIcon;

ClientTransfers clientFileTransfers(Context& context) {
    ClientTransfers transfers;
    transfers.importStructureFile = [&context](QWidget* parent) {
        return importClientStructure(context, parent);
    };
    transfers.exportChoices = [&context](QWidget* parent, const QStringList& levelNames) {
        runExportChoices(context, parent, levelNames);
    };
    return transfers;
}

bool exportClientStructure(Context& context, QWidget* parent) {
    QString path = context.ui.saveFile(QString(), resourceString(str::ClientStructureFilter),
                                       QString(), parent);
    if (path.isEmpty())
        return false;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".tlc");
    bool ok = false;
    {
        WaitCursor wait;
        ok = ClientStructureOperation(context.store).exportTo(path);
    }
    if (!ok)
        context.ui.message(resourceString(str::BackupFailed), MessageIcon::Stop, parent);
    return ok;
}

bool importClientStructure(Context& context, QWidget* parent) {
    const QString path = context.ui.openFile(QString(), resourceString(str::ClientStructureFilter),
                                             QString(), parent);
    if (path.isEmpty())
        return false;
    int result = BackupOperation::RestoreFailed;
    {
        WaitCursor wait;
        result = ClientStructureOperation(context.store).importFrom(path);
    }
    // A file of another kind is passed over without a word.
    const QString text = restoreResultText(result);
    if (!text.isEmpty())
        context.ui.message(text, MessageIcon::Stop, parent);
    return result == BackupOperation::RestoreOk;
}

void runExportChoices(Context& context, QWidget* parent, const QStringList&) {
    ExportChoiceDialog dialog(parent);
    dialog.setAvailable(ExportChoice::List, false);
    dialog.setNote(QStringLiteral("Exporting lists to text files is not available yet."));
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (dialog.choice() == ExportChoice::StructureFile)
        exportClientStructure(context, parent);
}

}  // namespace tempolatch
